#include "game/layout.h"

#include <initializer_list>
#include <string>

#include "framework/controls.h"
#include "game/poems.h"

namespace karuta {
namespace {

using fw::Color;
using fw::PropertySet;

constexpr Color kWhite{0xFFFFFF};
constexpr Color kBlack{0x000000};

PropertySet Join(std::initializer_list<PropertySet> parts) {
  PropertySet joined;
  for (const PropertySet& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

// Place, visibility and the flags every control but the timer shares.
PropertySet Placed(int64_t index, int64_t left, int64_t top, int64_t width, int64_t height, bool visible,
                   int64_t tabIndex, const std::string& initialParent = "", bool lockLeft = false,
                   bool lockTop = false) {
  return {{"Index", index},
          {"InitialParent", initialParent},
          {"Left", left},
          {"Top", top},
          {"Width", width},
          {"Height", height},
          {"Visible", visible},
          {"Enabled", true},
          {"AllowAutoDeactivate", true},
          {"Tooltip", ""},
          {"LockLeft", lockLeft},
          {"LockTop", lockTop},
          {"LockRight", false},
          {"LockBottom", false},
          {"TabIndex", tabIndex},
          {"TabPanelIndex", int64_t{0}},
          {"TabStop", true}};
}

PropertySet Font(const char* name, double size, bool bold) {
  return {{"TextFont", name}, {"TextSize", size}, {"Bold", bold}, {"Italic", false}, {"Underline", false},
          {"FontUnit", int64_t{0}}};
}

const PropertySet kCanvasShared = {{"Transparent", true},     {"AllowFocus", false},  {"AllowTabs", false},
                                   {"AllowFocusRing", true}, {"DoubleBuffer", false}};

const PropertySet kLabelShared = {{"Transparent", false},         {"Multiline", false},
                                  {"Selectable", false},          {"TextAlignment", int64_t{0}},
                                  {"TextColor", kBlack},          {"DataSource", ""},
                                  {"DataField", ""}};

const PropertySet kNumberFieldShared = {{"Text", ""},
                                        {"HasBorder", true},
                                        {"BackgroundColor", kWhite},
                                        {"TextColor", kBlack},
                                        {"Transparent", true},
                                        {"AllowFocusRing", true},
                                        {"ReadOnly", false},
                                        {"Password", false},
                                        {"Format", ""},
                                        {"Hint", ""},
                                        {"ValidationMask", ""},
                                        {"MaximumCharactersAllowed", int64_t{0}},
                                        {"AllowSpellChecking", false},
                                        {"AllowTabs", false},
                                        {"TextAlignment", int64_t{0}}};

const PropertySet kListboxShared = {{"ColumnCount", int64_t{1}},     {"HasHeader", false},
                                    {"HasBorder", true},             {"HasVerticalScrollbar", true},
                                    {"HasHorizontalScrollbar", false}, {"Transparent", true},
                                    {"RequiresSelection", false},    {"RowSelectionType", int64_t{0}},
                                    {"AllowRowDragging", false},     {"AllowRowReordering", false},
                                    {"AllowExpandableRows", false},  {"AllowResizableColumns", false},
                                    {"DefaultRowHeight", int64_t{-1}}, {"HeadingIndex", int64_t{-1}}};

struct GridPlace {
  int64_t left, top;
};

// Frames 0 to 4 form the upper row, 5 to 9 the lower; each card lies inside its frame.
constexpr GridPlace kFramePlaces[10] = {{21, 69},   {132, 67},  {241, 67},  {355, 69},  {457, 67},
                                        {21, 258},  {132, 258}, {241, 258}, {355, 259}, {462, 259}};
constexpr GridPlace kCardPlaces[10] = {{31, 75},   {142, 73},  {251, 74},  {365, 75},  {467, 73},
                                       {31, 263},  {142, 264}, {251, 264}, {365, 265}, {472, 265}};

ControlLayout Frame(int64_t i, int64_t tab) {
  const GridPlace at = kFramePlaces[i];
  return {ControlKind::CardCanvas, "CardCanvas", i, Join({Placed(i, at.left, at.top, 90, 170, true, tab), kCanvasShared})};
}

ControlLayout Card(int64_t i, int64_t tab) {
  const GridPlace at = kCardPlaces[i];
  const std::string parent = "CardCanvas$" + std::to_string(i);
  return {ControlKind::FudaCanvas, "FudaCanvas", i,
          Join({Placed(i, at.left, at.top, 70, 160, true, tab, parent), kCanvasShared})};
}

ControlLayout Caption(const char* name, int64_t left, int64_t top, int64_t width, int64_t height, const char* text,
                      bool bold, int64_t tab) {
  return {ControlKind::Label, name, fw::kNoIndex,
          Join({Placed(fw::kNoIndex, left, top, width, height, true, tab), {{"Text", text}},
                Font("MS 明朝", 12, bold), kLabelShared})};
}

ControlLayout NumberField(const char* name, int64_t left, int64_t top, int64_t tab) {
  return {ControlKind::TextField, name, fw::kNoIndex,
          Join({Placed(fw::kNoIndex, left, top, 60, 20, true, tab), Font("System", 12, false), kNumberFieldShared})};
}

ControlLayout Separator(const char* name, int64_t top, int64_t tab) {
  return {ControlKind::Separator, name, fw::kNoIndex,
          Join({Placed(fw::kNoIndex, 0, top, 630, 4, true, tab), {{"Transparent", true}}})};
}

ControlLayout PoemStore(const char* name, int64_t top, bool visible, std::string_view rows, int64_t tab) {
  return {ControlKind::Listbox, name, fw::kNoIndex,
          Join({Placed(fw::kNoIndex, 0, top, 234, 45, visible, tab), Font("System", 12, false), kListboxShared,
                {{"InitialValue", std::string(rows)}}})};
}

ControlLayout Timer() {
  return {ControlKind::Timer,
          "MyTimer",
          fw::kNoIndex,
          {{"RunMode", int64_t{2}}, {"Period", int64_t{1000}}, {"Enabled", true}}};
}

ControlLayout StartButton(int64_t tab) {
  return {ControlKind::PushButton, "StartButton", fw::kNoIndex,
          Join({Placed(fw::kNoIndex, 457, 10, 69, 22, true, tab, "", false, true),
                {{"Caption", "開始"}, {"Default", true}, {"Cancel", false},
                 {"MacButtonStyle", int64_t{0}}, {"Transparent", true}},
                Font("魚石行書", 12, false)})};
}

ControlLayout OdaiField(int64_t tab) {
  return {ControlKind::TextArea, "OdaiField", fw::kNoIndex,
          Join({Placed(fw::kNoIndex, 145, 4, 280, 41, true, tab), Font("MS明朝", 12, false),
                {{"Text", ""},
                 {"Multiline", true},
                 {"HasVerticalScrollbar", false},
                 {"HasHorizontalScrollbar", false},
                 {"AllowStyledText", false},
                 {"HasBorder", true},
                 {"BackgroundColor", kWhite},
                 {"TextColor", kBlack},
                 {"Transparent", true},
                 {"ReadOnly", false},
                 {"AllowSpellChecking", true},
                 {"HideSelection", true},
                 {"LineSpacing", 1.0},
                 {"LineHeight", 0.0},
                 {"MaximumCharactersAllowed", int64_t{0}},
                 {"UnicodeMode", int64_t{0}},
                 {"AllowTabs", false},
                 {"TextAlignment", int64_t{0}},
                 {"AllowFocusRing", true}}})};
}

ControlLayout TitleLabel(int64_t tab) {
  return {ControlKind::Label, "ShogoText", fw::kNoIndex,
          Join({Placed(fw::kNoIndex, 316, 483, 91, 20, true, tab), {{"Text", ""}}, Font("平成明朝", 12, false),
                kLabelShared})};
}

ControlLayout PlainCanvas(int64_t tab) {
  return {ControlKind::Canvas, "MyCanvas", fw::kNoIndex,
          Join({Placed(fw::kNoIndex, 476, 454, 50, 50, true, tab), kCanvasShared})};
}

ControlLayout VerdictLabel(int64_t tab) {
  return {ControlKind::Label, "Label1", fw::kNoIndex,
          Join({Placed(fw::kNoIndex, 404, 472, 100, 20, false, tab, "", true, true), {{"Text", "正解"}},
                Font("System", 0, false), kLabelShared})};
}

std::vector<ControlLayout> MakeControls() {
  std::vector<ControlLayout> controls = {
      Frame(1, 0),
      Card(1, 1),
      Frame(0, 2),
      Card(0, 3),
      Caption("StaticText1", 108, 11, 30, 21, "お題", false, 4),
      Caption("StaticText2", 17, 43, 30, 21, "お札", false, 5),
      Caption("StaticText3", 9, 453, 38, 21, "得点:", true, 6),
      NumberField("ScoreFiled", 55, 454, 7),
      Caption("StaticText4", 9, 484, 50, 16, "総得点:", true, 8),
      NumberField("TotalScoreField", 55, 482, 9),
      Caption("StaticText5", 156, 454, 38, 21, "時間：", true, 10),
      NumberField("TimeField", 203, 455, 11),
      Timer(),
      Separator("Separator1", 436, 12),
      StartButton(13),
      OdaiField(14),
      PoemStore("ListBox1", 512, false, kListBox1Rows, 15),
      PoemStore("ListBox3", 554, true, kListBox3Rows, 16),
      Caption("StaticText6", 275, 453, 38, 21, "回数：", true, 17),
      NumberField("KaisuField", 325, 454, 18),
      Caption("StaticText7", 275, 482, 38, 21, "称号：", true, 19),
      Caption("StaticText8", 141, 486, 58, 16, "最高得点:", true, 20),
      NumberField("HighScoreField", 203, 482, 21),
      TitleLabel(22),
      Separator("Separator2", 249, 23),
  };
  int64_t tab = 24;
  for (int64_t i = 2; i < 10; ++i) {
    controls.push_back(Frame(i, tab++));
    controls.push_back(Card(i, tab++));
  }
  controls.push_back(PlainCanvas(tab++));
  controls.push_back(VerdictLabel(tab++));
  return controls;
}

}  // namespace

const fw::PropertySet& KarutaWindowProperties() {
  static const PropertySet kWindow = {
      {"Width", int64_t{560}},
      {"Height", int64_t{562}},
      {"MinimumWidth", int64_t{64}},
      {"MinimumHeight", int64_t{64}},
      {"MaximumWidth", int64_t{32000}},
      {"MaximumHeight", int64_t{32000}},
      {"Type", int64_t{0}},
      {"Title", "霞札苑"},
      {"HasCloseButton", true},
      {"HasMaximizeButton", false},
      {"HasMinimizeButton", false},
      {"HasFullScreenButton", false},
      {"Resizeable", false},
      {"Composite", false},
      {"FullScreen", false},
      {"LiveResize", false},
      {"MacProcID", int64_t{0}},
      {"DefaultLocation", int64_t{0}},
      {"Visible", true},
      {"HasBackgroundColor", true},
      {"BackgroundColor", Color{0xFF9029}},
      {"MenuBarVisible", false},
  };
  return kWindow;
}

const std::vector<ControlLayout>& KarutaWindowControls() {
  static const std::vector<ControlLayout> kControls = MakeControls();
  return kControls;
}

}  // namespace karuta
