#pragma once

// Fixtures shared by the tests: a clock the test moves, ticks the test
// delivers, a seeded random source, and the game window opened as the
// program opens it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/picture_store.h"
#include "app/startup.h"
#include "framework/date.h"
#include "framework/platform.h"
#include "framework/random.h"
#include "framework/runtime.h"
#include "game/karuta_window.h"
#include "hang.h"

namespace karuta::testing {

// What RunEventLoop gives when nothing ended the loop within its deadline.
inline constexpr int kStillRunning = 99;

// Runs the application's event loop, as the program does, doing `act` once it
// runs; the loop's exit code, or kStillRunning after the deadline.
inline int RunEventLoop(const std::function<void()>& act, int deadlineMs = kHangMs) {
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(kStillRunning); });
  deadline.start(deadlineMs);
  QTimer::singleShot(0, act);
  return QApplication::exec();
}

// Wall and monotonic readings the test sets; the clock reads the wall once.
using FakeClock = fw::ManualClockSource;

// The runtime readied with the program's modules, a fake clock, timers that
// tick only when the test fires them, and fixed seeds; torn down with the
// program's finalisers.
class RuntimeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = std::make_shared<FakeClock>();
    fw::SetClockSource(clock);
    fw::HoldPlatformTimers(true);
    fw::SetRandomSeedSource([n = uint64_t{1}]() mutable { return n++; });
    ResetPictureStore();
    fw::RuntimeInit(ProgramModules());
    fw::RuntimePerformInitializers();
    unhandledBefore = fw::UnhandledExceptionCount();
  }

  void TearDown() override {
    fw::RuntimePerformFinalizers();
    fw::HoldPlatformTimers(false);
    fw::SetClockSource(nullptr);
    fw::SetRandomSeedSource(nullptr);
    SetPictureOpener(nullptr);
    ResetPictureStore();
  }

  int NewUnhandledExceptions() const { return fw::UnhandledExceptionCount() - unhandledBefore; }

  std::shared_ptr<FakeClock> clock;
  int unhandledBefore = 0;
};

// The game window opened as start-up opens it.
class GameFixture : public RuntimeFixture {
 protected:
  void SetUp() override {
    RuntimeFixture::SetUp();
    window = KarutaWindow();
  }
  void TearDown() override {
    window.reset();
    RuntimeFixture::TearDown();
  }

  QWidget* WidgetOf(const fw::Ref<fw::Canvas>& canvas) { return fw::WidgetOf(*canvas); }
  void ClickCard(int64_t i) { QTest::mouseClick(WidgetOf(window->FudaCanvas(i)), Qt::LeftButton, {}, QPoint(35, 80)); }
  void PressStart() { QTest::mouseClick(fw::WidgetOf(*window->StartButton()), Qt::LeftButton); }
  void Tick() { window->MyTimer()->Fire(); }
  // The place of the question's card in the current deal.
  int64_t QuestionPlace() const {
    for (int64_t i = 0; i < 10; ++i)
      if (window->FudaNum[i] == window->OdaiNum) return i;
    return -1;
  }
  int64_t WrongPlace() const { return (QuestionPlace() + 1) % 10; }

  fw::Ref<class KarutaWindow> window;
};

}  // namespace karuta::testing
