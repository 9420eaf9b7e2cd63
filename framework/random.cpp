#include "framework/random.h"

#include <utility>

namespace fw {
namespace {

uint64_t EntropySeed() {
  std::random_device device;
  return (static_cast<uint64_t>(device()) << 32) ^ device();
}

std::function<uint64_t()>& SeedSource() {
  static std::function<uint64_t()> source = EntropySeed;
  return source;
}

}  // namespace

void SetRandomSeedSource(std::function<uint64_t()> source) {
  SeedSource() = source ? std::move(source) : EntropySeed;
}

Random::Random() : engine_(SeedSource()()) {}

int64_t Random::InRange(int64_t low, int64_t high) {
  if (high < low) std::swap(low, high);
  return std::uniform_int_distribution<int64_t>(low, high)(engine_);
}

}  // namespace fw
