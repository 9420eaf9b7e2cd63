// Rounds, scoring, the title ladder, game over and the message window.

#include <QLabel>

#include "framework/text.h"
#include "game/message_window.h"
#include "game/rules.h"
#include "support.h"

namespace karuta {
namespace {

using testing::GameFixture;

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
