// The keyboard and the two windows as the player uses them: the default
// buttons, the focus chain, the menu shortcuts whichever window is in front,
// and closing.

#include <QAction>
#include <QClipboard>
#include <QTimer>
#include <functional>

#include "framework/text.h"
#include "game/message_window.h"
#include "support.h"

namespace karuta {
namespace {

using testing::GameFixture;
using testing::kStillRunning;
using testing::RunEventLoop;

struct Key {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
};

const Key kReturnKeys[] = {{"Return", Qt::Key_Return, Qt::NoModifier},
                           {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier}};

class KeyboardTest : public GameFixture {
 protected:
  static QWidget* Frame(const fw::Window& w) { return w.Platform().frame; }
  QWidget* Widget(const char* name) const {
    return fw::WidgetOf(*fw::Cast<fw::RectControl>(window->ControlByName(name)));
  }

  // Makes the window the active one, whichever process holds the X focus.
  static void Activate(const fw::Window& w) {
    QApplication::setActiveWindow(Frame(w));
    ASSERT_EQ(QApplication::activeWindow(), Frame(w));
  }

  void Focus(const char* name) {
    Activate(*window);
    Widget(name)->setFocus();
    ASSERT_EQ(Focused(), name);
  }

  // The name of the control that holds the keyboard focus, in either window.
  static std::string Focused() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) return "(nothing)";
    for (const fw::Ref<fw::Window>& w : fw::OpenWindows())
      for (const fw::Ref<fw::Control>& control : w->Controls())
        if (auto rect = std::dynamic_pointer_cast<fw::RectControl>(control); rect && fw::WidgetOf(*rect) == focus)
          return control->Index() == fw::kNoIndex ? control->Name()
                                                  : control->Name() + "(" + std::to_string(control->Index()) + ")";
    return focus->metaObject()->className();
  }

  // A key as the player types it: to the focused widget of the active window.
  static void Type(const Key& key) { QTest::keyClick(static_cast<QWidget*>(nullptr), key.key, key.modifiers); }
  static void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { Type({"", key, modifiers}); }

  // Presses 開始 through to a game over and gives the message window it opens.
  fw::Ref<class MessageWindow> GameOver() {
    for (int n = 0; n < 11; ++n) PressStart();
    return fw::Cast<class MessageWindow>(fw::GetImplicitWindow(MessageWindow::kClassName));
  }
  static bool MessageOpen() { return static_cast<bool>(fw::GetImplicitWindow(MessageWindow::kClassName)); }

  // The text of a number field or of the question area.
  std::string TextOf(const char* name) const {
    const fw::Ref<fw::Control> control = window->ControlByName(name);
    if (auto field = std::dynamic_pointer_cast<fw::TextField>(control)) return field->Text();
    return fw::Cast<fw::TextArea>(control)->Text();
  }
  void SetText(const char* name, const std::string& text) {
    const fw::Ref<fw::Control> control = window->ControlByName(name);
    if (auto field = std::dynamic_pointer_cast<fw::TextField>(control)) return field->Text(text);
    fw::Cast<fw::TextArea>(control)->Text(text);
  }

  // The item of the game window's menus, as the player chooses it or its shortcut does.
  QAction* ActionOf(const char* item) const {
    const QString text = QString::fromStdString(window->MenuBar()->Lookup(item)->Text());
    for (QAction* action : window->Platform().menuBar->findChildren<QAction*>())
      if (action->text() == text) return action;
    ADD_FAILURE() << "the menus have no item " << item;
    return nullptr;
  }
};

TEST_F(KeyboardTest, ReturnAndEnterPressStartFromEveryControlThatLeavesThemAlone) {
  // The focusable controls but the question area; the poem store below the
  // window's edge takes the focus too.
  const char* const kPassOn[] = {"ScoreFiled", "TotalScoreField", "TimeField", "StartButton",
                                 "ListBox3",   "KaisuField",      "HighScoreField"};
  for (const char* name : kPassOn)
    for (const Key& key : kReturnKeys) {
      SCOPED_TRACE(std::string(key.name) + " in " + name);
      Focus(name);
      window->Kaisu = 3;
      window->KaisuField()->Text("3");
      Type(key);
      EXPECT_EQ(window->KaisuField()->Text(), "4") << "開始 is pressed once";
      EXPECT_EQ(Focused(), name);
    }
}

// The question area is multiline: Return and Enter break its line there.
TEST_F(KeyboardTest, ReturnInTheQuestionAreaBreaksTheLineAndStartsNoRound) {
  Focus("OdaiField");
  QTest::keyClicks(QApplication::focusWidget(), "ab");
  Type(kReturnKeys[0]);
  QTest::keyClicks(QApplication::focusWidget(), "c");
  Type(kReturnKeys[1]);
  EXPECT_EQ(window->OdaiField()->Text(), "ab\rc\r");
  EXPECT_EQ(window->Kaisu, 0);
  EXPECT_EQ(window->KaisuField()->Text(), "0");
  EXPECT_EQ(Focused(), "OdaiField");
}

