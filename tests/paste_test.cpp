// What comes into the text controls from outside the program: a paste by
// every key, click and menu, and a drop, whatever the clipboard, the
// selection or the drag holds. The question area takes plain text up to its
// limit and nothing else, a number field what Qt gives it, and the game
// goes on.

#include <QAbstractScrollArea>
#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

#include "framework/text.h"
#include "screen.h"
#include "selection_owner.h"
#include "x_server.h"

namespace karuta {
namespace {

using testing::kHangMs;
using testing::SelectionOwner;

// The characters a text control takes when its layout sets no limit.
constexpr int kLimit = 32767;

const std::string kMegabyte(1 << 20, 'x');  // one unbroken line

bool OnX() { return QGuiApplication::platformName() == "xcb"; }

QMimeData* Holding(const std::function<void(QMimeData&)>& fill) {
  auto* data = new QMimeData;
  fill(*data);
  return data;
}

QMimeData* Text(const std::string& text) {
  return Holding([&](QMimeData& m) { m.setText(QString::fromStdString(text)); });
}

// What a clipboard, a selection or a drag holds (nullptr: nobody owns it),
// and what each kind of control holds once it is pasted there: the question
// area, empty before, and a number field, "0" before with its cursor at the
// start. The area breaks its lines at carriage returns; a field keeps what
// it is given on one line, and as Qt has it, a paste gives it a file list's
// address while a drop of one is refused.
struct Source {
  const char* name;
  std::function<QMimeData*()> make;
  std::string inArea, inField;
  std::optional<std::string> inFieldDropped = {};  // where a drop differs
};

const Source kSources[] = {
    {"NobodyOwningIt", [] { return nullptr; }, "", "0"},
    {"NoFormats", [] { return new QMimeData; }, "", "0"},
    {"OnlyAnImage",
     [] {
       return Holding([](QMimeData& m) {
         QImage image(8, 8, QImage::Format_RGB32);
         image.fill(Qt::red);
         m.setImageData(image);
       });
     },
     "", "0"},
    {"OnlyAFileList",
     [] { return Holding([](QMimeData& m) { m.setUrls({QUrl::fromLocalFile("/etc/hostname")}); }); }, "",
     "file:///etc/hostname0", "0"},
    {"OnlyHtml", [] { return Holding([](QMimeData& m) { m.setHtml("<b>秋の田の</b>"); }); }, "", "0"},
    {"APoemLine", [] { return Text("秋の田の"); }, "秋の田の", "秋の田の0"},
    {"AMegabyteOfUnbrokenText", [] { return Text(kMegabyte); }, kMegabyte.substr(0, kLimit),
     kMegabyte.substr(0, kLimit - 1) + "0"},
    {"ControlCharacters", [] { return Text("a\tb\x01" "c\x7f" "d\x1b" "e"); }, "a\tb\x01" "c\x7f" "d\x1b" "e",
     "a\tb\x01" "c\x7f" "d\x1b" "e0"},
    {"LineBreaks", [] { return Text("上の句\n下の句\r\n"); }, "上の句\r下の句\r", "上の句\n下の句\r\n0"},
};

struct Target {
  const char* name;
  const char* control;
};
const Target kTargets[] = {{"IntoTheQuestionArea", "OdaiField"}, {"IntoANumberField", "KaisuField"}};

class PasteFixture : public testing::GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->Platform().frame)) << "the game window never showed";
  }

  QWidget* Widget(const char* name) const {
    return fw::WidgetOf(*fw::Cast<fw::RectControl>(window->ControlByName(name)));
  }

  // The control takes the keyboard focus, its text cursor at the start.
  void Focus(const char* name) {
    QApplication::setActiveWindow(window->Platform().frame);
    QWidget* widget = Widget(name);
    widget->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), widget) << name << " did not take the focus";
    if (auto* line = qobject_cast<QLineEdit*>(widget)) line->setCursorPosition(0);
    if (auto* area = qobject_cast<QPlainTextEdit*>(widget)) area->moveCursor(QTextCursor::Start);
  }

  std::string TextOf(const char* name) const {
    const fw::Ref<fw::Control> control = window->ControlByName(name);
    if (auto field = std::dynamic_pointer_cast<fw::TextField>(control)) return field->Text();
    return fw::Cast<fw::TextArea>(control)->Text();
  }

  // The game goes on after whatever came in: a round starts and reveals its poem.
  void ExpectTheGameGoesOn() {
    EXPECT_TRUE(window->IsOpen()) << "the game window closed";
    EXPECT_EQ(NewUnhandledExceptions(), 0);
    PressStart();
    clock->Advance(1.0);
    Tick();
    EXPECT_EQ(window->OdaiField()->Text(), fw::Left(window->OdaiString[window->OdaiNum], 1)) << "the reveal";
    EXPECT_EQ(window->KaisuField()->Text(), "1") << "the round counter";
  }

  testing::SteadyLook look;  // before the window, which it must not repaint
};

