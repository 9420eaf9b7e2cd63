// Rounds, scoring, the title ladder, game over and the message window.

#include <QElapsedTimer>
#include <QLabel>
#include <ostream>

#include "framework/text.h"
#include "game/message_window.h"
#include "game/rules.h"
#include "support.h"

namespace karuta {
namespace {

using testing::GameFixture;

// The platform timer behind a timer control.
QTimer& PlatformTimer(fw::Timer& timer) { return timer.Platform().timer; }

// Where a running timer's countdown stands after a change made some way into
// its period.
struct Countdown {
  int periodBefore = 0;
  int64_t waited = 0;       // ms into the period, at least, read before the change
  int remaining = 0;        // ms left, read after the change
  int64_t sinceChange = 0;  // ms from the change to that reading, at most
  bool running = false;

  // Still counting from the earlier start, or started afresh at the change
  // (2 ms for rounding). However slow the machine, the readings bound the
  // countdown from the side each check needs.
  bool KeptItsRhythm() const { return remaining <= periodBefore - waited + 2; }
  bool StartedAgain(int period) const { return remaining >= period - sinceChange - 2; }
};

std::ostream& operator<<(std::ostream& out, const Countdown& c) {
  return out << c.remaining << " ms left after a change " << c.waited << " ms into a " << c.periodBefore
             << " ms period";
}

// Starts the timer's period afresh, lets the event loop run a few tens of
// milliseconds and then makes the change. Where a slow machine let the
// timer fire meanwhile, which starts its period again, it tries again.
Countdown ChangeSomeWayIn(fw::Timer& timer, const std::function<void()>& change) {
  QTimer& platform = PlatformTimer(timer);
  int fired = 0;
  QObject counting;  // its connection ends with it
  QObject::connect(&platform, &QTimer::timeout, &counting, [&] { ++fired; });
  QElapsedTimer trying;
  trying.start();
  Countdown c;
  do {
    fired = 0;
    platform.start();
    QElapsedTimer since;
    since.start();
    QTest::qWait(50);
    c.periodBefore = platform.interval();
    c.waited = since.elapsed();
  } while (fired > 0 && trying.elapsed() < testing::kHangMs);
  EXPECT_EQ(fired, 0) << "the timer fired during every wait of 50 ms into its period";
  QElapsedTimer since;
  since.start();
  change();
  c.remaining = platform.remainingTime();
  c.sinceChange = since.elapsed();
  c.running = platform.isActive();
  return c;
}

TEST(TimerTest, WhatAChangeDoesToARunningTimer) {
  enum class Rhythm { Kept, StartedAgain, Stopped };
  struct Case {
    const char* change;
    void (*apply)(fw::Timer&);
    Rhythm rhythm;
    int period;  // the period it runs with
  };
  const Case kCases[] = {
      {"the period it has", [](fw::Timer& t) { t.Period(1000); }, Rhythm::Kept, 1000},
      {"another period", [](fw::Timer& t) { t.Period(700); }, Rhythm::StartedAgain, 700},
      {"disabled", [](fw::Timer& t) { t.Enabled(false); }, Rhythm::Stopped, 0},
      {"disabled and enabled", [](fw::Timer& t) { t.Enabled(false), t.Enabled(true); }, Rhythm::StartedAgain, 1000},
      {"run mode off", [](fw::Timer& t) { t.RunMode(0); }, Rhythm::Stopped, 0},
      {"run mode off and repeating", [](fw::Timer& t) { t.RunMode(0), t.RunMode(2); }, Rhythm::StartedAgain, 1000},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.change);
    auto timer = std::make_shared<fw::Timer>();
    timer->RunMode(2);
    timer->Period(1000);
    timer->Enabled(true);
    const Countdown after = ChangeSomeWayIn(*timer, [&] { c.apply(*timer); });
    EXPECT_EQ(after.running, c.rhythm != Rhythm::Stopped) << "the platform timer runs";
    EXPECT_EQ(timer->IsRunning(), c.rhythm != Rhythm::Stopped) << "the timer says it runs";
    if (c.rhythm == Rhythm::Stopped) continue;
    EXPECT_EQ(PlatformTimer(*timer).interval(), c.period);
    EXPECT_FALSE(PlatformTimer(*timer).isSingleShot());
    if (c.rhythm == Rhythm::Kept) {
      EXPECT_TRUE(after.KeptItsRhythm()) << after << ": the countdown started again";
    } else {
      EXPECT_TRUE(after.StartedAgain(c.period)) << after << ": the countdown did not start again";
    }
  }
}

TEST(TimerTest, RunModeOneFiresOnceAndTurnsItselfOff) {
  auto timer = std::make_shared<fw::Timer>();
  int ticks = 0;
  timer->Action.AddEventHandler([&](fw::Timer&) { ++ticks; });
  timer->Period(5);
  timer->RunMode(1);
  timer->Enabled(true);
  EXPECT_TRUE(PlatformTimer(*timer).isSingleShot());
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, testing::kHangMs)) << "the timer never fired";
  QTest::qWait(30);
  EXPECT_EQ(ticks, 1) << "a one-shot timer fired again";
  EXPECT_EQ(timer->RunMode(), 0) << "a fired one-shot timer keeps its mode";
  EXPECT_FALSE(timer->IsRunning());
}

