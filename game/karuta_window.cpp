#include "game/karuta_window.h"

#include <string>

#include "app/menubar1.h"
#include "app/picture_store.h"
#include "framework/date.h"
#include "framework/random.h"
#include "framework/text.h"
#include "game/card_canvases.h"
#include "game/layout.h"
#include "game/message_window.h"
#include "game/rules.h"

namespace karuta {
namespace {

// The class, where the accessor of the same name hides it.
using GameWindow = class KarutaWindow;

// The card pictures by card number, fixed when the program is built.
constexpr PictureAccessor kCardPictures[] = {
#define KARUTA_CARD_ENTRY(name) name,
    KARUTA_CARD_PICTURES(KARUTA_CARD_ENTRY)
#undef KARUTA_CARD_ENTRY
};
static_assert(std::size(kCardPictures) == kCardNumbers);

template <class T>
fw::Ref<fw::Control> MakeControl(GameWindow& window, int64_t) {
  fw::Ref<T> control = window.New<T>();
  control->Constructor();
  return control;
}

template <class T>
fw::Ref<fw::Control> MakeArrayElement(GameWindow& window, int64_t index) {
  fw::Ref<T> control = window.New<T>();
  control->Constructor(index);
  return control;
}

fw::Ref<fw::Control> MakeTimer(GameWindow& window, int64_t) { return window.New<_wrapper_MyTimer>(); }

using ControlMaker = fw::Ref<fw::Control> (*)(GameWindow&, int64_t index);

// By ControlKind.
constexpr ControlMaker kMakers[] = {
    MakeArrayElement<class CardCanvas>, MakeArrayElement<class FudaCanvas>, MakeControl<fw::Label>,
    MakeControl<fw::TextField>,         MakeControl<fw::TextArea>,          MakeControl<fw::Listbox>,
    MakeControl<fw::PushButton>,        MakeControl<fw::Separator>,         MakeControl<fw::Canvas>,
    MakeTimer,
};

template <class C, auto Event, auto Handler>
void Bind(GameWindow& window, fw::Control& control) {
  auto& typed = dynamic_cast<C&>(control);
  (typed.*Event).AddEventHandler(fw::RuntimeCreateDelegate(window, Handler));
}

struct Binding {
  const char* control;
  void (*bind)(GameWindow&, fw::Control&);
};

// Per control in event order: MouseDown, Open, Paint.
constexpr Binding kBindings[] = {
    {"CardCanvas", Bind<fw::Canvas, &fw::Canvas::Open, &KarutaWindow::CardCanvas_Open>},
    {"CardCanvas", Bind<fw::Canvas, &fw::Canvas::Paint, &KarutaWindow::CardCanvas_Paint>},
    {"FudaCanvas", Bind<fw::Canvas, &fw::Canvas::MouseDown, &KarutaWindow::FudaCanvas_MouseDown>},
    {"FudaCanvas", Bind<fw::Canvas, &fw::Canvas::Open, &KarutaWindow::FudaCanvas_Open>},
    {"FudaCanvas", Bind<fw::Canvas, &fw::Canvas::Paint, &KarutaWindow::FudaCanvas_Paint>},
    {"ScoreFiled", Bind<fw::TextField, &fw::TextField::Open, &KarutaWindow::ScoreFiled_Open>},
    {"TotalScoreField", Bind<fw::TextField, &fw::TextField::Open, &KarutaWindow::TotalScoreField_Open>},
    {"KaisuField", Bind<fw::TextField, &fw::TextField::Open, &KarutaWindow::KaisuField_Open>},
    {"HighScoreField", Bind<fw::TextField, &fw::TextField::Open, &KarutaWindow::HighScoreField_Open>},
    {"StartButton", Bind<fw::PushButton, &fw::PushButton::Action, &KarutaWindow::StartButton_Action>},
    {"MyTimer", Bind<fw::Timer, &fw::Timer::Action, &KarutaWindow::MyTimer_Action>},
};

// The whole backdrop stretched over the whole canvas; nothing without one.
void DrawBackdrop(const fw::Canvas& canvas, fw::Graphics& g) {
  const fw::Ref<fw::Picture>& backdrop = canvas.Backdrop();
  if (!backdrop) return;
  g.DrawPicture(backdrop, 0, 0, static_cast<double>(canvas.Width()), static_cast<double>(canvas.Height()), 0, 0,
                static_cast<double>(backdrop->Width()), static_cast<double>(backdrop->Height()));
}

}  // namespace

void KarutaWindow::Layout() {
  MenuBar(MenuBar1());
  SetProperties(KarutaWindowProperties());
}

void KarutaWindow::CreateControls() {
  CreateControls0();
  CreateControls1();
}

void KarutaWindow::CreateControls0() { CreateControlRange(0, kFirstCreationStepControls); }

void KarutaWindow::CreateControls1() { CreateControlRange(kFirstCreationStepControls, KarutaWindowControls().size()); }

// Each control is made, registered, given its layout and bound to its handlers.
void KarutaWindow::CreateControlRange(size_t first, size_t last) {
  const std::vector<ControlLayout>& layouts = KarutaWindowControls();
  for (size_t n = first; n < last; ++n) {
    const ControlLayout& layout = layouts[n];
    const bool element = layout.index != fw::kNoIndex;
    const auto fetch = [&] {
      return element ? ControlByNameIndex(layout.name, layout.index) : ControlByName(layout.name);
    };
    AddControl(layout.name, kMakers[static_cast<size_t>(layout.kind)](*this, layout.index));
    fetch()->SetProperties(layout.properties);
    for (const Binding& binding : kBindings)
      if (std::string_view(binding.control) == layout.name) binding.bind(*this, *fetch());
  }
}

void KarutaWindow::Event_Open() {
  Height(510);
  Width(570);
  MyPoint = 0;
  TotalPoint = 0;
  HighScore = 0;
  MyFont = "平成明朝";
  Kaisu = 0;
  shogo = "なし";
  ShogoText()->Text(shogo);
  for (int64_t i = 0; i <= 49; ++i) OdaiString[i] = ListBox1()->List(i);
  for (int64_t i = 50; i <= 99; ++i) OdaiString[i] = ListBox3()->List(i - 50);
  OdaiField()->TextFont(MyFont);
  StartButton()->TextFont(MyFont);
  StaticText1()->TextFont(MyFont);
  StaticText2()->TextFont(MyFont);
}

void KarutaWindow::ScoreFiled_Open(fw::TextField& field) { field.Text(fw::Str(MyPoint)); }
void KarutaWindow::TotalScoreField_Open(fw::TextField& field) { field.Text(fw::Str(TotalPoint)); }
void KarutaWindow::KaisuField_Open(fw::TextField& field) { field.Text(fw::Str(Kaisu)); }
void KarutaWindow::HighScoreField_Open(fw::TextField& field) { field.Text(fw::Str(HighScore)); }

void KarutaWindow::CardCanvas_Open(fw::Canvas& canvas) { canvas.Backdrop(Green()); }
void KarutaWindow::FudaCanvas_Open(fw::Canvas& canvas) { canvas.Backdrop(Green()); }

void KarutaWindow::CardCanvas_Paint(fw::Canvas& canvas, fw::Graphics& g, const std::vector<fw::PaintArea>&) {
  DrawBackdrop(canvas, g);
}

void KarutaWindow::FudaCanvas_Paint(fw::Canvas& canvas, fw::Graphics& g, const std::vector<fw::PaintArea>&) {
  DrawBackdrop(canvas, g);
}

void KarutaWindow::StartButton_Action(fw::PushButton&) {
  fw::Random random;
  fw::Date date;
  MyCanvas()->Refresh(true);
  Label1()->Visible(false);
  OdaiField()->Text("");
  GameStarted = true;
  StartTime = date.TotalSeconds();
  if (Kaisu >= kRoundsPerGame)
    GameOver();
  else
    games = true;
  Kaisu = Kaisu + 1;
  KaisuField()->Text(fw::Str(Kaisu));
  for (int64_t j = 0; j < kCardNumbers; ++j) r.at(j) = j;
  for (int64_t i = 0; i < kCardsPerRound; ++i) {
    FudaNum.at(i) = r.at((Kaisu - 1) * kCardsPerRound + i);
    Fuda(i);
  }
  OdaiNum = FudaNum.at(random.InRange(0, kCardsPerRound - 1));
}

void KarutaWindow::MyTimer_Action(fw::Timer& timer) {
  fw::Date date;
  if (GameStarted) {
    OKtime = date.TotalSeconds();
    MyTime = OKtime - StartTime;
    const int64_t n = RevealedCharacters(MyTime);
    OdaiField()->Text(fw::Left(OdaiString.at(OdaiNum), n));
    timer.Period(1000);
  }
  TimeField()->Text(fw::Str(MyTime));
  ScoreFiled()->Text(fw::Str(MyPoint));
  TotalScoreField()->Text(fw::Str(TotalPoint));
}

bool KarutaWindow::FudaCanvas_MouseDown(fw::Canvas& canvas, int64_t, int64_t) {
  const int64_t i = canvas.Index();
  Seikai = OdaiNum == FudaNum.at(i);
  fw::Date date;
  OKtime = date.TotalSeconds();
  MyTime = OKtime - StartTime;
  OdaiField()->Text(OdaiString.at(OdaiNum));
  GameStarted = false;
  if (games) {
    Label1()->Text(Seikai ? "正解" : "ハズレ");
    Label1()->Visible(true);
    MyPoint = Seikai ? PointsForTime(MyTime) : 0;
    if (Seikai) games = false;
    TimeField()->Text(fw::Str(MyTime));
    ScoreFiled()->Text(fw::Str(MyPoint));
    TotalPoint = TotalPoint + MyPoint;
    TotalScoreField()->Text(fw::Str(TotalPoint));
    if (TotalPoint >= HighScore) {
      HighScore = TotalPoint;
      HighScoreField()->Text(fw::Str(HighScore));
    }
  }
  if (Kaisu >= kRoundsPerGame) GameOver();
  return false;
}

void KarutaWindow::GameOver() {
  Kaisu = 0;
  for (int64_t i = 0; i < kCardsPerRound; ++i) FudaCanvas(i)->Backdrop(nullptr);
  OdaiField()->Text("");
  shogo = TitleForTotal(TotalPoint);
  MessageWindow()->Message()->Text(GameOverMessage(TotalPoint, shogo));
  MessageWindow()->Show();
  ShogoText()->Text(shogo);
  TotalPoint = 0;
}

void KarutaWindow::Fuda(int64_t i) {
  const int64_t k = FudaNum.at(i);
  if (k < 0 || k >= kCardNumbers) return;
  fw::Ref<fw::Canvas> canvas = FudaCanvas(i);
  fw::Ref<fw::Picture> picture = kCardPictures[k]();
  canvas->Backdrop(picture);
}

template <class T>
fw::Ref<T> KarutaWindow::Named(const char* name) const {
  return fw::Cast<T>(ControlByName(name));
}

template <class T>
fw::Ref<T> KarutaWindow::MenuItemNamed(const char* name) const {
  return fw::Cast<T>(MenuBar()->Lookup(name));
}

fw::Ref<fw::Canvas> KarutaWindow::CardCanvas(int64_t index) const {
  return fw::Cast<fw::Canvas>(ControlByNameIndex("CardCanvas", index));
}

fw::Ref<fw::Canvas> KarutaWindow::FudaCanvas(int64_t index) const {
  return fw::Cast<fw::Canvas>(ControlByNameIndex("FudaCanvas", index));
}

fw::Ref<fw::Label> KarutaWindow::StaticText1() const { return Named<fw::Label>("StaticText1"); }
fw::Ref<fw::Label> KarutaWindow::StaticText2() const { return Named<fw::Label>("StaticText2"); }
fw::Ref<fw::Label> KarutaWindow::StaticText3() const { return Named<fw::Label>("StaticText3"); }
fw::Ref<fw::TextField> KarutaWindow::ScoreFiled() const { return Named<fw::TextField>("ScoreFiled"); }
fw::Ref<fw::Label> KarutaWindow::StaticText4() const { return Named<fw::Label>("StaticText4"); }
fw::Ref<fw::TextField> KarutaWindow::TotalScoreField() const { return Named<fw::TextField>("TotalScoreField"); }
fw::Ref<fw::Label> KarutaWindow::StaticText5() const { return Named<fw::Label>("StaticText5"); }
fw::Ref<fw::TextField> KarutaWindow::TimeField() const { return Named<fw::TextField>("TimeField"); }
fw::Ref<fw::Timer> KarutaWindow::MyTimer() const { return Named<fw::Timer>("MyTimer"); }
fw::Ref<fw::Separator> KarutaWindow::Separator1() const { return Named<fw::Separator>("Separator1"); }
fw::Ref<fw::PushButton> KarutaWindow::StartButton() const { return Named<fw::PushButton>("StartButton"); }
fw::Ref<fw::TextArea> KarutaWindow::OdaiField() const { return Named<fw::TextArea>("OdaiField"); }
fw::Ref<fw::Listbox> KarutaWindow::ListBox1() const { return Named<fw::Listbox>("ListBox1"); }
fw::Ref<fw::Listbox> KarutaWindow::ListBox3() const { return Named<fw::Listbox>("ListBox3"); }
fw::Ref<fw::Label> KarutaWindow::StaticText6() const { return Named<fw::Label>("StaticText6"); }
fw::Ref<fw::TextField> KarutaWindow::KaisuField() const { return Named<fw::TextField>("KaisuField"); }
fw::Ref<fw::Label> KarutaWindow::StaticText7() const { return Named<fw::Label>("StaticText7"); }
fw::Ref<fw::Label> KarutaWindow::StaticText8() const { return Named<fw::Label>("StaticText8"); }
fw::Ref<fw::TextField> KarutaWindow::HighScoreField() const { return Named<fw::TextField>("HighScoreField"); }
fw::Ref<fw::Label> KarutaWindow::ShogoText() const { return Named<fw::Label>("ShogoText"); }
fw::Ref<fw::Separator> KarutaWindow::Separator2() const { return Named<fw::Separator>("Separator2"); }
fw::Ref<fw::Canvas> KarutaWindow::MyCanvas() const { return Named<fw::Canvas>("MyCanvas"); }
fw::Ref<fw::Label> KarutaWindow::Label1() const { return Named<fw::Label>("Label1"); }

fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu2() const { return MenuItemNamed<fw::MenuItem>("UntitledMenu2"); }
fw::Ref<fw::MenuItem> KarutaWindow::EditMenu() const { return MenuItemNamed<fw::MenuItem>("EditMenu"); }
fw::Ref<fw::AppleMenuItem> KarutaWindow::UntitledMenu3() const {
  return MenuItemNamed<fw::AppleMenuItem>("UntitledMenu3");
}
fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu4() const { return MenuItemNamed<fw::MenuItem>("UntitledMenu4"); }
fw::Ref<fw::MenuItem> KarutaWindow::EditClear() const { return MenuItemNamed<fw::MenuItem>("EditClear"); }
fw::Ref<fw::MenuItem> KarutaWindow::EditPaste() const { return MenuItemNamed<fw::MenuItem>("EditPaste"); }
fw::Ref<fw::MenuItem> KarutaWindow::EditCopy() const { return MenuItemNamed<fw::MenuItem>("EditCopy"); }
fw::Ref<fw::MenuItem> KarutaWindow::EditCut() const { return MenuItemNamed<fw::MenuItem>("EditCut"); }
fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu0() const { return MenuItemNamed<fw::MenuItem>("UntitledMenu0"); }
fw::Ref<fw::MenuItem> KarutaWindow::EditUndo() const { return MenuItemNamed<fw::MenuItem>("EditUndo"); }
fw::Ref<fw::MenuItem> KarutaWindow::FileMenu() const { return MenuItemNamed<fw::MenuItem>("FileMenu"); }
fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu5() const { return MenuItemNamed<fw::MenuItem>("UntitledMenu5"); }
fw::Ref<fw::QuitMenuItem> KarutaWindow::FileQuit() const { return MenuItemNamed<fw::QuitMenuItem>("FileQuit"); }
fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu1() const { return MenuItemNamed<fw::MenuItem>("UntitledMenu1"); }

fw::Ref<class KarutaWindow> KarutaWindow() { return fw::ImplicitInstance<class KarutaWindow>(); }

}  // namespace karuta