TEST_F(KeyboardTest, TabAndShiftTabWalkTheFocusableControlsInCreationOrder) {
  // Text controls, the button and the visible poem store; never a canvas, a
  // label or a separator.
  const std::vector<std::string> kChain = {"ScoreFiled", "TotalScoreField", "TimeField",  "StartButton",
                                           "OdaiField",  "ListBox3",        "KaisuField", "HighScoreField"};
  Activate(*window);
  EXPECT_EQ(Focused(), kChain.front()) << "the window comes to the front with the first of the chain focused";
  Focus("ScoreFiled");
  std::vector<std::string> forward, backward;
  for (size_t n = 0; n < kChain.size(); ++n) {
    Type(Qt::Key_Tab);
    forward.push_back(Focused());
  }
  for (size_t n = 0; n < kChain.size(); ++n) {
    backward.insert(backward.begin(), Focused());
    Type(Qt::Key_Tab, Qt::ShiftModifier);
  }
  std::vector<std::string> wrapped(kChain.begin() + 1, kChain.end());
  wrapped.push_back(kChain.front());
  EXPECT_EQ(forward, wrapped) << "Tab, from ScoreFiled";
  EXPECT_EQ(backward, wrapped) << "Shift+Tab, back from ScoreFiled";
  EXPECT_EQ(Focused(), "ScoreFiled");
  EXPECT_EQ(window->OdaiField()->Text(), "") << "Tab is no character of the question";
}

TEST_F(KeyboardTest, AClickFocusesTheTextControlsAndTheButtonButNoCanvasOrLabel) {
  const char* const kTakeFocus[] = {"ScoreFiled", "TotalScoreField", "TimeField",     "StartButton",
                                    "OdaiField",  "KaisuField",      "HighScoreField"};
  for (const char* name : kTakeFocus) {
    Focus("ListBox3");
    QTest::mouseClick(Widget(name), Qt::LeftButton);
    EXPECT_EQ(Focused(), name) << "a click on " << name;
  }
  int clicked = 0;
  for (const fw::Ref<fw::Control>& control : window->Controls()) {
    const bool canvas = static_cast<bool>(std::dynamic_pointer_cast<fw::Canvas>(control));
    auto rect = std::dynamic_pointer_cast<fw::RectControl>(control);
    if (!(canvas || std::dynamic_pointer_cast<fw::Label>(control)) || !rect->Visible()) continue;
    Focus("KaisuField");
    QWidget* widget = fw::WidgetOf(*rect);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    EXPECT_EQ(Focused(), "KaisuField") << "a click on " << control->Name() << " " << control->Index();
    ++clicked;
  }
  EXPECT_EQ(clicked, 31) << "21 canvases and 10 labels, the verdict shown by a card in the round 開始 began";
}

TEST_F(KeyboardTest, ARoundPlayedWithReturnAndAClickKeepsTheFocusForTheNextReturn) {
  Focus("KaisuField");
  Type(kReturnKeys[0]);
  ASSERT_EQ(window->KaisuField()->Text(), "1");
  clock->Advance(3.0);
  ClickCard(QuestionPlace());
  EXPECT_EQ(window->Label1()->Text(), "正解");
  EXPECT_EQ(Focused(), "KaisuField") << "the card took the focus";
  Type(kReturnKeys[0]);
  EXPECT_EQ(window->KaisuField()->Text(), "2");
  EXPECT_FALSE(window->Label1()->Visible()) << "the next round began";
}

TEST_F(KeyboardTest, ReturnOrEnterOnTheMessageWindowPressesOKAndNothingInTheGameWindow) {
  struct Target {
    const char* name;
    bool toFrame;  // else to the focused widget
  };
  for (const Target& target : {Target{"the focused OK button", false}, Target{"the window itself", true}})
    for (const Key& key : kReturnKeys) {
      SCOPED_TRACE(std::string(key.name) + " to " + target.name);
      auto message = GameOver();
      ASSERT_TRUE(message);
      Activate(*message);
      EXPECT_EQ(Focused(), "OKButton") << "the message window comes to the front with OK focused";
      const int64_t round = window->Kaisu;
      if (target.toFrame)
        QTest::keyClick(Frame(*message), key.key, key.modifiers);
      else
        Type(key);
      EXPECT_FALSE(MessageOpen()) << "OK was not pressed";
      EXPECT_FALSE(Frame(*message) && Frame(*message)->isVisible()) << "the message is still on the screen";
      EXPECT_EQ(window->Kaisu, round) << "the key also pressed 開始";
    }
}

TEST_F(KeyboardTest, TheGameGoesOnWhileTheMessageWindowIsInFront) {
  auto message = GameOver();
  ASSERT_TRUE(message);
  Activate(*message);
  const std::string poem = window->OdaiString[window->OdaiNum];
  clock->Advance(2.5);
  Tick();
  EXPECT_EQ(window->OdaiField()->Text(), fw::Left(poem, 2)) << "the reveal";
  ClickCard(QuestionPlace());
  EXPECT_EQ(window->Label1()->Text(), "正解");
  EXPECT_EQ(window->ScoreFiled()->Text(), "17");
  Focus("KaisuField");
  Type(kReturnKeys[0]);
  EXPECT_EQ(window->KaisuField()->Text(), "2");
  EXPECT_TRUE(MessageOpen());
  EXPECT_EQ(message->Message()->Text(), "ゲーム終了です。\rあなたの総得点は0です。\rあなたの称号は詠み人知らずです。");
}