// Held, as the fixtures hold the game's timer, a timer keeps its state and
// ticks only when fired; released, it starts counting again when changed.
TEST(TimerTest, AHeldTimerTicksOnlyWhenFired) {
  fw::HoldPlatformTimers(true);
  auto timer = std::make_shared<fw::Timer>();
  int ticks = 0;
  timer->Action.AddEventHandler([&](fw::Timer&) { ++ticks; });
  timer->RunMode(2);
  timer->Period(5);
  timer->Enabled(true);
  EXPECT_TRUE(timer->IsRunning());
  EXPECT_FALSE(PlatformTimer(*timer).isActive()) << "a held timer counts";
  EXPECT_EQ(PlatformTimer(*timer).interval(), 5);
  timer->Fire();
  EXPECT_EQ(ticks, 1);
  fw::HoldPlatformTimers(false);
  timer->Enabled(false);
  timer->Enabled(true);
  EXPECT_TRUE(PlatformTimer(*timer).isActive()) << "a released timer does not count";
}

TEST(RulesTest, PointsOfARightAnswerByTime) {
  struct Case {
    double seconds;
    int64_t points;
  };
  for (const Case& c : {Case{0.0, 20}, Case{0.5, 19}, Case{1.0, 19}, Case{5.3, 14}, Case{19.0, 1}, Case{19.5, 0},
                        Case{20.5, 0}, Case{21.0, -1}, Case{21.5, -1}, Case{30.2, -10}})
    EXPECT_EQ(PointsForTime(c.seconds), c.points) << c.seconds;
}

TEST(RulesTest, TitleLadder) {
  struct Case {
    int64_t total;
    const char* title;
  };
  for (const Case& c : {Case{170, "大歌聖"}, Case{500, "大歌聖"}, Case{169, "歌聖"}, Case{160, "歌聖"},
                        Case{150, "六歌仙"}, Case{140, "三十六歌仙"}, Case{130, "左大臣"}, Case{120, "右大臣"},
                        Case{110, "大納言"}, Case{109, "中納言"}, Case{80, "中納言"}, Case{79, "さきもり"},
                        Case{40, "さきもり"}, Case{39, "詠み人知らず"}, Case{0, "詠み人知らず"},
                        Case{-35, "詠み人知らず"}, Case{INT64_MIN, "詠み人知らず"}})
    EXPECT_EQ(TitleForTotal(c.total), c.title) << c.total;
}

TEST(RulesTest, GameOverMessageIsThreeLinesJoinedByCarriageReturns) {
  EXPECT_EQ(GameOverMessage(-5, "詠み人知らず"),
            "ゲーム終了です。\rあなたの総得点は-5です。\rあなたの称号は詠み人知らずです。");
}

TEST(RulesTest, TruncationSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(Truncate(2.9), 2);
  EXPECT_EQ(Truncate(-2.9), -2);
  EXPECT_EQ(Truncate(1e300), INT64_MAX);
  EXPECT_EQ(Truncate(-1e300), INT64_MIN);
  EXPECT_EQ(Truncate(std::nan("")), 0);
}

