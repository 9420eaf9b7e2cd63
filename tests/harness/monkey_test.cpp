// Random play: a seeded stream of player and system events drives the game
// window through its widgets, and the game's invariants are checked after
// every event. MONKEY_SEED and MONKEY_EVENTS choose the stream; a failure
// names the seed and the event so that the run can be replayed.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <type_traits>

#include "game/message_window.h"
#include "game/rules.h"
#include "support.h"

namespace karuta {
namespace {

using testing::GameFixture;

constexpr uint64_t kDefaultSeed = 20250117;
constexpr uint64_t kDefaultEvents = 100000;

enum class Kind {
  Start,         // a click on 開始
  Card,          // a click inside a card, half of them on the question's
  Margin,        // a click on a frame beside its card
  Tick,          // the game timer fires
  Wait,          // 0 to 40 seconds pass
  WallClock,     // the system clock is set back or forward; monotonic time goes on
  TypeNumber,    // keys typed into one of the number fields
  TypeQuestion,  // keys typed into the question area
  MessageOK,     // OK (a click, or Return) on the message window
  MessageClose,  // the message window's close button
  Repaint,       // pending events delivered: paints, deferred deletes
};

struct Weighted {
  Kind kind;
  const char* name;
  int weight;
};

constexpr Weighted kMix[] = {
    {Kind::Start, "Start", 10},         {Kind::Card, "Card", 24},
    {Kind::Margin, "Margin", 4},        {Kind::Tick, "Tick", 20},
    {Kind::Wait, "Wait", 16},           {Kind::WallClock, "WallClock", 2},
    {Kind::TypeNumber, "TypeNumber", 4}, {Kind::TypeQuestion, "TypeQuestion", 3},
    {Kind::MessageOK, "MessageOK", 3},  {Kind::MessageClose, "MessageClose", 2},
    {Kind::Repaint, "Repaint", 1},
};

const char* NameOf(Kind kind) {
  for (const Weighted& w : kMix)
    if (w.kind == kind) return w.name;
  return "?";
}

// Keys a player might type: digits, signs, letters, kana, Backspace and
// Return (which presses the default button from a number field).
const std::u16string kKeys = u"0123456789-.+eE xyzあほ漢　\b\b\r";

// A whole number from the environment, or the fallback when it is unset.
uint64_t FromEnvironment(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 0);
  if (errno != 0 || *end != '\0' || text[0] == '-') {
    ADD_FAILURE() << name << "=" << text << " is not a whole number; using " << fallback;
    return fallback;
  }
  return value;
}

constexpr const char* kNumberFields[] = {"ScoreFiled", "TotalScoreField", "TimeField", "KaisuField", "HighScoreField"};

// One event as generated, for the failure report.
struct Event {
  Event(uint64_t n, Kind k) : number(n), kind(k) {}
  uint64_t number;
  Kind kind;
  int place = -1;
  QPoint at;
  double amount = 0;
  QString keys;

  std::string Describe() const {
    std::ostringstream out;
    out.precision(17);
    out << "#" << number << " " << NameOf(kind);
    if (kind == Kind::Card || kind == Kind::Margin) out << " place " << place << " at (" << at.x() << "," << at.y() << ")";
    if (kind == Kind::TypeNumber) out << " into " << kNumberFields[place];
    if (kind == Kind::Wait || kind == Kind::WallClock) out << " by " << amount << " s";
    if (!keys.isEmpty()) {
      QString shown = keys;
      shown.replace("\r", "<Return>").replace("\b", "<Backspace>");
      out << " keys \"" << shown.toStdString() << "\"";
    }
    return out.str();
  }
};

// Qt messages during the run: the offscreen platform's note about size
// hints comes with every window shown; anything else is kept for the report.
struct QtMessages {
  static inline std::map<std::string, int> others;
  static inline int critical = 0;
  static void Handler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message == "This plugin does not support propagateSizeHints()") return;
    if (type == QtCriticalMsg || type == QtFatalMsg) ++critical;
    ++others[message.toStdString()];
  }
};

class MonkeyTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    seed = FromEnvironment("MONKEY_SEED", kDefaultSeed);
    events = FromEnvironment("MONKEY_EVENTS", kDefaultEvents);
    rng.seed(seed);
    // The game's own draws follow the seed too, so a run replays exactly.
    fw::SetRandomSeedSource([draws = std::mt19937_64(seed ^ 0x9E3779B97F4A7C15ULL)]() mutable { return draws(); });

    start = static_cast<QPushButton*>(fw::WidgetOf(*window->StartButton()));
    question = static_cast<QPlainTextEdit*>(fw::WidgetOf(*window->OdaiField()));
    for (const char* name : kNumberFields)
      numberFields.push_back(static_cast<QLineEdit*>(fw::WidgetOf(*fw::Cast<fw::TextField>(window->ControlByName(name)))));
    for (int64_t i = 0; i < 10; ++i) {
      frames[i] = fw::WidgetOf(*window->CardCanvas(i));
      cards[i] = fw::WidgetOf(*window->FudaCanvas(i));
    }
    // However Start is pressed (the button, or Return in a field), the round's
    // time counts from here.
    QObject::connect(start, &QPushButton::clicked, [this] {
      startedAt = clock->monotonic;
      started = true;
    });
    previousHandler = qInstallMessageHandler(QtMessages::Handler);
  }

  void TearDown() override {
    qInstallMessageHandler(previousHandler);
    GameFixture::TearDown();
  }

  template <class T>
  T Pick(T low, T high) {
    if constexpr (std::is_integral_v<T>)
      return std::uniform_int_distribution<T>(low, high)(rng);
    else
      return std::uniform_real_distribution<T>(low, high)(rng);
  }

  Kind NextKind() {
    int total = 0;
    for (const Weighted& w : kMix) total += w.weight;
    int roll = Pick(0, total - 1);
    for (const Weighted& w : kMix) {
      if (roll < w.weight) return w.kind;
      roll -= w.weight;
    }
    return Kind::Tick;
  }

  QString Keys() {
    QString keys;
    const int length = Pick(1, 6);
    for (int n = 0; n < length; ++n) keys += QChar(kKeys[Pick<size_t>(0, kKeys.size() - 1)]);
    return keys;
  }

  // QTest::keyClicks knows Latin-1 only; other characters go as text of an unknown key.
  static void Type(QWidget* widget, const QString& keys) {
    for (QChar key : keys) {
      if (key.unicode() < 0x80)
        QTest::keyClick(widget, key.toLatin1());
      else
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(key), Qt::NoModifier);
    }
  }

  // 0 to 40 seconds: whole seconds, just below or above a whole second, or any.
  double Seconds() {
    switch (Pick(0, 2)) {
      case 0: return Pick(0, 40);
      case 1: return std::max(0.0, Pick(0, 40) + (Pick(0, 1) ? 1e-6 : -1e-6));
      default: return Pick(0.0, 40.0);
    }
  }

  fw::Ref<class MessageWindow> OpenMessage() const {
    auto open = fw::GetImplicitWindow(MessageWindow::kClassName);
    return open ? fw::Cast<class MessageWindow>(open) : nullptr;
  }

  static int MessageWindowsOpen() {
    int n = 0;
    for (const auto& w : fw::OpenWindows()) n += w->ClassName() == MessageWindow::kClassName;
    return n;
  }

  // The game state a click beside the cards must leave alone.
  struct Snapshot {
    int64_t kaisu, totalPoint, myPoint, highScore, odaiNum;
    bool games, gameStarted, verdictShown;
    double myTime;
    std::string question;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() const {
    return {window->Kaisu,    window->TotalPoint, window->MyPoint, window->HighScore,
            window->OdaiNum,  window->games,      window->GameStarted, window->Label1()->Visible(),
            window->MyTime,   window->OdaiField()->Text()};
  }

  // Runs one event; gives what it broke, or nothing.
  std::string Apply(Event& event) {
    switch (event.kind) {
      case Kind::Start:
        QTest::mouseClick(start, Qt::LeftButton);
        return {};
      case Kind::Card: return ClickOnCard(event);
      case Kind::Margin: {
        event.place = Pick(0, 9);
        const QRect card = cards[event.place]->geometry();
        do event.at = QPoint(Pick(0, frames[event.place]->width() - 1), Pick(0, frames[event.place]->height() - 1));
        while (card.contains(event.at));
        const Snapshot before = Take();
        QTest::mouseClick(frames[event.place], Qt::LeftButton, {}, event.at);
        if (!(Take() == before)) return "a click beside the card changed the game";
        return {};
      }
      case Kind::Tick: return TickTimer();
      case Kind::Wait:
        event.amount = Seconds();
        clock->Advance(event.amount);
        return {};
      case Kind::WallClock:
        event.amount = (Pick(0, 1) ? 1 : -1) * std::pow(10.0, Pick(0.0, 9.0));
        clock->wall += event.amount;
        return {};
      case Kind::TypeNumber:
        event.place = Pick<int>(0, static_cast<int>(numberFields.size()) - 1);
        event.keys = Keys();
        Type(numberFields[event.place], event.keys);
        return {};
      case Kind::TypeQuestion:
        event.keys = Keys();
        Type(question, event.keys);
        typedQuestion = question->toPlainText();
        return {};
      case Kind::MessageOK:
      case Kind::MessageClose: {
        auto message = OpenMessage();
        if (!message) return {};
        if (event.kind == Kind::MessageClose)
          message->Platform().frame->close();
        else if (Pick(0, 2) == 0)
          QTest::keyClick(message->Platform().frame, Qt::Key_Return);
        else
          QTest::mouseClick(fw::WidgetOf(*message->OKButton()), Qt::LeftButton);
        message.reset();
        ++tally.messagesDismissed;
        if (MessageWindowsOpen() != 0) return "the message window is still open";
        return {};
      }
      case Kind::Repaint:
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return {};
    }
    return {};
  }

  // While a round runs, a tick shows one character of the poem per whole second.
  std::string TickTimer() {
    window->MyTimer()->Fire();
    if (!window->GameStarted || window->OdaiNum < 0 || window->OdaiNum > 99) return {};
    const int64_t poem = Characters(window->OdaiString[window->OdaiNum]);
    const int64_t expected = std::min<int64_t>(poem, static_cast<int64_t>(std::floor(window->MyTime)));
    const int64_t shown = Characters(window->OdaiField()->Text());
    if (shown == expected) return {};
    std::ostringstream broken;
    broken << "after " << window->MyTime << " s the question area shows " << shown << " characters, not " << expected
           << "; ";
    return broken.str();
  }

  static int64_t Characters(const std::string& text) { return QString::fromStdString(text).toUcs4().size(); }

  std::string ClickOnCard(Event& event) {
    const int64_t question = QuestionPlace();
    event.place = question >= 0 && Pick(0, 1) ? static_cast<int>(question) : Pick(0, 9);
    event.at = QPoint(Pick(0, cards[event.place]->width() - 1), Pick(0, cards[event.place]->height() - 1));
    const bool playing = window->games;
    const bool right = playing && window->FudaNum[event.place] == window->OdaiNum;
    if (!started) ++tally.clicksBeforeFirstStart;
    if (!playing) ++tally.clicksOutOfPlay;
    QTest::mouseClick(cards[event.place], Qt::LeftButton, {}, event.at);
    if (!playing) return {};
    std::ostringstream broken;
    if (right) {
      ++tally.rightAnswers;
      const double taken = clock->monotonic - startedAt;
      if (std::abs(window->MyTime - taken) > 1e-3)
        broken << "time taken " << window->MyTime << ", the clock says " << taken << "; ";
      const auto rule = static_cast<int64_t>(std::trunc(20.0 - window->MyTime));
      if (window->MyPoint != PointsForTime(window->MyTime) || window->MyPoint != rule)
        broken << "a right answer after " << window->MyTime << " s scored " << window->MyPoint << ", not " << rule
               << "; ";
      if (window->MyPoint > 20) broken << "a right answer scored " << window->MyPoint << " (over 20); ";
    } else if (window->MyPoint != 0) {
      broken << "a wrong answer scored " << window->MyPoint << "; ";
    }
    return broken.str();
  }

  // The invariants that hold after every event.
  std::string Check(const Event& event) {
    std::ostringstream broken;
    if (!window->IsOpen()) broken << "the game window closed; ";
    if (window->Kaisu < 0 || window->Kaisu > 10) broken << "Kaisu is " << window->Kaisu << "; ";
    if (window->HighScore < highScore) broken << "HighScore fell from " << highScore << " to " << window->HighScore << "; ";
    if (window->HighScore < window->TotalPoint)
      broken << "HighScore " << window->HighScore << " is below the total " << window->TotalPoint << "; ";
    const int messages = MessageWindowsOpen();
    if (messages > 1) broken << messages << " message windows are open; ";
    if (window->OdaiNum < 0 || window->OdaiNum > 99) {
      broken << "the question is card " << window->OdaiNum << "; ";
    } else if (event.kind != Kind::TypeQuestion) {
      const QString shown = question->toPlainText();
      // What the player typed stays until the game writes the area again.
      if (typedQuestion && shown != *typedQuestion) typedQuestion.reset();
      const std::string text = window->OdaiField()->Text();
      const std::string& poem = window->OdaiString[window->OdaiNum];
      if (!typedQuestion && !text.empty() && poem.compare(0, text.size(), text) != 0)
        broken << "the question area shows \"" << text << "\", not a beginning of \"" << poem << "\"; ";
    }
    if (fw::UnhandledExceptionCount() != unhandledBefore)
      broken << "an exception reached the handler: " << fw::LastUnhandledException() << "; ";
    if (QtMessages::critical > 0) broken << "Qt reported a critical error; ";
    if (window->Kaisu < kaisu) ++tally.gameOvers;
    if (messages == 1 && !messageOpen) ++tally.messagesShown;
    highScore = window->HighScore;
    kaisu = window->Kaisu;
    messageOpen = messages == 1;
    return broken.str();
  }

  std::string Report(const Event& event, const std::string& broken, const std::deque<Event>& recent) const {
    std::ostringstream out;
    out << "seed " << seed << ", event " << event.number << " (" << NameOf(event.kind) << "): " << broken << "\n"
        << "replay: MONKEY_SEED=" << seed << " MONKEY_EVENTS=" << event.number + 1 << "\nlast events:\n";
    for (const Event& e : recent) out << "  " << e.Describe() << "\n";
    out << "state: Kaisu " << window->Kaisu << ", games " << window->games << ", OdaiNum " << window->OdaiNum
        << ", MyTime " << window->MyTime << ", MyPoint " << window->MyPoint << ", TotalPoint " << window->TotalPoint
        << ", HighScore " << window->HighScore;
    return out.str();
  }

  uint64_t seed = kDefaultSeed, events = kDefaultEvents;
  std::mt19937_64 rng;
  QPushButton* start = nullptr;
  QPlainTextEdit* question = nullptr;
  std::vector<QLineEdit*> numberFields;
  std::array<QWidget*, 10> frames{}, cards{};
  QtMessageHandler previousHandler = nullptr;

  bool started = false;
  double startedAt = 0;
  std::optional<QString> typedQuestion;
  int64_t highScore = 0, kaisu = 0;
  bool messageOpen = false;
  struct {
    uint64_t rightAnswers = 0, gameOvers = 0, messagesShown = 0, messagesDismissed = 0;
    uint64_t clicksBeforeFirstStart = 0, clicksOutOfPlay = 0;
  } tally;
};