TEST_F(KeyboardTest, ControlQQuitsWhicheverWindowIsInFront) {
  struct Case {
    const char* name;
    std::function<void()> bringToFront;
  };
  const Case kCases[] = {
      {"a number field focused", [this] { Focus("KaisuField"); }},
      {"the question area focused", [this] { Focus("OdaiField"); }},
      {"the message window in front",
       [this] {
         auto message = GameOver();
         ASSERT_TRUE(message);
         Activate(*message);
       }},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    window = KarutaWindow();  // quitting closes the windows
    c.bringToFront();
    EXPECT_EQ(RunEventLoop([] { Type(Qt::Key_Q, Qt::ControlModifier); }), 0)
        << "the event loop's code after Ctrl+Q; " << kStillRunning << ": it did not end the loop";
  }
}

TEST_F(KeyboardTest, ClosingTheMessageWindowLeavesTheGameRunning) {
  auto message = GameOver();
  ASSERT_TRUE(message);
  Activate(*message);
  const int code = RunEventLoop([&] {
    Frame(*message)->close();
    Focus("KaisuField");
    Type(kReturnKeys[0]);
    QTimer::singleShot(50, [] { QCoreApplication::exit(7); });
  });
  EXPECT_EQ(code, 7) << "closing the message window ended the event loop";
  EXPECT_FALSE(MessageOpen());
  EXPECT_TRUE(window->IsOpen());
  EXPECT_TRUE(Frame(*window)->isVisible());
  EXPECT_EQ(window->KaisuField()->Text(), "2") << "Return pressed 開始 after the close";
}

TEST_F(KeyboardTest, ClosingTheGameWindowEndsTheProgramWhileTheMessageWindowIsOpen) {
  auto message = GameOver();
  ASSERT_TRUE(message);
  Activate(*message);
  EXPECT_EQ(RunEventLoop([&] { Frame(*window)->close(); }), 0)
      << "the event loop's code after the close; " << kStillRunning << ": it outlived the game window";
  EXPECT_FALSE(window->IsOpen());
}

TEST_F(KeyboardTest, EditKeysAndItemsActOnTheFocusedTextControl) {
  struct Step {
    const char* item;
    Qt::Key key;  // with Ctrl; Qt::Key_unknown for an item without a shortcut
    bool selectAllFirst;
    std::string text, clipboard;
  };
  const Step kSteps[] = {
      {"EditCopy", Qt::Key_C, true, "12", "12"}, {"EditCut", Qt::Key_X, true, "", "12"},
      {"EditPaste", Qt::Key_V, false, "12", "12"}, {"EditPaste", Qt::Key_V, false, "1212", "12"},
      {"EditUndo", Qt::Key_Z, false, "12", "12"},  {"EditClear", Qt::Key_unknown, true, "", "12"},
  };
  for (const char* field : {"KaisuField", "OdaiField"})
    for (bool byKey : {true, false}) {
      SCOPED_TRACE(std::string(field) + (byKey ? " by key" : " by menu item"));
      SetText(field, "12");
      QGuiApplication::clipboard()->setText("x");
      Focus(field);
      for (const Step& step : kSteps) {
        if (byKey && step.key == Qt::Key_unknown) continue;
        SCOPED_TRACE(step.item);
        if (step.selectAllFirst) Type(Qt::Key_A, Qt::ControlModifier);
        if (byKey)
          Type(step.key, Qt::ControlModifier);
        else if (QAction* action = ActionOf(step.item))
          action->trigger();
        EXPECT_EQ(TextOf(field), step.text);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), step.clipboard);
      }
    }
}

TEST_F(KeyboardTest, EditKeysInTheMessageWindowLeaveTheGameWindowsFieldAlone) {
  auto message = GameOver();
  ASSERT_TRUE(message);
  window->ScoreFiled()->Text("12");
  Focus("ScoreFiled");
  Type(Qt::Key_A, Qt::ControlModifier);
  QGuiApplication::clipboard()->setText("x");
  Activate(*message);
  ASSERT_EQ(Focused(), "OKButton");
  int chosen = 0;
  QObject counting;  // its connections end with it
  for (const char* item : {"EditCopy", "EditCut", "EditPaste", "EditUndo"})
    if (QAction* action = ActionOf(item)) QObject::connect(action, &QAction::triggered, &counting, [&] { ++chosen; });
  for (Qt::Key key : {Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_Z}) Type(key, Qt::ControlModifier);
  EXPECT_EQ(chosen, 4) << "the Edit shortcuts reach the menu from the message window";
  EXPECT_EQ(window->ScoreFiled()->Text(), "12");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "x");
  EXPECT_TRUE(MessageOpen());
}

}  // namespace
}  // namespace karuta
