#pragma once

#include <memory>

namespace fw {

// Where the clock gets its readings: the wall time and a monotonic time, both
// in seconds. Tests install their own.
class ClockSource {
 public:
  virtual ~ClockSource() = default;
  virtual double WallSeconds() = 0;
  virtual double MonotonicSeconds() = 0;
};

// A clock source that moves only when told, for tests and benchmarks.
class ManualClockSource : public ClockSource {
 public:
  double wall = 1'700'000'000.0;
  double monotonic = 1000.0;
  double WallSeconds() override { return wall; }
  double MonotonicSeconds() override { return monotonic; }
  // Time passes: both readings move on.
  void Advance(double seconds) {
    wall += seconds;
    monotonic += seconds;
  }
};

// Installs the clock source (nil restores the system's). The clock reads the
// wall time once, then runs on the monotonic time, so setting the system
// clock back never makes it go back.
void SetClockSource(std::shared_ptr<ClockSource> source);

// A moment: the current time when made.
class Date {
 public:
  Date();
  double TotalSeconds() const { return totalSeconds_; }

 private:
  double totalSeconds_;
};

}  // namespace fw
