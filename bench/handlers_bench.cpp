// Costs of the game window's handlers, driven as the framework drives them:
// Start through PushButton::Push (the button's click), a tick through
// Timer::Fire, a card click as a mouse press and release on the card's widget.
//
// The window is shown offscreen, on a fake clock and fixed seeds, with its
// platform timer stopped so that ticks come only from Fire. Each call is timed
// by itself. Before it, outside the timing, the event loop's work is done:
// queued repaints and deferred deletes. So a figure holds the painting the
// framework does synchronously (Start repaints MyCanvas immediately) and none
// of the queued repaints, which RepaintAfterStart measures on its own.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "app/picture_store.h"
#include "app/startup.h"
#include "framework/date.h"
#include "framework/platform.h"
#include "framework/random.h"
#include "framework/runtime.h"
#include "framework/text.h"
#include "game/karuta_window.h"
#include "game/message_window.h"
#include "game/rules.h"

namespace {

// The class, where the function of the same name hides it.
using GameWindow = class karuta::KarutaWindow;

using FakeClock = fw::ManualClockSource;

std::shared_ptr<FakeClock> fakeClock;
fw::Ref<GameWindow> window;

// Times each call alone; setup runs untimed before it.
template <class Setup, class Call>
void Measure(benchmark::State& state, Setup setup, Call call) {
  double worst = 0;
  for (auto _ : state) {
    setup();
    const auto begin = std::chrono::steady_clock::now();
    call();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    state.SetIterationTime(seconds);
    worst = std::max(worst, seconds);
  }
  state.counters["worst_us"] = worst * 1e6;
}

// What the event loop does between two inputs.
void Settle() {
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void PressStart() { window->StartButton()->Push(); }
void Tick() { window->MyTimer()->Fire(); }

void ClickCard(int64_t place) {
  QTest::mouseClick(fw::WidgetOf(*window->FudaCanvas(place)), Qt::LeftButton, {}, QPoint(35, 80));
}

int64_t QuestionPlace() {
  for (int64_t i = 0; i < karuta::kCardsPerRound; ++i)
    if (window->FudaNum[i] == window->OdaiNum) return i;
  return 0;
}

// Keeps the next Start at or before round lastRound, so that it deals rather
// than ends the game.
void NextRoundAtMost(int64_t lastRound) {
  if (window->Kaisu >= lastRound) window->Kaisu = 0;
}

// A round dealt and a few characters of its poem shown.
void OpenRound(int64_t lastRound) {
  NextRoundAtMost(lastRound);
  PressStart();
  Settle();
  fakeClock->Advance(5.0);
  Tick();
  Settle();
}

// Every round dealt once, so that every card picture is in the store.
void CacheAllPictures() {
  for (int64_t round = 0; round < karuta::kRoundsPerGame; ++round) {
    NextRoundAtMost(karuta::kRoundsPerGame);
    PressStart();
  }
  Settle();
}

void CloseMessageWindow() {
  if (auto message = fw::GetImplicitWindow(karuta::MessageWindow::kClassName)) message->Close();
}

void StartPress(benchmark::State& state) {
  CacheAllPictures();
  Measure(
      state,
      [] {
        Settle();
        NextRoundAtMost(karuta::kRoundsPerGame);
        fakeClock->Advance(3.0);
      },
      PressStart);
}

// The first Start of a run: round 1, its ten pictures read and decoded.
void FirstStartPress(benchmark::State& state) {
  Measure(
      state,
      [] {
        for (int64_t i = 0; i < karuta::kCardsPerRound; ++i) window->FudaCanvas(i)->Backdrop(karuta::Green());
        Settle();
        karuta::ResetPictureStore();
        window->Kaisu = 0;
      },
      PressStart);
}

// A tick that shows one more character of the poem.
void RevealTick(benchmark::State& state) {
  CacheAllPictures();
  Measure(
      state,
      [] {
        Settle();
        const bool revealed = fw::Len(window->OdaiField()->Text()) >= fw::Len(window->OdaiString.at(window->OdaiNum));
        if (!window->GameStarted || revealed) {
          NextRoundAtMost(karuta::kRoundsPerGame);
          PressStart();
          Settle();
        }
        fakeClock->Advance(1.0);
      },
      Tick);
}

// A right answer in rounds 1 to 9.
void CardClick(benchmark::State& state) {
  CacheAllPictures();
  Measure(
      state, [] { OpenRound(karuta::kRoundsPerGame - 1); }, [] { ClickCard(QuestionPlace()); });
}

// A right answer in round 10, which ends the game and opens the message window.
void LastCardClick(benchmark::State& state) {
  CacheAllPictures();
  Measure(
      state,
      [] {
        CloseMessageWindow();
        Settle();
        window->Kaisu = karuta::kRoundsPerGame - 1;
        OpenRound(karuta::kRoundsPerGame);
      },
      [] { ClickCard(QuestionPlace()); });
  CloseMessageWindow();
  Settle();
}

// The queued repaint after a deal: ten cards and the cleared poem.
void RepaintAfterStart(benchmark::State& state) {
  CacheAllPictures();
  Measure(
      state,
      [] {
        Settle();
        NextRoundAtMost(karuta::kRoundsPerGame);
        PressStart();
      },
      Settle);
}

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

void Register(const char* name, void (*function)(benchmark::State&)) {
  benchmark::RegisterBenchmark(name, function)
      ->UseManualTime()
      ->Unit(benchmark::kMicrosecond)
      ->ComputeStatistics("min", Min)
      ->ComputeStatistics("max", Max);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QApplication app(argc, argv);
  fw::ConfigurePlatformApp();

  fakeClock = std::make_shared<FakeClock>();
  fw::SetClockSource(fakeClock);
  fw::SetRandomSeedSource([n = uint64_t{1}]() mutable { return n++; });
  fw::RuntimeInit(karuta::ProgramModules());
  fw::RuntimePerformInitializers();
  window = karuta::KarutaWindow();
  window->MyTimer()->Enabled(false);
  if (!QTest::qWaitForWindowExposed(window->Platform().frame)) return 1;
  Settle();

  Register("StartPress", StartPress);
  Register("FirstStartPress", FirstStartPress);
  Register("RevealTick", RevealTick);
  Register("CardClick", CardClick);
  Register("LastCardClick", LastCardClick);
  Register("RepaintAfterStart", RepaintAfterStart);
  benchmark::RunSpecifiedBenchmarks();

  window.reset();
  fw::RuntimePerformFinalizers();
  fw::SetClockSource(nullptr);
  fw::SetRandomSeedSource(nullptr);
  benchmark::Shutdown();
  return fw::UnhandledExceptionCount() == 0 ? 0 : 1;
}
