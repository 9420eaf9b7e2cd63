#pragma once

#include <cstdint>
#include <functional>
#include <random>

namespace fw {

// Where each new generator takes its seed; tests install their own.
// An empty function restores the system's entropy source.
void SetRandomSeedSource(std::function<uint64_t()> source);

class Random {
 public:
  Random();
  // An integer between low and high, both included.
  int64_t InRange(int64_t low, int64_t high);

 private:
  std::mt19937_64 engine_;
};

}  // namespace fw