// A way to paste or drop into the focused control. A paste reads the
// clipboard or the X primary selection; a drop brings what it drags.
struct Path {
  const char* name;
  std::optional<QClipboard::Mode> reads;
  std::function<void(const fw::Window&, QWidget* target, QMimeData* dragged)> act;
};

// Puts what the source holds where the path reads it (nullptr: nobody owns
// it); gives what a drop drags.
QMimeData* Offer(const Path& path, QMimeData* source) {
  if (!path.reads) return source ? source : new QMimeData;  // a drag always carries data
  const QClipboard::Mode mode = *path.reads;
  if (source)
    QGuiApplication::clipboard()->setMimeData(source, mode);
  else
    QGuiApplication::clipboard()->clear(mode);
  if (!source && OnX()) {
    testing::XDisplay x;
    EXPECT_EQ(x.OwnerOf(mode == QClipboard::Selection ? "PRIMARY" : "CLIPBOARD"), xcb_window_t{0})
        << "somebody still owns the " << (mode == QClipboard::Selection ? "selection" : "clipboard");
  }
  return nullptr;
}

// Where a control takes mouse presses and drops.
QWidget* Surface(QWidget* widget) {
  auto* area = qobject_cast<QAbstractScrollArea*>(widget);
  return area ? area->viewport() : widget;
}

// A drag that enters and moves, then drops where it is welcome and leaves
// where it is not.
void Drop(QWidget* onto, std::unique_ptr<QMimeData> data) {
  const QPoint at(2, 2);
  QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(onto, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(onto, &move);
  if (!move.isAccepted()) {
    QDragLeaveEvent leave;
    QApplication::sendEvent(onto, &leave);
    return;
  }
  QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(onto, &drop);
}

void TriggerContextMenuPaste(QWidget* target) {
  std::unique_ptr<QMenu> menu;
  if (auto* line = qobject_cast<QLineEdit*>(target)) menu.reset(line->createStandardContextMenu());
  if (auto* area = qobject_cast<QPlainTextEdit*>(target)) menu.reset(area->createStandardContextMenu());
  for (QAction* action : menu ? menu->actions() : QList<QAction*>{})
    if (action->text().startsWith("貼り付け")) return action->trigger();
  ADD_FAILURE() << "the context menu has no 貼り付け";
}

void TriggerMenuItem(const fw::Window& w, const char* item) {
  const QString text = QString::fromStdString(w.MenuBar()->Lookup(item)->Text());
  for (QAction* action : w.Platform().menuBar->findChildren<QAction*>())
    if (action->text() == text) return action->trigger();
  ADD_FAILURE() << "the menus have no item " << item;
}

void Keys(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);  // to the focused widget
}

