// The reveal cadence of the game window on the system clock and the real
// 1000 ms timer: at every tick, how many characters of the poem appeared since
// the previous tick of the same round. Start is pressed again, at a random
// moment of the following second, whenever the poem is fully shown.
//
//   cadence_probe [ticks] [press delay in ms after the completing tick]
//
// Without a delay the press falls at a random phase of the timer; 0 presses
// inside the completing tick, right after it.

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/startup.h"
#include "framework/text.h"
#include "game/karuta_window.h"

namespace {

using Clock = std::chrono::steady_clock;
// The class, where the function of the same name hides it.
using GameWindow = class karuta::KarutaWindow;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Range {
  double median = 0, min = 0, max = 0;
};

Range RangeOf(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

struct Probe {
  int wantedTicks = 300;
  int pressDelayMs = -1;  // a random phase
  std::mt19937 random{20240601};
  std::weak_ptr<GameWindow> window;

  int ticks = 0;
  std::optional<Clock::time_point> lastTick;
  std::vector<double> intervalsMs;

  bool roundOpen = false;
  int rounds = 0;
  int tickOfRound = 0;
  int64_t shown = 0;
  Clock::time_point pressedAt;

  std::map<int64_t, int> firstTickAdded, laterTickAdded;
  std::vector<double> pressToFirstTickMs;
  std::vector<double> laterMarginMs;  // distance of a later tick from a whole second since Start
  std::vector<std::string> irregular;
};

Probe probe;

void Press() {
  auto window = probe.window.lock();
  if (!window) return;
  probe.pressedAt = Clock::now();
  window->StartButton()->Push();
  probe.roundOpen = true;
  probe.tickOfRound = 0;
  probe.shown = 0;
  ++probe.rounds;
}

void SchedulePress() {
  const int delay =
      probe.pressDelayMs >= 0 ? probe.pressDelayMs : std::uniform_int_distribution<int>(0, 999)(probe.random);
  if (delay == 0)
    Press();
  else
    QTimer::singleShot(delay, Qt::PreciseTimer, qApp, Press);
}

void Record(GameWindow& window, Clock::time_point at) {
  const int64_t now = fw::Len(window.OdaiField()->Text());
  const int64_t added = now - probe.shown;
  const double seconds = window.MyTime;
  if (probe.tickOfRound == 0) {
    ++probe.firstTickAdded[added];
    probe.pressToFirstTickMs.push_back(Ms(at - probe.pressedAt));
  } else {
    ++probe.laterTickAdded[added];
    const double fraction = seconds - std::floor(seconds);
    probe.laterMarginMs.push_back(1000 * std::min(fraction, 1 - fraction));
    if (added != 1) {
      char line[160];
      std::snprintf(line, sizeof line, "  tick %d, round %d, tick %d of the round: %lld new at %.4f s since Start",
                    probe.ticks, probe.rounds, probe.tickOfRound + 1, static_cast<long long>(added), seconds);
      probe.irregular.push_back(line);
    }
  }
  probe.shown = now;
  ++probe.tickOfRound;
  if (now >= fw::Len(window.OdaiString.at(window.OdaiNum))) {
    probe.roundOpen = false;
    SchedulePress();
  }
}

// Every tick of the game's timer comes here first, then goes to the game's handler.
void OnTick(fw::Timer& timer) {
  const Clock::time_point at = Clock::now();
  if (probe.lastTick) probe.intervalsMs.push_back(Ms(at - *probe.lastTick));
  probe.lastTick = at;
  auto window = probe.window.lock();
  if (!window) return;
  window->MyTimer_Action(timer);
  ++probe.ticks;
  if (probe.roundOpen) Record(*window, at);
  if (probe.ticks >= probe.wantedTicks) QCoreApplication::quit();
}

void OpenAndWatch() {
  auto window = karuta::KarutaWindow();
  probe.window = window;
  window->MyTimer()->Action.AddEventHandler(OnTick);
  QTimer::singleShot(std::uniform_int_distribution<int>(200, 1199)(probe.random), Qt::PreciseTimer, qApp, Press);
}

std::string Histogram(const std::map<int64_t, int>& counts) {
  std::string text;
  for (const auto& [added, n] : counts) text += " " + std::to_string(added) + " new: " + std::to_string(n) + ";";
  return text.empty() ? " none" : text;
}

int Count(const std::map<int64_t, int>& counts, bool (*irregular)(int64_t)) {
  int n = 0;
  for (const auto& [added, count] : counts)
    if (irregular(added)) n += count;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) probe.wantedTicks = std::max(2, std::atoi(argv[1]));
  if (argc > 2) probe.pressDelayMs = std::max(0, std::atoi(argv[2]));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

  karuta::StartupSteps().openGameWindow = OpenAndWatch;
  const int code = karuta::EntryPoint();

  const auto none = [](int64_t added) { return added == 0; };
  const auto twoNew = [](int64_t added) { return added == 2; };
  const auto other = [](int64_t added) { return added != 0 && added != 1 && added != 2; };
  const Range interval = RangeOf(probe.intervalsMs);
  const Range phase = RangeOf(probe.pressToFirstTickMs);
  const Range margin = RangeOf(probe.laterMarginMs);
  const std::string press =
      probe.pressDelayMs < 0 ? "at a random phase" : std::to_string(probe.pressDelayMs) + " ms after a tick";
  std::printf("cadence: %d ticks, %d rounds, Start pressed %s\n", probe.ticks, probe.rounds, press.c_str());
  std::printf("tick interval ms: median %.3f (%.3f-%.3f) over %zu intervals\n", interval.median, interval.min,
              interval.max, probe.intervalsMs.size());
  std::printf("Start to first tick ms: median %.1f (%.1f-%.1f)\n", phase.median, phase.min, phase.max);
  std::printf("first tick of a round:%s\n", Histogram(probe.firstTickAdded).c_str());
  std::printf("later ticks of a round:%s\n", Histogram(probe.laterTickAdded).c_str());
  std::printf("later tick to nearest whole second since Start, ms: median %.3f (%.3f-%.3f)\n", margin.median,
              margin.min, margin.max);
  const int firstNone = Count(probe.firstTickAdded, none), laterNone = Count(probe.laterTickAdded, none);
  const int two = Count(probe.firstTickAdded, twoNew) + Count(probe.laterTickAdded, twoNew);
  const int others = Count(probe.firstTickAdded, other) + Count(probe.laterTickAdded, other);
  std::printf("open-round ticks with none: %d (first ticks %d, later ticks %d); with two: %d; other: %d\n",
              firstNone + laterNone, firstNone, laterNone, two, others);
  const auto verdict = [](bool met) { return met ? "met" : "NOT met"; };
  std::printf("target none: %s; after the first tick of each round: %s\n",
              verdict(firstNone + laterNone + two + others == 0), verdict(laterNone + two + others == 0));
  for (const std::string& line : probe.irregular) std::printf("%s\n", line.c_str());
  return code;
}
