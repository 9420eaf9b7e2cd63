#include "framework/date.h"

#include <chrono>
#include <optional>

namespace fw {
namespace {

class SystemClockSource : public ClockSource {
 public:
  double WallSeconds() override {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
  }
  double MonotonicSeconds() override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  }
};

struct Clock {
  std::shared_ptr<ClockSource> source = std::make_shared<SystemClockSource>();
  // Wall and monotonic readings taken together at the first reading.
  std::optional<std::pair<double, double>> origin;

  double Now() {
    const double monotonic = source->MonotonicSeconds();
    if (!origin) origin.emplace(source->WallSeconds(), monotonic);
    return origin->first + (monotonic - origin->second);
  }
};

Clock& TheClock() {
  static Clock clock;
  return clock;
}

}  // namespace

void SetClockSource(std::shared_ptr<ClockSource> source) {
  Clock& clock = TheClock();
  clock.source = source ? std::move(source) : std::make_shared<SystemClockSource>();
  clock.origin.reset();
}

Date::Date() : totalSeconds_(TheClock().Now()) {}

}  // namespace fw