const Path kPaths[] = {
    {"CtrlV", QClipboard::Clipboard,
     [](const fw::Window&, QWidget*, QMimeData*) { Keys(Qt::Key_V, Qt::ControlModifier); }},
    {"ShiftInsert", QClipboard::Clipboard,
     [](const fw::Window&, QWidget*, QMimeData*) { Keys(Qt::Key_Insert, Qt::ShiftModifier); }},
    {"MiddleClick", QClipboard::Selection,
     [](const fw::Window&, QWidget* target, QMimeData*) {
       QTest::mouseClick(Surface(target), Qt::MiddleButton, {}, QPoint(2, 2));
     }},
    {"EditMenuPaste", QClipboard::Clipboard,
     [](const fw::Window& w, QWidget*, QMimeData*) { TriggerMenuItem(w, "EditPaste"); }},
    {"ContextMenuPaste", QClipboard::Clipboard,
     [](const fw::Window&, QWidget* target, QMimeData*) { TriggerContextMenuPaste(target); }},
    {"Drop", std::nullopt,
     [](const fw::Window&, QWidget* target, QMimeData* dragged) {
       Drop(Surface(target), std::unique_ptr<QMimeData>(dragged));
     }},
};

bool NeedsSelection(const Path& path) { return path.reads == QClipboard::Selection; }

// Each path into each kind of control, with each source.
using Case = std::tuple<size_t, size_t, size_t>;  // path, target, source

class PasteTest : public PasteFixture, public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    PasteFixture::SetUp();
    if (HasFatalFailure()) return;
    const auto [path, target, source] = GetParam();
    path_ = &kPaths[path];
    target_ = &kTargets[target];
    source_ = &kSources[source];
    if (NeedsSelection(*path_) && !QGuiApplication::clipboard()->supportsSelection())
      GTEST_SKIP() << "this platform has no primary selection";
    Focus(target_->control);
  }

  void Paste(QMimeData* source) { path_->act(*window, Widget(target_->control), Offer(*path_, source)); }
  bool IntoTheArea() const { return std::string(target_->control) == "OdaiField"; }

  const Path* path_ = nullptr;
  const Target* target_ = nullptr;
  const Source* source_ = nullptr;
};

// Text comes in as it stands, up to the control's limit, and nothing else
// does: where nothing comes in, the screen shows what it showed before.
TEST_P(PasteTest, InsertsTheTextUpToTheLimitOrNothing) {
  const std::string& expected = IntoTheArea()                                       ? source_->inArea
                                : !path_->reads && source_->inFieldDropped ? *source_->inFieldDropped
                                                                          : source_->inField;
  const bool changes = expected != TextOf(target_->control);
  const QImage before = testing::Settled(*window);
  Paste(source_->make());
  const std::string shown = TextOf(target_->control);
  EXPECT_EQ(fw::Len(shown), fw::Len(expected)) << "characters";
  EXPECT_TRUE(shown == expected) << "the first 40 characters: \"" << fw::Left(shown, 40) << "\" where \""
                                 << fw::Left(expected, 40) << "\" belongs";
  if (!changes) {
    const QImage after = testing::Settled(*window);
    EXPECT_TRUE(after == before) << "the screen changed in " << testing::WhereTheyDiffer(*window, after, before);
  }
  ExpectTheGameGoesOn();
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  const auto [path, target, source] = info.param;
  return std::string(kPaths[path].name) + kTargets[target].name + "With" + kSources[source].name;
}

INSTANTIATE_TEST_SUITE_P(, PasteTest,
                         ::testing::Combine(::testing::Range<size_t>(0, std::size(kPaths)),
                                            ::testing::Range<size_t>(0, std::size(kTargets)),
                                            ::testing::Range<size_t>(0, std::size(kSources))),
                         CaseName);

// Another client's clipboard or primary selection, as the X server hands it
// over: an owner that answers requests from its table, or never answers.
struct ClientOffer {
  const char* name;
  std::vector<SelectionOwner::Answer> answers;
  bool silent;
  std::string inArea, inField;
};

const std::string kReplacement = "\xef\xbf\xbd";  // U+FFFD, for each byte that is no UTF-8