class PlayTest : public GameFixture {
 protected:
  std::vector<int64_t> Deal() const { return {window->FudaNum.begin(), window->FudaNum.end()}; }
  // Presses Start, waits the seconds, clicks the question's card.
  void AnswerRight(double seconds) {
    PressStart();
    clock->Advance(seconds);
    ClickCard(QuestionPlace());
  }
  int MessageWindowsOpen() const {
    int n = 0;
    for (const auto& w : fw::OpenWindows()) n += w->ClassName() == MessageWindow::kClassName;
    return n;
  }
  std::string Message() const {
    auto open = fw::GetImplicitWindow(MessageWindow::kClassName);
    return open ? fw::Cast<class MessageWindow>(open)->Message()->Text() : "";
  }
};

TEST_F(PlayTest, RoundsDealTheirTenCardsInOrder) {
  PressStart();
  EXPECT_EQ(Deal(), (std::vector<int64_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(window->KaisuField()->Text(), "1");
  EXPECT_EQ(window->OdaiField()->Text(), "");
  EXPECT_FALSE(window->Label1()->Visible());
  EXPECT_GE(window->OdaiNum, 0);
  EXPECT_LE(window->OdaiNum, 9);
  EXPECT_EQ(window->FudaCanvas(3)->Backdrop(), karuta3());
  for (int n = 2; n <= 10; ++n) PressStart();
  EXPECT_EQ(Deal(), (std::vector<int64_t>{90, 91, 92, 93, 94, 95, 96, 97, 98, 99}));
  EXPECT_EQ(window->FudaCanvas(9)->Backdrop(), karuta99());
  EXPECT_EQ(window->KaisuField()->Text(), "10");
}

TEST_F(PlayTest, TheQuestionFallsOnEveryPlace) {
  std::set<int64_t> places;
  for (int n = 0; n < 200; ++n) {
    PressStart();
    places.insert(QuestionPlace());
  }
  EXPECT_EQ(places.size(), 10u);
}

TEST_F(PlayTest, ElevenPressesWithoutAClickEndTheGameAndStartAnother) {
  for (int n = 0; n < 11; ++n) PressStart();
  EXPECT_EQ(window->shogo, "詠み人知らず");
  EXPECT_EQ(window->ShogoText()->Text(), "詠み人知らず");
  EXPECT_EQ(Message(), "ゲーム終了です。\rあなたの総得点は0です。\rあなたの称号は詠み人知らずです。");
  EXPECT_EQ(window->Kaisu, 1);
  EXPECT_EQ(window->KaisuField()->Text(), "1");
  EXPECT_EQ(Deal(), (std::vector<int64_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(window->FudaCanvas(0)->Backdrop(), karuta0()) << "the same press deals round 1 again";
}

TEST_F(PlayTest, TheRevealShowsOneCharacterPerWholeSecond) {
  PressStart();
  const std::string poem = window->OdaiString[window->OdaiNum];
  struct Step {
    double advance;
    int64_t shown;
  };
  for (const Step& s : {Step{0.4, 0}, Step{2.5, 2}, Step{0.1, 3}, Step{13.0, 16}, Step{0.0, 16}, Step{40.0, 99}}) {
    clock->Advance(s.advance);
    Tick();
    EXPECT_EQ(window->OdaiField()->Text(), fw::Left(poem, s.shown)) << window->MyTime;
  }
  EXPECT_EQ(window->OdaiField()->Text(), poem);
  EXPECT_EQ(window->TimeField()->Text(), fw::Str(window->MyTime));
}

// The tick that reveals sets the period it already has; the next tick still
// comes a period after the last, not a period after this one.
TEST_F(PlayTest, ARevealingTickKeepsTheTimersRhythm) {
  PressStart();
  clock->Advance(1.2);
  fw::Timer& timer = *window->MyTimer();
  const Countdown after = ChangeSomeWayIn(timer, [&] { Tick(); });
  ASSERT_EQ(fw::Len(window->OdaiField()->Text()), 1) << "the tick did not reveal";
  EXPECT_TRUE(after.KeptItsRhythm()) << after << ": the tick started the countdown again";
  EXPECT_TRUE(after.running);
  EXPECT_EQ(timer.Period(), 1000);
  EXPECT_EQ(timer.RunMode(), 2);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_FALSE(PlatformTimer(timer).isSingleShot());
}

// Ticks a second apart with Start, clicks and a late tick in between: each
// tick shows the whole seconds since the latest Start, and a closed round's
// tick leaves the whole poem.
TEST_F(PlayTest, TicksRevealOneCharacterPerWholeSecondAcrossRounds) {
  enum Act { kStart, kTick, kClick };
  struct Step {
    double at;  // seconds on the clock
    Act act;
    int64_t shown = 0;  // characters after a tick; kWhole for the whole poem
  };
  constexpr int64_t kWhole = -1;
  const Step kSteps[] = {
      // Round 1, with a late tick, then closed by a click.
      {0.6, kStart}, {1, kTick, 0}, {2, kTick, 1}, {3, kTick, 2}, {5, kTick, 4}, {5.3, kClick}, {6, kTick, kWhole},
      // Round 2, started again while open as round 3.
      {6.8, kStart}, {7, kTick, 0}, {8, kTick, 1}, {8.5, kStart}, {9, kTick, 0}, {10, kTick, 1}, {11, kTick, 2},
      {11.9, kClick}, {12, kTick, kWhole}, {13, kTick, kWhole},
  };
  double now = 0;
  for (const Step& step : kSteps) {
    clock->Advance(step.at - now);
    now = step.at;
    switch (step.act) {
      case kStart: PressStart(); break;
      case kClick: ClickCard(QuestionPlace()); break;
      case kTick: {
        Tick();
        const std::string poem = window->OdaiString[window->OdaiNum], shown = window->OdaiField()->Text();
        EXPECT_EQ(fw::Len(shown), step.shown == kWhole ? fw::Len(poem) : step.shown)
            << "characters shown by the tick at " << step.at << " s, round " << window->Kaisu;
        EXPECT_EQ(shown, fw::Left(poem, fw::Len(shown))) << "not the question poem";
        break;
      }
    }
  }
  EXPECT_EQ(window->Kaisu, 3);
}

TEST_F(PlayTest, TicksBeforeTheFirstStartOnlyRefreshThePanel) {
  window->ScoreFiled()->Text("12");
  Tick();
  EXPECT_EQ(window->OdaiField()->Text(), "");
  EXPECT_EQ(window->TimeField()->Text(), "0");
  EXPECT_EQ(window->ScoreFiled()->Text(), "0") << "what the player typed is replaced";
}

TEST_F(PlayTest, WrongThenRightScoresTheWholeTime) {
  PressStart();
  clock->Advance(4.0);
  ClickCard(WrongPlace());
  EXPECT_EQ(window->Label1()->Text(), "ハズレ");
  EXPECT_TRUE(window->Label1()->Visible());
  EXPECT_EQ(window->ScoreFiled()->Text(), "0");
  EXPECT_TRUE(window->games);
  clock->Advance(8.6);
  ClickCard(QuestionPlace());
  EXPECT_EQ(window->Label1()->Text(), "正解");
  EXPECT_EQ(window->MyPoint, 7);
  EXPECT_EQ(window->TotalScoreField()->Text(), "7");
  EXPECT_EQ(window->TimeField()->Text(), "12.6");
  EXPECT_EQ(window->HighScoreField()->Text(), "7");
  EXPECT_EQ(window->OdaiField()->Text(), window->OdaiString[window->OdaiNum]);

  clock->Advance(1.0);
  ClickCard(WrongPlace());
  EXPECT_EQ(window->Label1()->Text(), "正解") << "a closed round judges nothing";
  EXPECT_EQ(window->TotalPoint, 7);
}

// A total that only equals the high score still writes the field, replacing
// what the player typed there.
TEST_F(PlayTest, ATotalEqualToTheHighScoreRewritesItsField) {
  AnswerRight(3.0);
  window->HighScoreField()->Text("typed");
  AnswerRight(20.0);
  ASSERT_EQ(window->TotalPoint, 17);
  EXPECT_EQ(window->HighScoreField()->Text(), "17");
}

TEST_F(PlayTest, StartEmptiesTheQuestionAreaOfTheRoundBefore) {
  AnswerRight(3.0);
  ASSERT_EQ(window->OdaiField()->Text(), window->OdaiString[window->OdaiNum]);
  PressStart();
  EXPECT_EQ(window->OdaiField()->Text(), "") << "the last round's poem is still shown";
}

TEST_F(PlayTest, ASlowAnswerLowersTheTotal) {
  AnswerRight(3.0);
  AnswerRight(25.0);
  EXPECT_EQ(window->MyPoint, -5);
  EXPECT_EQ(window->TotalPoint, 12);
  EXPECT_EQ(window->HighScore, 17) << "the high score never falls";
}

TEST_F(PlayTest, AClickBeforeTheFirstStartShowsPoemZeroAndScoresNothing) {
  ClickCard(4);
  EXPECT_EQ(window->OdaiField()->Text(), window->OdaiString[0]);
  EXPECT_FALSE(window->Label1()->Visible());
  EXPECT_EQ(window->TotalPoint, 0);
  EXPECT_EQ(window->ScoreFiled()->Text(), "0");
}

TEST_F(PlayTest, HighScoreFollowsTheRunningTotal) {
  // Rounds 1 to 7 reach 100, rounds 8 to 10 lose 10.
  const double times[] = {6, 6, 6, 6, 6, 6, 4, 25, 25, 20.5};
  for (int n = 0; n < 7; ++n) AnswerRight(times[n]);
  EXPECT_EQ(window->TotalPoint, 100);
  EXPECT_EQ(window->HighScore, 100);
  for (int n = 7; n < 10; ++n) AnswerRight(times[n]);
  EXPECT_EQ(Message(), "ゲーム終了です。\rあなたの総得点は90です。\rあなたの称号は中納言です。");
  EXPECT_EQ(window->HighScore, 100);
  EXPECT_EQ(window->HighScoreField()->Text(), "100");
  EXPECT_EQ(window->TotalPoint, 0);
  EXPECT_EQ(window->Kaisu, 0);
}

TEST_F(PlayTest, TheFirstClickOfTheTenthRoundEndsTheGameRightOrWrong) {
  for (bool right : {true, false}) {
    SCOPED_TRACE(right);
    for (int n = 0; n < 9; ++n) AnswerRight(10.0);
    PressStart();
    clock->Advance(2.0);
    ClickCard(right ? QuestionPlace() : WrongPlace());
    EXPECT_EQ(window->Kaisu, 0);
    EXPECT_EQ(window->Label1()->Text(), right ? "正解" : "ハズレ");
    EXPECT_EQ(Message(), right ? "ゲーム終了です。\rあなたの総得点は108です。\rあなたの称号は中納言です。"
                               : "ゲーム終了です。\rあなたの総得点は90です。\rあなたの称号は中納言です。");
    EXPECT_EQ(window->OdaiField()->Text(), "");
    for (int64_t i = 0; i < 10; ++i) EXPECT_FALSE(window->FudaCanvas(i)->Backdrop()) << i;
    EXPECT_EQ(window->CardCanvas(0)->Backdrop(), Green()) << "the frames keep their picture";
    EXPECT_EQ(window->KaisuField()->Text(), "10") << "until the next Start";
    EXPECT_EQ(window->games, !right);
  }
}

TEST_F(PlayTest, AfterAWrongTenthClickTheNextClickScoresIntoTheNewGame) {
  for (int n = 0; n < 9; ++n) AnswerRight(10.0);
  PressStart();
  clock->Advance(2.0);
  ClickCard(WrongPlace());
  ASSERT_EQ(window->TotalPoint, 0);
  clock->Advance(3.0);
  ClickCard(QuestionPlace());
  EXPECT_EQ(window->Label1()->Text(), "正解");
  EXPECT_EQ(window->TotalPoint, 15) << "scored from the last Start, into the new total";
  EXPECT_EQ(window->Kaisu, 0);
  EXPECT_EQ(MessageWindowsOpen(), 1);
}

TEST_F(PlayTest, OneMessageWindowAtATimeAndANewOneAfterOK) {
  for (int n = 0; n < 11; ++n) PressStart();
  ASSERT_EQ(MessageWindowsOpen(), 1);
  auto first = fw::GetImplicitWindow(MessageWindow::kClassName);
  EXPECT_EQ(first->Width(), 388);
  EXPECT_EQ(first->Height(), 100);
  EXPECT_EQ(first->Title(), "");
  auto* label = static_cast<QLabel*>(fw::WidgetOf(*fw::Cast<class MessageWindow>(first)->Message()));
  EXPECT_EQ(label->text().count('\n'), 2) << "three lines";

  clock->Advance(1.0);
  ClickCard(QuestionPlace());  // round 1 of the second game, already dealt
  for (int n = 0; n < 9; ++n) PressStart();
  PressStart();
  EXPECT_EQ(MessageWindowsOpen(), 1);
  EXPECT_EQ(fw::GetImplicitWindow(MessageWindow::kClassName), first) << "the open one is reused";
  EXPECT_EQ(Message(), "ゲーム終了です。\rあなたの総得点は19です。\rあなたの称号は詠み人知らずです。");

  QTest::mouseClick(fw::WidgetOf(*fw::Cast<class MessageWindow>(first)->OKButton()), Qt::LeftButton);
  EXPECT_EQ(MessageWindowsOpen(), 0);
  first.reset();
  for (int n = 0; n < 10; ++n) PressStart();
  EXPECT_EQ(MessageWindowsOpen(), 1);
  EXPECT_EQ(Message(), "ゲーム終了です。\rあなたの総得点は0です。\rあなたの称号は詠み人知らずです。");
  EXPECT_EQ(window->Kaisu, 1) << "the game window went on while the message was open";
}

TEST_F(PlayTest, AnOpenMessageWindowKeepsTheSizeThePlayerGaveIt) {
  for (int n = 0; n < 11; ++n) PressStart();
  auto open = fw::GetImplicitWindow(MessageWindow::kClassName);
  open->Platform().frame->resize(500, 300);
  for (int n = 0; n < 10; ++n) PressStart();
  ASSERT_EQ(fw::GetImplicitWindow(MessageWindow::kClassName), open);
  EXPECT_EQ(open->Platform().frame->size(), QSize(500, 300));
}

TEST_F(PlayTest, TheMessageWindowsCloseButtonClosesIt) {
  for (int n = 0; n < 11; ++n) PressStart();
  auto open = fw::GetImplicitWindow(MessageWindow::kClassName);
  open->Platform().frame->close();
  EXPECT_EQ(MessageWindowsOpen(), 0);
  EXPECT_TRUE(window->IsOpen()) << "closing the message leaves the game";
}

TEST_F(PlayTest, SettingTheSystemClockBackChangesNothing) {
  PressStart();
  clock->wall -= 3600;
  clock->Advance(3.5);
  Tick();
  EXPECT_EQ(window->OdaiField()->Text(), fw::Left(window->OdaiString[window->OdaiNum], 3));
  ClickCard(QuestionPlace());
  EXPECT_EQ(window->MyPoint, 16);
}

TEST_F(PlayTest, AWholeGamePlayedWithTheMouseEarnsTheTopTitle) {
  for (int round = 1; round <= 10; ++round) {
    PressStart();
    for (int second = 0; second < 3; ++second) {
      clock->Advance(1.0);
      Tick();
    }
    const std::string poem = window->OdaiString[window->OdaiNum];
    ASSERT_EQ(window->OdaiField()->Text(), fw::Left(poem, 3));
    ClickCard(QuestionPlace());
    ASSERT_EQ(window->ScoreFiled()->Text(), "17") << round;
  }
  EXPECT_EQ(window->ShogoText()->Text(), "大歌聖");
  EXPECT_EQ(Message(), "ゲーム終了です。\rあなたの総得点は170です。\rあなたの称号は大歌聖です。");
  EXPECT_EQ(window->HighScoreField()->Text(), "170");
  EXPECT_EQ(NewUnhandledExceptions(), 0);
}

}  // namespace
}  // namespace karuta