TEST_F(MonkeyTest, RandomPlayKeepsTheGameConsistent) {
  std::map<Kind, uint64_t> kinds;
  std::deque<Event> recent;
  const auto began = std::chrono::steady_clock::now();
  for (uint64_t n = 0; n < events; ++n) {
    Event event(n, NextKind());
    ++kinds[event.kind];
    std::string broken = Apply(event);
    broken += Check(event);
    recent.push_back(event);
    if (recent.size() > 12) recent.pop_front();
    if (!broken.empty()) FAIL() << Report(event, broken, recent);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

  std::cout << "monkey: seed " << seed << ", " << events << " events in " << seconds << " s;";
  for (const auto& [kind, count] : kinds) std::cout << " " << NameOf(kind) << " " << count;
  std::cout << "\nmonkey: " << tally.rightAnswers << " right answers, " << tally.gameOvers << " game overs, "
            << tally.messagesShown << " message windows shown, " << tally.messagesDismissed << " dismissed, "
            << tally.clicksBeforeFirstStart << " clicks before the first Start, " << tally.clicksOutOfPlay
            << " clicks out of play" << std::endl;
  for (const auto& [message, count] : QtMessages::others)
    std::cout << "monkey: Qt said " << count << " times: " << message << std::endl;

  // A long run that never reached these would not have tested much.
  if (events >= 10000) {
    EXPECT_GT(tally.rightAnswers, 0u);
    EXPECT_GT(tally.gameOvers, 0u);
    EXPECT_GT(tally.messagesDismissed, 0u);
    EXPECT_GT(tally.clicksOutOfPlay, 0u);
  }
}

}  // namespace
}  // namespace karuta