const ClientOffer kClientOffers[] = {
    {"APoemLine", {SelectionOwner::Targets("TARGETS UTF8_STRING"), {"UTF8_STRING", "UTF8_STRING", 8, "秋の田の"}},
     false, "秋の田の", "秋の田の0"},
    {"InvalidUtf8WithControlCharacters",
     {SelectionOwner::Targets("TARGETS UTF8_STRING"), {"UTF8_STRING", "UTF8_STRING", 8, "a\xff\xfe" "b\x01\xc3"}},
     false, "a" + kReplacement + kReplacement + "b\x01" + kReplacement,
     "a" + kReplacement + kReplacement + "b\x01" + kReplacement + "0"},
    {"AMegabyteOfUnbrokenText",
     {SelectionOwner::Targets("TARGETS UTF8_STRING"), {"UTF8_STRING", "UTF8_STRING", 8, kMegabyte}}, false,
     kMegabyte.substr(0, kLimit), kMegabyte.substr(0, kLimit - 1) + "0"},
    {"OnlyAPngImage", {SelectionOwner::Targets("TARGETS image/png"), {"image/png", "image/png", 8, "\x89PNG\r\n"}},
     false, "", "0"},
    {"TextTargetsItRefuses", {SelectionOwner::Targets("TARGETS UTF8_STRING STRING TEXT text/plain")}, false, "",
     "0"},
    {"TargetsInTheWrongFormat", {{"TARGETS", "ATOM", 8, "\x01\x02\x03"}}, false, "", "0"},
    {"NoTargets", {SelectionOwner::Targets("")}, false, "", "0"},
    {"NoAnswerAtAll", {}, true, "", "0"},
};

const char* const kClientPaths[] = {"CtrlV", "MiddleClick"};

const Path& PathNamed(const std::string& name) {
  for (const Path& path : kPaths)
    if (path.name == name) return path;
  throw std::invalid_argument("no path " + name);
}

using ClientCase = std::tuple<size_t, size_t, size_t>;  // offer, path, target

class PasteFromAnotherClientTest : public PasteFixture, public ::testing::WithParamInterface<ClientCase> {
 protected:
  void SetUp() override {
    PasteFixture::SetUp();
    if (!OnX()) GTEST_SKIP() << "another client's clipboard needs an X server";
  }
};

TEST_P(PasteFromAnotherClientTest, InsertsItsTextUpToTheLimitOrNothing) {
  const auto [offerIndex, pathIndex, targetIndex] = GetParam();
  const ClientOffer& offer = kClientOffers[offerIndex];
  const Path& path = PathNamed(kClientPaths[pathIndex]);
  const Target& target = kTargets[targetIndex];
  Focus(target.control);
  const QClipboard::Mode mode = *path.reads;
  bool heard = false;
  QObject listening;  // its connection ends with it
  QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &listening,
                   [&](QClipboard::Mode changed) { heard = heard || changed == mode; });
  SelectionOwner owner(qEnvironmentVariable("DISPLAY"), mode == QClipboard::Selection ? "PRIMARY" : "CLIPBOARD",
                       offer.answers, offer.silent);
  ASSERT_TRUE(owner.Owns()) << "the other client could not take the selection";
  ASSERT_TRUE(QTest::qWaitFor([&] { return heard; }, kHangMs))
      << "the game never heard that another client took the selection";

  path.act(*window, Widget(target.control), nullptr);
  EXPECT_GT(owner.Requests(), 0) << "the paste never asked the other client";
  const std::string& expected = std::string(target.control) == "OdaiField" ? offer.inArea : offer.inField;
  const std::string shown = TextOf(target.control);
  EXPECT_EQ(fw::Len(shown), fw::Len(expected)) << "characters";
  EXPECT_TRUE(shown == expected) << "the first 40 characters: \"" << fw::Left(shown, 40) << "\" where \""
                                 << fw::Left(expected, 40) << "\" belongs";
  ExpectTheGameGoesOn();
}

std::string ClientCaseName(const ::testing::TestParamInfo<ClientCase>& info) {
  const auto [offer, path, target] = info.param;
  return std::string(kClientPaths[path]) + kTargets[target].name + "From" + kClientOffers[offer].name;
}

INSTANTIATE_TEST_SUITE_P(, PasteFromAnotherClientTest,
                         ::testing::Combine(::testing::Range<size_t>(0, std::size(kClientOffers)),
                                            ::testing::Range<size_t>(0, std::size(kClientPaths)),
                                            ::testing::Range<size_t>(0, std::size(kTargets))),
                         ClientCaseName);

}  // namespace
}  // namespace karuta
