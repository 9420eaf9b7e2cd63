// The data of the two windows: the hundred poems, and every starting value of
// the game window and the message window, read back from the live controls
// and their widgets.

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>
#include <typeinfo>

#include "app/menubar1.h"
#include "game/card_canvases.h"
#include "game/message_window.h"
#include "support.h"

void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

void PrintTo(const QSize& s, std::ostream* os) { *os << s.width() << "x" << s.height(); }

void PrintTo(const QPoint& p, std::ostream* os) { *os << p.x() << "," << p.y(); }

namespace karuta {
namespace {

using testing::GameFixture;
using testing::RuntimeFixture;
using GameWindow = class KarutaWindow;
constexpr int64_t kNo = fw::kNoIndex;

// The poem of each card number: the upper verse, one ideographic space, the
// lower verse.
struct Poem {
  int card;
  const char* text;
};

constexpr Poem kPoems[] = {
    {0, "ほのぼのとはるこそそらにきにけらし　あめのかぐやまかすみたなびく"},
    {1, "やまふかみはるともしらぬまつのとに　たえだえかかるゆきのたまみず"},
    {2, "うめがえだにものうきほどにちるゆきを　はなともいはじはるのなだてに"},
    {3, "おおぞらはうめのにほひにかすみつく　くもりもはてぬはるのよのつき"},
    {4, "うめがかにむかしをとへばはるのつき　こたへぬかげぞそでにうつれる"},
    {5, "ひとりのみながめてちりぬうめのはな　しるばかりなるひとはとひこず"},
    {6, "しらくものたなびくやまのやまざくら　いづれをはなといきておらまし"},
    {7, "ふるさとにはなはちりつつみよしのの　やまのさくらはまださかずけり"},
    {8, "ながむとてはなにもいたくなれぬれば　ちるわかれこそかなしかりけれ"},
    {9, "たがためかあすはのこさむやまざくら　こぼれてにほへけふのかたみに"},
    {10, "はるすぎてなつきにけらししろたへの　ころもほすてふあまのかぐやま"},
    {11, "ほととぎすこゑまつほどはかたおかの　もりのいづくにたちやぬれまし"},
    {12, "さみだれのつきはつれなきみやまより　ひとりもいづるほととぎすかな"},
    {13, "たちばなのにほふあたりのうたたねは　ゆめもむかしのそでのかぞする"},
    {14, "かむなびのみむろのやまのつたかづら　うらふきかへすあきはきにけり"},
    {15, "ふきむすぶかぜはむかしのあきながら　ありしのもにぬそでのつゆかな"},
    {16, "おおぞらをわれもながめてひこぼしの　つままつよさへひとりかもねむ"},
    {17, "さをしかのあさたつのべのあきはぎに　たまとみるまでおけるしらつゆ"},
    {18, "さびしさはそのいろとしもかなりけり　まきたつやまのあきのゆふぐれ"},
    {19, "こころなきみにもあはれにしられけり　しぎたつさわのあきのゆふぐれ"},
    {20, "あしびきのやまのあたなにすむひとは　またでやあきのつきをみるらむ"},
    {21, "たのめたるひとはなけれどあきのよは　つきみてぬべきここちこそせぬ"},
    {22, "あきかぜにたなびくくものたえまより　もれいづるつきのかげのさやけさ"},
    {23, "あきのよのながきかひこそなかりけれ　まつにふけぬるありあけのつき"},
    {24, "われならぬひともあはれやまさるらむ　しかなくやまのあきのゆふぐれ"},
    {25, "いつのまにそらのけしきのかわるらむ　はげきしけさのこがらしのかぜ"},
    {26, "しぐれのあめのまなくしふればまきのはも　あらそひかねていろづきにけり"},
    {27, "をぐらやまふもとのさとにきのはちれば　こずえにはるるつきをみるかな"},
    {28, "さよふけてこゑさへさむきあしたずは　いくえのしもかおきまさるらむ"},
    {29, "たごのうらにうちいでてみればしろたへの　ふじのたかねにゆきはふりつつ"},
    {30, "ゆきのみやふりぬとはおもふやまざとに　われもおおくのとしぞつもれる"},
    {31, "けふごとにけふやかぎりとおしめども　またことしにあひにけるかな"},
    {32, "きみがよにあへるはだれもうれしきを　はなはいろにもいでにけるかな"},
    {33, "をみなえしみるにこころはなぐさまで　いとどむかしのあきぞこひしき"},
    {34, "よのなかはみしもききしもはかなくて　むなしきそらのけむりなりけり"},
    {35, "きのうみしひとはいかにとおどろけど　なほながきよるのゆめにぞありける"},
    {36, "わすれなむよにもこしじのかへるやま　いつはたひとにあはむとすらむ"},
    {37, "きたへゆくかりのはねにことづてよ　くものうはがきかきたえずして"},
    {38, "おもへどもさだなきよのはかなさに　いつをまてともえこそたのめぬ"},
    {39, "きみいなばつきまつとてもながめやらむ　あづまのかたのゆふぐれのそら"},
    {40, "とぶとりのあすかのそらをおきていなば　きみがあたりはみえずかもあらむ"},
    {41, "ありしのよのたびはたびともあらざりき　ひとりつゆけきくさまくらかな"},
    {42, "みやこにてつきをあはれとおもひしは　かずにもあらぬすさびなりけり"},
    {43, "みやこにもいまやころもをうつのやま　ゆふしもはらふつたのしたみち"},
    {44, "そでにしもつきかかれとはちぎりおかず　なみだはしるやうつのやまごえ"},
    {45, "むらさいきのいろにこころはあらねども　ふかくぞひとをおもひそめつる"},
    {46, "からころもそでにひとめはつつめども　こぼるるものはなみだなりけり"},
    {47, "いくかへりさきちるはなをながめつつ　ものおもひくらすはるにあふらむ"},
    {48, "たまのをよたえなばたえねながらへば　しのぶることのよわりもぞする"},
    {49, "しのぶるにこころのすきはなけれども　なほもるものはなみだなりけり"},
    {50, "ひとしれぬこひにわがみはしずめども　みるめにうくはなみだなりけり"},
    {51, "ものおもふといはぬばかりにはしのぶとも　いかがはすべきそでのしずくを"},
    {52, "わがこひはあふをかぎりのたのみだに　ゆくえもしらぬそらのうきぐも"},
    {53, "おもひしるひとありあけのよなりせば　つきせずみをばうらみざらまし"},
    {54, "わすれじのゆくすえまではかたければ　けふをかぎりのいのちもがな"},
    {55, "こひしさにけふぞたづぬるおくやまの　かげのつゆにそではぬれつつ"},
    {56, "あふまでのいのちおがなとおもひしは　くやしかりけるわがこころかな"},
    {57, "ゆめとてもひとにかたるなしるといへば　たむくらならぬまくらだにせず"},
    {58, "いまこむとたのめしことをわすれずは　このゆふぐれのつきやまつらむ"},
    {59, "あふことはこれやかぎりのたびならむ　くさのまくらもしもかれにけり"},
    {60, "ことのはのうつろふだにもあるものを　いとどしぐれのふりまさるらむ"},
    {61, "いるかたはさやかなりけるつきかげを　うはのそらにもまちしよひかな"},
    {62, "ものおもひてながむるころのつきのいろに　いかばかりなるあはれそふらむ"},
    {63, "わすれゆくひとゆゑそらをながむれば　たえだえにこそくももみえけれ"},
    {64, "あはれとてとふひとのなどなかるらむ　ものおもふやどのはぎのうわかぜ"},
    {65, "はかなぞしらぬいのちをなげきこし　わがかねことのかかりけるよに"},
    {66, "すぎにけるよよのちぎりもわららで　いとふうきみのはてぞはかなき"},
    {67, "むかしみしはるはむかしのはるながら　わがみひとつのあらずもあるかな"},
    {68, "おしめどもつねならむよのはななれば　いまはこのみをにしにもとめむ"},
    {69, "をみなえしさかりのいろをみるからに　つゆのわけきるみこそしらるれ"},
    {70, "やまふかくさこそこころはかよふとも　すまであはれをしらむものかは"},
    {71, "やまかげにすまぬこころはいかなれや　おしまれているつきもあるよに"},
    {72, "たれすみてあはれしるらむやまざとの　あめふりすさむゆうぐれのそら"},
    {73, "ふるさとはあさぢがすゑになりはてて　つきにのこれるひとのおもかげ"},
    {74, "ことのはのなかをなくなくたずぬれば　むかしのひとにあひみつるかな"},
    {75, "うれしさはわすれやはするいのぶくさ　しのぶるものをあきのゆふぐれ"},
    {76, "よのなかのはれゆくそらにふるしもの　うきみがかりぞおきどころなき"},
    {77, "くりかえしわがみのとがをもとむれば　きみなきよにめぐるなりけり"},
    {78, "うしといひてよをひたぶるにそむかねば　ものおもひしらぬみとやなりなむ"},
    {79, "ひとしれずそのなたをしのぶこころをば　かたぶくつきのたぐへてぞやる"},
    {80, "あきのよのあかつきがたのきりぎりす　ひとづてならできかましものを"},
    {81, "ゆふぐれはくものけしきをみるからに　ながめじとおもふこころこそつけ"},
    {82, "あきかぜはすごくふけどもつたのはの　うらみがほにはみえじとぞおもふ"},
    {83, "よのなかをいまはこころのつくからに　すぎにしかたぞいとどきひしき"},
    {84, "おもふべきわがのちのよはあるかなきか　なければこそはこのよにはすめ"},
    {85, "ながらへばまたこのころやしのばれむ　うしとみしよぞいまはこひしき"},
    {86, "みちとほしほどもはるかにへだてれり　おもひおこせよわれもわすれじ"},
    {87, "ちはやぶるかしいのみやのあやすぎは　かみのみそぎにたてるなりけり"},
    {88, "としをへてうきかげをのみみたらしの　かわるよもなきみをいかにせむ"},
    {89, "なにかおもふなにかはなげくよのなかは　ただあさがおのはなのうへのつゆ"},
    {90, "わたつうみのそこよりきつるほどもなく　このみながらにみをぞきはむる"},
    {91, "いろにのみそみしこころのくやしきを　むなしととけるほうのうれしさ"},
    {92, "むらさきのくもぢにさおふことのおとに　うきよをはらふみねのまつかぜ"},
    {93, "さらずとていくよもあわらじいざやさは　ほうにかへつるいのちとおもはむ"},
    {94, "いのしへのしかなくのべのいほりにも　こころのつきはくもらざりけり"},
    {95, "あひみてもみねにわかるるしらくもの　かかるこのよのいとはしきかな"},
    {96, "けふはいとどなみだにくれぬにしのやま　おもひいりびのかげをながめて"},
    {97, "にしへいくしるべとおおふつきかげの　そらだのめこそかひなかりけれ"},
    {98, "むかしみしつきのひかりをしるべにて　いまよいやきみがにしへいくらむ"},
    {99, "やみはれてこころのそらにすむつきは　にしのやまべやちかくなるらむ"},
};
static_assert(std::size(kPoems) == 100);

// The window's own values.
enum class MenuBarState { None, Hidden };

struct WindowValues {
  QSize size;  // of the content, in pixels
  const char* title;
  bool resizeable;         // else the size is fixed
  QSize minimum, maximum;  // the content's limits while resizeable
  bool closeButton, minimizeButton, maximizeButton;
  const char* background;  // its own background colour; nullptr: the platform's
  MenuBarState menuBar;
};

// The kinds of control, each with its framework class and its widget's class.
enum class Kind { CardCanvas, FudaCanvas, Label, TextField, TextArea, Listbox, PushButton, Separator, Canvas, Timer };

struct KindInfo {
  Kind kind;
  const char* name;
  const std::type_info& type;
  const char* widgetClass;
};

const KindInfo kKinds[] = {
    {Kind::CardCanvas, "CardCanvas", typeid(CardCanvas), "QWidget"},
    {Kind::FudaCanvas, "FudaCanvas", typeid(FudaCanvas), "QWidget"},
    {Kind::Label, "Label", typeid(fw::Label), "QLabel"},
    {Kind::TextField, "TextField", typeid(fw::TextField), "QLineEdit"},
    {Kind::TextArea, "TextArea", typeid(fw::TextArea), "QPlainTextEdit"},
    {Kind::Listbox, "Listbox", typeid(fw::Listbox), "QListWidget"},
    {Kind::PushButton, "PushButton", typeid(fw::PushButton), "QPushButton"},
    {Kind::Separator, "Separator", typeid(fw::Separator), "QFrame"},
    {Kind::Canvas, "Canvas", typeid(fw::Canvas), "QWidget"},
    {Kind::Timer, "Timer", typeid(_wrapper_MyTimer), nullptr},
};

const KindInfo& Info(Kind kind) {
  for (const KindInfo& info : kKinds)
    if (info.kind == kind) return info;
  throw std::logic_error("a kind without its entry");
}

std::string KindOf(const fw::Control& control) {
  for (const KindInfo& info : kKinds)
    if (typeid(control) == info.type) return info.name;
  return typeid(control).name();
}

// The flags a control's kind honours; an empty one is not checked.
struct Style {
  std::optional<bool> readOnly{};
  std::optional<bool> border{};
  std::optional<bool> multiline{};  // a label breaks its lines
  std::optional<bool> isDefault{};  // the window's default button
  std::optional<bool> scrollBars{};
  std::optional<bool> password{};
  const char* hint = nullptr;
  std::optional<int> maxLength{};   // 32767: no limit
  const char* base = nullptr;       // background of a text box; nullptr: the platform's
  const char* textColor = nullptr;  // nullptr: the platform's
  std::optional<int64_t> runMode{}, period{};
};

const Style kCaption{.multiline = false, .textColor = "#000000"};
const Style kMessageText{.multiline = true, .textColor = "#000000"};
const Style kNumberField{.readOnly = false,
                         .border = true,
                         .password = false,
                         .hint = "",
                         .maxLength = 32767,
                         .base = "#ffffff",
                         .textColor = "#000000"};
const Style kQuestionArea{
    .readOnly = false, .border = true, .scrollBars = false, .base = "#ffffff", .textColor = "#000000"};
const Style kPoemStore{.border = true};
const Style kButton{.isDefault = true};
const Style kPlain{};
const Style kTimer{.runMode = 2, .period = 1000};

struct FontValues {
  const char* name;  // nullptr: the control shows no text
  double size;       // pixels; 0 is the platform's size
  bool bold;
};

struct ControlRow {
  const char* name;
  int64_t index;
  Kind kind;
  QRect place;  // on the window's content
  bool visible;
  const char* text;  // text or caption; nullptr where there is none
  FontValues font;
  const char* parent;  // the frame of a card; "" for the window itself
  const Style* style;
};

// The game window as its layout builds it.
const WindowValues kGameWindow{.size = {560, 562},
                               .title = "霞札苑",
                               .resizeable = false,
                               .minimum = {},
                               .maximum = {},
                               .closeButton = true,
                               .minimizeButton = false,
                               .maximizeButton = false,
                               .background = "#ff9029",
                               .menuBar = MenuBarState::Hidden};

// Its 43 controls in creation order. The number fields with an Open handler
// show 0 from the start.
const ControlRow kGameControls[] = {
    {"CardCanvas", 1, Kind::CardCanvas, {132, 67, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 1, Kind::FudaCanvas, {142, 73, 70, 160}, true, nullptr, {}, "CardCanvas$1", &kPlain},
    {"CardCanvas", 0, Kind::CardCanvas, {21, 69, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 0, Kind::FudaCanvas, {31, 75, 70, 160}, true, nullptr, {}, "CardCanvas$0", &kPlain},
    {"StaticText1", kNo, Kind::Label, {108, 11, 30, 21}, true, "お題", {"MS 明朝", 12, false}, "", &kCaption},
    {"StaticText2", kNo, Kind::Label, {17, 43, 30, 21}, true, "お札", {"MS 明朝", 12, false}, "", &kCaption},
    {"StaticText3", kNo, Kind::Label, {9, 453, 38, 21}, true, "得点:", {"MS 明朝", 12, true}, "", &kCaption},
    {"ScoreFiled", kNo, Kind::TextField, {55, 454, 60, 20}, true, "0", {"System", 12, false}, "", &kNumberField},
    {"StaticText4", kNo, Kind::Label, {9, 484, 50, 16}, true, "総得点:", {"MS 明朝", 12, true}, "", &kCaption},
    {"TotalScoreField", kNo, Kind::TextField, {55, 482, 60, 20}, true, "0", {"System", 12, false}, "", &kNumberField},
    {"StaticText5", kNo, Kind::Label, {156, 454, 38, 21}, true, "時間：", {"MS 明朝", 12, true}, "", &kCaption},
    {"TimeField", kNo, Kind::TextField, {203, 455, 60, 20}, true, "", {"System", 12, false}, "", &kNumberField},
    {"MyTimer", kNo, Kind::Timer, {}, false, nullptr, {}, "", &kTimer},
    {"Separator1", kNo, Kind::Separator, {0, 436, 630, 4}, true, nullptr, {}, "", &kPlain},
    {"StartButton", kNo, Kind::PushButton, {457, 10, 69, 22}, true, "開始", {"魚石行書", 12, false}, "", &kButton},
    {"OdaiField", kNo, Kind::TextArea, {145, 4, 280, 41}, true, "", {"MS明朝", 12, false}, "", &kQuestionArea},
    {"ListBox1", kNo, Kind::Listbox, {0, 512, 234, 45}, false, nullptr, {"System", 12, false}, "", &kPoemStore},
    {"ListBox3", kNo, Kind::Listbox, {0, 554, 234, 45}, true, nullptr, {"System", 12, false}, "", &kPoemStore},
    {"StaticText6", kNo, Kind::Label, {275, 453, 38, 21}, true, "回数：", {"MS 明朝", 12, true}, "", &kCaption},
    {"KaisuField", kNo, Kind::TextField, {325, 454, 60, 20}, true, "0", {"System", 12, false}, "", &kNumberField},
    {"StaticText7", kNo, Kind::Label, {275, 482, 38, 21}, true, "称号：", {"MS 明朝", 12, true}, "", &kCaption},
    {"StaticText8", kNo, Kind::Label, {141, 486, 58, 16}, true, "最高得点:", {"MS 明朝", 12, true}, "", &kCaption},
    {"HighScoreField", kNo, Kind::TextField, {203, 482, 60, 20}, true, "0", {"System", 12, false}, "", &kNumberField},
    {"ShogoText", kNo, Kind::Label, {316, 483, 91, 20}, true, "", {"平成明朝", 12, false}, "", &kCaption},
    {"Separator2", kNo, Kind::Separator, {0, 249, 630, 4}, true, nullptr, {}, "", &kPlain},
    {"CardCanvas", 2, Kind::CardCanvas, {241, 67, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 2, Kind::FudaCanvas, {251, 74, 70, 160}, true, nullptr, {}, "CardCanvas$2", &kPlain},
    {"CardCanvas", 3, Kind::CardCanvas, {355, 69, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 3, Kind::FudaCanvas, {365, 75, 70, 160}, true, nullptr, {}, "CardCanvas$3", &kPlain},
    {"CardCanvas", 4, Kind::CardCanvas, {457, 67, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 4, Kind::FudaCanvas, {467, 73, 70, 160}, true, nullptr, {}, "CardCanvas$4", &kPlain},
    {"CardCanvas", 5, Kind::CardCanvas, {21, 258, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 5, Kind::FudaCanvas, {31, 263, 70, 160}, true, nullptr, {}, "CardCanvas$5", &kPlain},
    {"CardCanvas", 6, Kind::CardCanvas, {132, 258, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 6, Kind::FudaCanvas, {142, 264, 70, 160}, true, nullptr, {}, "CardCanvas$6", &kPlain},
    {"CardCanvas", 7, Kind::CardCanvas, {241, 258, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 7, Kind::FudaCanvas, {251, 264, 70, 160}, true, nullptr, {}, "CardCanvas$7", &kPlain},
    {"CardCanvas", 8, Kind::CardCanvas, {355, 259, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 8, Kind::FudaCanvas, {365, 265, 70, 160}, true, nullptr, {}, "CardCanvas$8", &kPlain},
    {"CardCanvas", 9, Kind::CardCanvas, {462, 259, 90, 170}, true, nullptr, {}, "", &kPlain},
    {"FudaCanvas", 9, Kind::FudaCanvas, {472, 265, 70, 160}, true, nullptr, {}, "CardCanvas$9", &kPlain},
    {"MyCanvas", kNo, Kind::Canvas, {476, 454, 50, 50}, true, nullptr, {}, "", &kPlain},
    {"Label1", kNo, Kind::Label, {404, 472, 100, 20}, false, "正解", {"System", 0, false}, "", &kCaption},
};

// What the game window's Open handler changes: its size, the title label and
// one font for the question area, the Start button and two captions.
constexpr QSize kOpenedSize{570, 510};

struct OpeningChange {
  const char* name;
  const char* text;  // nullptr: unchanged
  const char* font;  // nullptr: unchanged
};

constexpr OpeningChange kOpening[] = {
    {"ShogoText", "なし", nullptr},       {"OdaiField", nullptr, "平成明朝"},   {"StartButton", nullptr, "平成明朝"},
    {"StaticText1", nullptr, "平成明朝"}, {"StaticText2", nullptr, "平成明朝"},
};

// The message window as a game over opens it, with an empty message.
const WindowValues kMessageWindow{.size = {388, 100},
                                  .title = "",
                                  .resizeable = true,
                                  .minimum = {64, 64},
                                  .maximum = {32000, 32000},
                                  .closeButton = true,
                                  .minimizeButton = true,
                                  .maximizeButton = true,
                                  .background = nullptr,
                                  .menuBar = MenuBarState::None};

const ControlRow kMessageControls[] = {
    {"Message", kNo, Kind::Label, {20, 14, 348, 52}, true, "", {"MS明朝", 12, false}, "", &kMessageText},
    {"OKButton", kNo, Kind::PushButton, {240, 71, 69, 22}, true, "OK", {"System", 12, false}, "", &kButton},
};

std::string Who(const std::string& name, int64_t index) {
  return index == kNo ? name : name + "(" + std::to_string(index) + ")";
}

fw::Ref<fw::Control> Find(const fw::Window& window, const std::string& name, int64_t index) {
  return index == kNo ? window.ControlByName(name) : window.ControlByNameIndex(name, index);
}

// The control a widget belongs to, for messages.
std::string NameOf(const fw::Window& window, const QWidget* widget) {
  if (widget == window.Platform().content) return "the window";
  for (const fw::Ref<fw::Control>& control : window.Controls()) {
    auto rect = std::dynamic_pointer_cast<fw::RectControl>(control);
    if (rect && fw::WidgetOf(*rect) == widget) return Who(control->Name(), control->Index());
  }
  return widget ? widget->metaObject()->className() : "nothing";
}

std::string ColorName(const QColor& color) { return color.name().toStdString(); }

void ExpectWindow(const fw::Window& window, const WindowValues& want, const std::string& who) {
  fw::WindowPlatform& p = window.Platform();
  const QSize size(static_cast<int>(window.Width()), static_cast<int>(window.Height()));
  EXPECT_EQ(size, want.size) << who << ": Width, Height";
  EXPECT_EQ(p.content->size(), want.size) << who << ": content size";
  EXPECT_EQ(p.frame->size(), want.size) << who << ": frame size, which holds the content alone";
  EXPECT_EQ(p.content->pos(), QPoint(0, 0)) << who << ": content place in the frame";
  EXPECT_EQ(window.Title(), want.title) << who << ": Title";
  EXPECT_EQ(p.frame->windowTitle().toStdString(), want.title) << who << ": frame title";
  if (want.resizeable) {
    EXPECT_EQ(p.content->minimumSize(), want.minimum) << who << ": MinimumWidth, MinimumHeight";
    EXPECT_EQ(p.content->maximumSize(), want.maximum) << who << ": MaximumWidth, MaximumHeight";
    EXPECT_NE(p.frame->minimumSize(), p.frame->maximumSize()) << who << ": Resizeable";
  } else {
    for (QWidget* widget : {static_cast<QWidget*>(p.frame), p.content.data()}) {
      const char* what = widget == p.frame ? "frame" : "content";
      EXPECT_EQ(widget->minimumSize(), want.size) << who << ": not Resizeable, " << what << " minimum size";
      EXPECT_EQ(widget->maximumSize(), want.size) << who << ": not Resizeable, " << what << " maximum size";
    }
  }
  const Qt::WindowFlags flags = p.frame->windowFlags();
  EXPECT_EQ(flags.testFlag(Qt::WindowCloseButtonHint), want.closeButton) << who << ": HasCloseButton";
  EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), want.minimizeButton) << who << ": HasMinimizeButton";
  EXPECT_EQ(flags.testFlag(Qt::WindowMaximizeButtonHint), want.maximizeButton) << who << ": HasMaximizeButton";

  const std::string background =
      want.background ? want.background : ColorName(QApplication::palette(p.frame).color(QPalette::Window));
  EXPECT_EQ(ColorName(p.frame->palette().color(QPalette::Window)), background) << who << ": BackgroundColor";
  EXPECT_EQ(p.content->autoFillBackground(), want.background != nullptr) << who << ": HasBackgroundColor";
  const QImage seen = p.frame->grab(QRect(p.content->mapTo(p.frame, QPoint(2, 2)), QSize(1, 1))).toImage();
  EXPECT_EQ(ColorName(seen.pixelColor(0, 0)), background) << who << ": background as seen where no control lies";

  if (want.menuBar == MenuBarState::None) {
    EXPECT_FALSE(window.MenuBar()) << who << ": has no menu bar";
    EXPECT_FALSE(p.frame->menuWidget()) << who << ": frame has no menu bar";
  } else {
    EXPECT_EQ(window.MenuBar(), MenuBar1()) << who << ": MenuBar";
    ASSERT_TRUE(p.menuBar) << who << ": frame has its menu bar";
    EXPECT_EQ(p.frame->menuWidget(), p.menuBar.data()) << who << ": frame has its menu bar";
    EXPECT_TRUE(p.menuBar->isHidden()) << who << ": MenuBarVisible false";
  }
}

void ExpectTimer(const fw::Control& control, const Style& style, const std::string& who) {
  const auto& timer = dynamic_cast<const fw::Timer&>(control);
  EXPECT_EQ(timer.RunMode(), *style.runMode) << who << ": RunMode";
  EXPECT_EQ(timer.Period(), *style.period) << who << ": Period";
  EXPECT_TRUE(timer.Enabled()) << who << ": Enabled";
  EXPECT_TRUE(timer.IsRunning()) << who << ": running";
}

// The text as the framework and as the widget give it; nullopt for a control without text.
std::pair<std::optional<std::string>, std::optional<std::string>> TextOf(const fw::Control& control, QWidget* widget) {
  if (auto* label = dynamic_cast<const fw::Label*>(&control))
    return {label->Text(), static_cast<QLabel*>(widget)->text().toStdString()};
  if (auto* field = dynamic_cast<const fw::TextField*>(&control))
    return {field->Text(), static_cast<QLineEdit*>(widget)->text().toStdString()};
  if (auto* area = dynamic_cast<const fw::TextArea*>(&control))
    return {area->Text(), static_cast<QPlainTextEdit*>(widget)->toPlainText().toStdString()};
  if (auto* button = dynamic_cast<const fw::PushButton*>(&control))
    return {button->Caption(), static_cast<QPushButton*>(widget)->text().toStdString()};
  return {};
}

void ExpectFont(const fw::TextControl& control, QWidget* widget, const FontValues& want, const std::string& who) {
  EXPECT_EQ(control.TextFont(), want.name) << who << ": TextFont";
  EXPECT_EQ(control.TextSize(), want.size) << who << ": TextSize";
  EXPECT_EQ(control.Bold(), want.bold) << who << ": Bold";

  const QFont font = widget->font();
  const QFont system = QApplication::font();
  const bool named = std::string(want.name) != "System";
  EXPECT_EQ(font.family().toStdString(), named ? want.name : system.family().toStdString())
      << who << ": widget font family";
  if (want.size > 0) {
    EXPECT_EQ(font.pixelSize(), static_cast<int>(want.size)) << who << ": widget font pixel size";
  } else {
    EXPECT_EQ(font.pixelSize(), system.pixelSize()) << who << ": widget font at the platform's pixel size";
    EXPECT_EQ(font.pointSizeF(), system.pointSizeF()) << who << ": widget font at the platform's point size";
  }
  EXPECT_EQ(font.weight(), want.bold ? QFont::Bold : QFont::Normal) << who << ": widget font weight";
  EXPECT_FALSE(font.italic()) << who << ": widget font italic";
  EXPECT_FALSE(font.underline()) << who << ": widget font underlined";
  const std::string resolved = QFontInfo(font).family().toStdString();
  if (named) {
    EXPECT_NE(resolved.find("Mincho"), std::string::npos) << who << ": " << want.name << " resolves to " << resolved;
  } else {
    EXPECT_EQ(resolved, QFontInfo(system).family().toStdString()) << who << ": System resolves to the platform's";
  }
}

void ExpectStyle(const fw::Control& control, QWidget* widget, const Style& style, const std::string& who) {
  auto* line = qobject_cast<QLineEdit*>(widget);
  auto* area = qobject_cast<QPlainTextEdit*>(widget);
  auto* list = qobject_cast<QListWidget*>(widget);
  if (style.readOnly) {
    ASSERT_TRUE(line || area) << who << ": a text box";
    EXPECT_EQ(line ? line->isReadOnly() : area->isReadOnly(), *style.readOnly) << who << ": ReadOnly";
  }
  if (style.border) {
    const bool framed = line ? line->hasFrame() : qobject_cast<QFrame*>(widget)->frameShape() != QFrame::NoFrame;
    EXPECT_EQ(framed, *style.border) << who << ": HasBorder";
  }
  if (style.multiline) {
    EXPECT_EQ(static_cast<QLabel*>(widget)->wordWrap(), *style.multiline) << who << ": Multiline";
  }
  if (style.isDefault) {
    EXPECT_EQ(dynamic_cast<const fw::PushButton&>(control).Default(), *style.isDefault) << who << ": Default";
    EXPECT_EQ(static_cast<QPushButton*>(widget)->isDefault(), *style.isDefault) << who << ": widget default";
  }
  if (style.scrollBars) {
    const Qt::ScrollBarPolicy policy = *style.scrollBars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    EXPECT_EQ(area->verticalScrollBarPolicy(), policy) << who << ": HasVerticalScrollbar";
    EXPECT_EQ(area->horizontalScrollBarPolicy(), policy) << who << ": HasHorizontalScrollbar";
  }
  if (style.password) {
    EXPECT_EQ(line->echoMode(), *style.password ? QLineEdit::Password : QLineEdit::Normal) << who << ": Password";
  }
  if (style.hint) {
    EXPECT_EQ(line->placeholderText().toStdString(), style.hint) << who << ": Hint";
  }
  if (style.maxLength) {
    EXPECT_EQ(line->maxLength(), *style.maxLength) << who << ": MaximumCharactersAllowed";
  }

  if (line || area || list) {
    const QColor platform = QApplication::palette(widget).color(QPalette::Base);
    EXPECT_EQ(ColorName(widget->palette().color(QPalette::Base)), style.base ? style.base : ColorName(platform))
        << who << ": BackgroundColor";
  }
  if (dynamic_cast<const fw::TextControl*>(&control)) {
    const QPalette::ColorRole role = qobject_cast<QLabel*>(widget)        ? QPalette::WindowText
                                     : qobject_cast<QPushButton*>(widget) ? QPalette::ButtonText
                                                                          : QPalette::Text;
    const QColor platform = QApplication::palette(widget).color(role);
    EXPECT_EQ(ColorName(widget->palette().color(role)), style.textColor ? style.textColor : ColorName(platform))
        << who << ": TextColor";
  }
}

void ExpectControl(const fw::Window& window, const ControlRow& want, const std::string& windowName) {
  const std::string who = windowName + " " + Who(want.name, want.index);
  const fw::Ref<fw::Control> control = Find(window, want.name, want.index);
  ASSERT_TRUE(control) << who << " is missing";
  EXPECT_EQ(control->Index(), want.index) << who << ": Index";
  EXPECT_EQ(KindOf(*control), Info(want.kind).name) << who << ": kind";
  if (want.kind == Kind::Timer) return ExpectTimer(*control, *want.style, who);

  auto rect = std::dynamic_pointer_cast<fw::RectControl>(control);
  ASSERT_TRUE(rect) << who << " has no place";
  QWidget* widget = fw::WidgetOf(*rect);
  QWidget* content = window.Platform().content;
  EXPECT_STREQ(widget->metaObject()->className(), Info(want.kind).widgetClass) << who << ": widget class";

  QWidget* parent = content;
  if (*want.parent) {
    const std::string reference = want.parent;
    const size_t dollar = reference.find('$');
    auto frame =
        fw::Cast<fw::RectControl>(Find(window, reference.substr(0, dollar), std::stoll(reference.substr(dollar + 1))));
    parent = fw::WidgetOf(*frame);
  }
  EXPECT_EQ(NameOf(window, widget->parentWidget()), NameOf(window, parent)) << who << ": InitialParent";
  ASSERT_TRUE(content->isAncestorOf(widget)) << who << " lies outside the window's content";
  const QRect seen(widget->mapTo(content, QPoint(0, 0)), widget->size());
  EXPECT_EQ(seen, want.place) << who << ": place and size on the window";
  const QRect accessors(static_cast<int>(rect->Left()), static_cast<int>(rect->Top()), static_cast<int>(rect->Width()),
                        static_cast<int>(rect->Height()));
  EXPECT_EQ(accessors, want.place) << who << ": Left, Top, Width, Height";

  EXPECT_EQ(rect->Visible(), want.visible) << who << ": Visible";
  EXPECT_EQ(widget->isVisibleTo(content), want.visible) << who << ": widget shown";
  EXPECT_TRUE(rect->Enabled()) << who << ": Enabled";
  EXPECT_TRUE(widget->isEnabled()) << who << ": widget enabled";

  const auto [text, shown] = TextOf(*control, widget);
  EXPECT_EQ(text.has_value(), want.text != nullptr) << who << ": has a text";
  if (text && want.text) {
    EXPECT_EQ(*text, want.text) << who << ": Text";
    EXPECT_EQ(*shown, want.text) << who << ": text the widget shows";
  }

  auto* textControl = dynamic_cast<const fw::TextControl*>(control.get());
  EXPECT_EQ(textControl != nullptr, want.font.name != nullptr) << who << ": has a font";
  if (textControl && want.font.name) ExpectFont(*textControl, widget, want.font, who);

  ExpectStyle(*control, widget, *want.style, who);
}

// Creation order, then every control's values.
void ExpectControls(const fw::Window& window, const std::vector<ControlRow>& want, const std::string& windowName) {
  const std::vector<fw::Ref<fw::Control>>& controls = window.Controls();
  EXPECT_EQ(controls.size(), want.size()) << windowName << ": controls made";
  for (size_t n = 0; n < std::min(controls.size(), want.size()); ++n)
    EXPECT_EQ(Who(controls[n]->Name(), controls[n]->Index()), Who(want[n].name, want[n].index))
        << windowName << ": control " << n + 1 << " in creation order";
  for (const ControlRow& row : want) ExpectControl(window, row, windowName);
}

template <size_t N>
std::vector<ControlRow> Rows(const ControlRow (&rows)[N]) {
  return {std::begin(rows), std::end(rows)};
}

std::vector<ControlRow> OpenedGameControls() {
  std::vector<ControlRow> rows = Rows(kGameControls);
  for (const OpeningChange& change : kOpening)
    for (ControlRow& row : rows)
      if (std::string_view(row.name) == change.name) {
        if (change.text) row.text = change.text;
        if (change.font) row.font.name = change.font;
      }
  return rows;
}

class LayoutDataTest : public GameFixture {};

TEST_F(LayoutDataTest, ThePoemTableHoldsEachCardsPoem) {
  for (int k = 0; k < 100; ++k) {
    ASSERT_EQ(kPoems[k].card, k) << "the table runs by card number";
    EXPECT_EQ(window->OdaiString[k], std::string(kPoems[k].text)) << "OdaiString(" << k << "): poem of card " << k;
  }
}

TEST_F(LayoutDataTest, EachPoemStoreListsFiftyPoems) {
  struct Store {
    fw::Ref<fw::Listbox> box;
    int firstCard;
  };
  for (const Store& store : {Store{window->ListBox1(), 0}, Store{window->ListBox3(), 50}}) {
    const std::string& name = store.box->Name();
    auto* list = static_cast<QListWidget*>(fw::WidgetOf(*store.box));
    ASSERT_EQ(store.box->RowCount(), 50) << name << " rows";
    ASSERT_EQ(list->count(), 50) << name << " rows listed";
    for (int r = 0; r < 50; ++r) {
      const Poem& poem = kPoems[store.firstCard + r];
      EXPECT_EQ(store.box->List(r), std::string(poem.text)) << name << ".List(" << r << "): poem of card " << poem.card;
      EXPECT_EQ(list->item(r)->text().toStdString(), std::string(poem.text))
          << name << " row " << r << " as listed: poem of card " << poem.card;
    }
  }
}

TEST_F(LayoutDataTest, TheGameWindowOpensWithItsOwnValues) {
  WindowValues opened = kGameWindow;
  opened.size = kOpenedSize;
  ExpectWindow(*window, opened, "game window");
}

TEST_F(LayoutDataTest, EveryControlOfTheGameWindowOpensWithItsValues) {
  ExpectControls(*window, OpenedGameControls(), "game window");
}

// The game window as its layout builds it, before its Open handler.
class LayoutOnlyWindow : public GameWindow {
 public:
  void Event_Open() override {}
};

class BuiltLayoutTest : public RuntimeFixture {};

TEST_F(BuiltLayoutTest, TheGameWindowIsBuiltAsItsLayoutGives) {
  auto built = std::make_shared<LayoutOnlyWindow>();
  built->Constructor();
  ExpectWindow(*built, kGameWindow, "game window as built");
  ExpectControls(*built, Rows(kGameControls), "game window as built");
}

TEST_F(BuiltLayoutTest, TheMessageWindowOpensWithItsValues) {
  fw::Ref<class MessageWindow> message = MessageWindow();
  ExpectWindow(*message, kMessageWindow, "message window");
  ExpectControls(*message, Rows(kMessageControls), "message window");
}

}  // namespace
}  // namespace karuta
