// The game window as it opens: controls, bindings, layout, poem table, fonts.

#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/menubar1.h"
#include "framework/text.h"
#include "game/layout.h"
#include "game/poems.h"
#include "support.h"

namespace karuta {
namespace {

using testing::GameFixture;

struct Created {
  std::string name;
  int64_t index;
  std::vector<std::string> events;
};

std::vector<Created> ExpectedCreation() {
  using E = std::vector<std::string>;
  const E frame{"Open", "Paint"}, card{"MouseDown", "Open", "Paint"}, open{"Open"}, action{"Action"}, none{};
  std::vector<Created> c = {{"CardCanvas", 1, frame},     {"FudaCanvas", 1, card},       {"CardCanvas", 0, frame},
                            {"FudaCanvas", 0, card},      {"StaticText1", fw::kNoIndex, none},
                            {"StaticText2", fw::kNoIndex, none}, {"StaticText3", fw::kNoIndex, none},
                            {"ScoreFiled", fw::kNoIndex, open},  {"StaticText4", fw::kNoIndex, none},
                            {"TotalScoreField", fw::kNoIndex, open}, {"StaticText5", fw::kNoIndex, none},
                            {"TimeField", fw::kNoIndex, none},   {"MyTimer", fw::kNoIndex, action},
                            {"Separator1", fw::kNoIndex, none},  {"StartButton", fw::kNoIndex, action},
                            {"OdaiField", fw::kNoIndex, none},   {"ListBox1", fw::kNoIndex, none},
                            {"ListBox3", fw::kNoIndex, none},    {"StaticText6", fw::kNoIndex, none},
                            {"KaisuField", fw::kNoIndex, open},  {"StaticText7", fw::kNoIndex, none},
                            {"StaticText8", fw::kNoIndex, none}, {"HighScoreField", fw::kNoIndex, open},
                            {"ShogoText", fw::kNoIndex, none},   {"Separator2", fw::kNoIndex, none}};
  for (int64_t i = 2; i < 10; ++i) {
    c.push_back({"CardCanvas", i, frame});
    c.push_back({"FudaCanvas", i, card});
  }
  c.push_back({"MyCanvas", fw::kNoIndex, none});
  c.push_back({"Label1", fw::kNoIndex, none});
  return c;
}

class WindowTest : public GameFixture {};

TEST_F(WindowTest, ANewWindowObjectHoldsItsStartingValues) {
  auto fresh = std::make_shared<class KarutaWindow>();
  EXPECT_EQ(fresh->OdaiNum, 0);
  EXPECT_EQ(fresh->MyPoint + fresh->TotalPoint + fresh->Kaisu + fresh->HighScore, 0);
  EXPECT_EQ(fresh->OKtime + fresh->StartTime + fresh->MyTime, 0.0);
  EXPECT_FALSE(fresh->Seikai || fresh->GameStarted || fresh->games);
  EXPECT_EQ(fresh->MyFont + fresh->shogo, "");
  for (int64_t n : fresh->FudaNum) EXPECT_EQ(n, 0);
  for (int64_t n : fresh->r) EXPECT_EQ(n, 0);
  for (const std::string& poem : fresh->OdaiString) EXPECT_EQ(poem, "");
  EXPECT_EQ(KarutaWindow(), window) << "the open window is found, not made again";
}

TEST_F(WindowTest, MakesTheFortyThreeControlsInOrderWithTheirBindings) {
  const std::vector<Created> expected = ExpectedCreation();
  const auto& controls = window->Controls();
  ASSERT_EQ(controls.size(), 43u);
  size_t bindings = 0;
  for (size_t n = 0; n < controls.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(controls[n]->Name(), expected[n].name);
    EXPECT_EQ(controls[n]->Index(), expected[n].index);
    EXPECT_EQ(controls[n]->BoundEvents(), expected[n].events);
    bindings += controls[n]->BoundEvents().size();
  }
  EXPECT_EQ(bindings, 56u);
  EXPECT_FALSE(window->ControlByNameIndex("FudaCanvas", 10));
  EXPECT_FALSE(window->ControlByNameIndex("CardCanvas", -1));
  EXPECT_THROW(window->CardCanvas(10)->Width(), fw::NilObjectException);
}

TEST_F(WindowTest, APressReachesTheCardsHandlerWithItsIndexAndAFrameMarginReachesNone) {
  for (int64_t i = 0; i < 10; ++i) {
    PressStart();
    const std::string expected = i == QuestionPlace() ? "正解" : "ハズレ";
    QTest::mouseClick(WidgetOf(window->CardCanvas(i)), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(window->Label1()->Visible()) << "frame " << i;
    EXPECT_TRUE(window->GameStarted);
    ClickCard(i);
    EXPECT_EQ(window->Label1()->Text(), expected) << "card " << i;
    EXPECT_FALSE(window->GameStarted);
  }
}

TEST_F(WindowTest, ControlAccessorsCheckTheClass) {
  auto fake = window->New<fw::Label>();
  fake->Constructor();
  window->AddControl("StartButtonTwin", fake);
  EXPECT_THROW(fw::Cast<fw::PushButton>(window->ControlByName("StartButtonTwin")), fw::IllegalCastException);
  EXPECT_EQ(window->StartButton(), window->ControlByName("StartButton"));
}

TEST_F(WindowTest, OpensAtItsSizeWithTheScorePanelAtItsStart) {
  EXPECT_EQ(window->Width(), 570);
  EXPECT_EQ(window->Height(), 510);
  EXPECT_EQ(window->Title(), "霞札苑");
  for (auto field : {window->ScoreFiled(), window->TotalScoreField(), window->KaisuField(), window->HighScoreField()})
    EXPECT_EQ(field->Text(), "0") << field->Name();
  EXPECT_EQ(window->TimeField()->Text(), "");
  EXPECT_EQ(window->OdaiField()->Text(), "");
  EXPECT_EQ(window->ShogoText()->Text(), "なし");
  EXPECT_EQ(window->shogo, "なし");
  EXPECT_EQ(window->MyFont, "平成明朝");
  EXPECT_FALSE(window->Label1()->Visible());
  EXPECT_EQ(window->Label1()->Text(), "正解");
  EXPECT_FALSE(window->ListBox1()->Visible());
  EXPECT_GE(window->ListBox3()->Top(), window->Height()) << "the second poem store lies below the window";
  EXPECT_TRUE(window->MyTimer()->IsRunning());
  EXPECT_EQ(window->MyTimer()->Period(), 1000);
}

TEST_F(WindowTest, TheWindowHasOnlyACloseButtonAndAFixedSize) {
  QWidget* frame = window->Platform().frame;
  const Qt::WindowFlags flags = frame->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
  EXPECT_FALSE(window->Platform().menuBar->isVisible()) << "the bar is hidden, its shortcuts still work";
  EXPECT_EQ(window->MenuBar(), MenuBar1());
}

TEST_F(WindowTest, ControlsSitAtTheirLayoutPlaces) {
  struct Place {
    const char* name;
    int64_t index;
    QRect window;  // in window coordinates
  };
  const Place kPlaces[] = {
      {"CardCanvas", 0, {21, 69, 90, 170}},   {"FudaCanvas", 0, {31, 75, 70, 160}},
      {"CardCanvas", 9, {462, 259, 90, 170}}, {"FudaCanvas", 9, {472, 265, 70, 160}},
      {"OdaiField", fw::kNoIndex, {145, 4, 280, 41}}, {"StartButton", fw::kNoIndex, {457, 10, 69, 22}},
      {"Separator1", fw::kNoIndex, {0, 436, 630, 4}}, {"ShogoText", fw::kNoIndex, {316, 483, 91, 20}},
      {"MyCanvas", fw::kNoIndex, {476, 454, 50, 50}}, {"Label1", fw::kNoIndex, {404, 472, 100, 20}},
  };
  QWidget* content = window->Platform().content;
  for (const Place& p : kPlaces) {
    SCOPED_TRACE(p.name);
    auto control = fw::Cast<fw::RectControl>(p.index == fw::kNoIndex ? window->ControlByName(p.name)
                                                                      : window->ControlByNameIndex(p.name, p.index));
    QWidget* widget = fw::WidgetOf(*control);
    const QRect at(widget->mapTo(content, QPoint(0, 0)), widget->size());
    EXPECT_EQ(at, p.window);
  }
  EXPECT_EQ(fw::WidgetOf(*window->FudaCanvas(3))->parentWidget(), fw::WidgetOf(*window->CardCanvas(3)))
      << "each card is a child of its frame";
}

TEST_F(WindowTest, ThePoemTableComesFromTheTwoListBoxes) {
  EXPECT_EQ(kListBox1Rows.size(), 4892u);
  EXPECT_EQ(kListBox3Rows.size(), 4898u);
  EXPECT_EQ(window->ListBox1()->RowCount(), 50);
  EXPECT_EQ(window->ListBox3()->RowCount(), 50);
  struct Row {
    int64_t card;
    const char* poem;
  };
  for (const Row& row : {Row{0, "ほのぼのとはるこそそらにきにけらし　あめのかぐやまかすみたなびく"},
                         Row{49, "しのぶるにこころのすきはなけれども　なほもるものはなみだなりけり"},
                         Row{50, "ひとしれぬこひにわがみはしずめども　みるめにうくはなみだなりけり"},
                         Row{99, "やみはれてこころのそらにすむつきは　にしのやまべやちかくなるらむ"}})
    EXPECT_EQ(window->OdaiString[row.card], row.poem) << row.card;
  int64_t characters = 0;
  for (const std::string& poem : window->OdaiString) {
    SCOPED_TRACE(poem);
    const size_t space = poem.find("　");
    ASSERT_NE(space, std::string::npos);
    EXPECT_EQ(poem.find("　", space + 1), std::string::npos) << "exactly one ideographic space";
    EXPECT_EQ(poem.find('\r'), std::string::npos);
    EXPECT_GE(fw::Len(poem), 31);
    EXPECT_LE(fw::Len(poem), 34);
    characters += fw::Len(poem);
  }
  EXPECT_EQ(characters, 3230);
}

TEST_F(WindowTest, JapaneseTextIsInAMinchoFace) {
  const std::pair<const char*, QWidget*> kFonted[] = {
      {"OdaiField", fw::WidgetOf(*window->OdaiField())},   {"StartButton", fw::WidgetOf(*window->StartButton())},
      {"StaticText1", fw::WidgetOf(*window->StaticText1())}, {"StaticText3", fw::WidgetOf(*window->StaticText3())},
      {"ShogoText", fw::WidgetOf(*window->ShogoText())},
  };
  for (const auto& [name, widget] : kFonted) {
    const QString family = QFontInfo(widget->font()).family();
    EXPECT_TRUE(family.contains("Mincho")) << name << " resolves to " << family.toStdString();
    EXPECT_EQ(widget->font().pixelSize(), 12) << name;
  }
  auto* caption = static_cast<QLabel*>(fw::WidgetOf(*window->StaticText8()));
  EXPECT_LE(caption->sizeHint().width(), 58) << "最高得点: fits its label at 12 pixels";
}

TEST_F(WindowTest, MenuItemAccessorsFindTheBarsItems) {
  EXPECT_EQ(window->FileQuit()->Text(), "終了(&X)");
  EXPECT_EQ(window->UntitledMenu3()->Name(), "UntitledMenu3");
  EXPECT_EQ(window->EditClear()->Text(), "クリア");
}

QAction* ActionFor(QWidget* frame, const char* keys) {
  for (QAction* action : frame->actions())
    if (action->shortcut() == QKeySequence(keys)) return action;
  return nullptr;
}

TEST_F(WindowTest, TheEditItemsActOnTheFocusedField) {
  QWidget* frame = window->Platform().frame;
  auto* field = static_cast<QLineEdit*>(fw::WidgetOf(*window->KaisuField()));
  QApplication::setActiveWindow(frame);
  field->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), field);
  field->selectAll();
  ASSERT_TRUE(ActionFor(frame, "Ctrl+X"));
  ActionFor(frame, "Ctrl+X")->trigger();
  EXPECT_EQ(field->text(), "");
  ActionFor(frame, "Ctrl+V")->trigger();
  ActionFor(frame, "Ctrl+V")->trigger();
  EXPECT_EQ(field->text(), "00");
  ActionFor(frame, "Ctrl+Z")->trigger();
  EXPECT_EQ(field->text(), "0");
}

// A field shows its whole text when scrolling to the end of the text moves
// nothing: a text too wide for the field scrolls, and its picture changes.
TEST_F(WindowTest, NumberFieldsShowTheWholeTextOfNormalPlay) {
  // The widest texts of rounds, scores up to four digits with a sign, and times up to 999 s.
  const char* const kTexts[] = {"10", "-9999", "9999", "999.999", "888.888", "0.013"};
  for (auto field : {window->ScoreFiled(), window->TotalScoreField(), window->TimeField(), window->KaisuField(),
                     window->HighScoreField()}) {
    auto* edit = static_cast<QLineEdit*>(fw::WidgetOf(*field));
    for (const char* text : kTexts) {
      field->Text(text);
      const QImage atStart = edit->grab().toImage();
      edit->end(false);
      EXPECT_EQ(edit->grab().toImage(), atStart) << field->Name() << " cuts off part of \"" << text << "\"";
    }
  }
}

// The captions of a text control's context menu as Qt builds it, without
// mnemonics ("(&U)" or "&") and shortcuts.
std::vector<std::string> ContextMenuCaptions(QWidget* widget) {
  std::unique_ptr<QMenu> menu;
  if (auto* line = qobject_cast<QLineEdit*>(widget)) menu.reset(line->createStandardContextMenu());
  if (auto* area = qobject_cast<QPlainTextEdit*>(widget)) menu.reset(area->createStandardContextMenu());
  static const QRegularExpression mnemonic(R"(\(&.\)|&)");
  std::vector<std::string> captions;
  for (const QAction* action : menu ? menu->actions() : QList<QAction*>{})
    if (!action->isSeparator()) captions.push_back(action->text().section('\t', 0, 0).remove(mnemonic).toStdString());
  return captions;
}

TEST_F(WindowTest, TextFieldsContextMenusSpeakJapanese) {
  const std::vector<std::string> kCaptions = {"元に戻す", "やり直す", "切り取り",    "コピー",
                                              "貼り付け", "削除",     "すべてを選択"};
  for (const auto& control : std::vector<fw::Ref<fw::RectControl>>{window->TimeField(), window->OdaiField()})
    EXPECT_EQ(ContextMenuCaptions(fw::WidgetOf(*control)), kCaptions)
        << control->Name() << " (Qt's translation comes from Debian's qt6-translations-l10n)";
}

TEST_F(WindowTest, ReturnPressesTheDefaultStartButton) {
  QTest::keyClick(fw::WidgetOf(*window->KaisuField()), Qt::Key_Return);
  EXPECT_EQ(window->Kaisu, 1);
  EXPECT_EQ(window->KaisuField()->Text(), "1");
}

TEST_F(WindowTest, APoemStoreWithTooFewRowsStopsTheOpeningAtThatStep) {
  window->ListBox3()->InitialValue("ひとつ\rふたつ\r");
  window->OdaiField()->TextFont("System");
  window->ShogoText()->Text("");
  fw::CallFunctionWithExceptionHandling([&] { window->Event_Open(); });
  EXPECT_EQ(NewUnhandledExceptions(), 1);
  EXPECT_EQ(fw::LastUnhandledException(), "OutOfBoundsException: ListBox3 has no row 2");
  EXPECT_EQ(window->ShogoText()->Text(), "なし") << "the steps before stay done";
  EXPECT_EQ(window->OdaiString[51], "ふたつ");
  EXPECT_EQ(window->OdaiField()->TextFont(), "System") << "the steps after are not done";
}

}  // namespace
}  // namespace karuta
