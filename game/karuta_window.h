#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/menu.h"
#include "framework/window.h"

namespace karuta {

// The game window. The whole game state is its fields; every handler of the
// game is one of its methods.
class KarutaWindow : public fw::Window {
 public:
  static constexpr const char* kClassName = "KarutaWindow.KarutaWindow";
  std::string ClassName() const override { return kClassName; }

  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
  void CreateControls1();
  void Event_Open() override;

  // Controls, by name (and index for the two control arrays).
  fw::Ref<fw::Canvas> CardCanvas(int64_t index) const;
  fw::Ref<fw::Canvas> FudaCanvas(int64_t index) const;
  fw::Ref<fw::Label> StaticText1() const;
  fw::Ref<fw::Label> StaticText2() const;
  fw::Ref<fw::Label> StaticText3() const;
  fw::Ref<fw::TextField> ScoreFiled() const;
  fw::Ref<fw::Label> StaticText4() const;
  fw::Ref<fw::TextField> TotalScoreField() const;
  fw::Ref<fw::Label> StaticText5() const;
  fw::Ref<fw::TextField> TimeField() const;
  fw::Ref<fw::Timer> MyTimer() const;
  fw::Ref<fw::Separator> Separator1() const;
  fw::Ref<fw::PushButton> StartButton() const;
  fw::Ref<fw::TextArea> OdaiField() const;
  fw::Ref<fw::Listbox> ListBox1() const;
  fw::Ref<fw::Listbox> ListBox3() const;
  fw::Ref<fw::Label> StaticText6() const;
  fw::Ref<fw::TextField> KaisuField() const;
  fw::Ref<fw::Label> StaticText7() const;
  fw::Ref<fw::Label> StaticText8() const;
  fw::Ref<fw::TextField> HighScoreField() const;
  fw::Ref<fw::Label> ShogoText() const;
  fw::Ref<fw::Separator> Separator2() const;
  fw::Ref<fw::Canvas> MyCanvas() const;
  fw::Ref<fw::Label> Label1() const;

  // Items of the window's menu bar, by name.
  fw::Ref<fw::MenuItem> UntitledMenu2() const;
  fw::Ref<fw::MenuItem> EditMenu() const;
  fw::Ref<fw::AppleMenuItem> UntitledMenu3() const;
  fw::Ref<fw::MenuItem> UntitledMenu4() const;
  fw::Ref<fw::MenuItem> EditClear() const;
  fw::Ref<fw::MenuItem> EditPaste() const;
  fw::Ref<fw::MenuItem> EditCopy() const;
  fw::Ref<fw::MenuItem> EditCut() const;
  fw::Ref<fw::MenuItem> UntitledMenu0() const;
  fw::Ref<fw::MenuItem> EditUndo() const;
  fw::Ref<fw::MenuItem> FileMenu() const;
  fw::Ref<fw::MenuItem> UntitledMenu5() const;
  fw::Ref<fw::QuitMenuItem> FileQuit() const;
  fw::Ref<fw::MenuItem> UntitledMenu1() const;

  // Handlers.
  void CardCanvas_Open(fw::Canvas& canvas);
  void CardCanvas_Paint(fw::Canvas& canvas, fw::Graphics& g, const std::vector<fw::PaintArea>& areas);
  bool FudaCanvas_MouseDown(fw::Canvas& canvas, int64_t x, int64_t y);
  void FudaCanvas_Open(fw::Canvas& canvas);
  void FudaCanvas_Paint(fw::Canvas& canvas, fw::Graphics& g, const std::vector<fw::PaintArea>& areas);
  void ScoreFiled_Open(fw::TextField& field);
  void TotalScoreField_Open(fw::TextField& field);
  void MyTimer_Action(fw::Timer& timer);
  void StartButton_Action(fw::PushButton& button);
  void KaisuField_Open(fw::TextField& field);
  void HighScoreField_Open(fw::TextField& field);

  // Puts the picture of the card dealt to place i on FudaCanvas(i).
  void Fuda(int64_t i);
  // Ends the game: title, message window, cards cleared, counters back to 0.
  void GameOver();

  // Game state.
  int64_t OdaiNum = 0;
  std::array<int64_t, 10> FudaNum{};
  bool Seikai = false;
  int64_t MyPoint = 0;
  int64_t TotalPoint = 0;
  double OKtime = 0;
  double StartTime = 0;
  double MyTime = 0;
  bool GameStarted = false;
  std::array<std::string, 100> OdaiString{};
  std::string MyFont;
  int64_t Kaisu = 0;
  std::string shogo;
  int64_t HighScore = 0;
  std::array<int64_t, 100> r{};
  bool games = false;

 private:
  void CreateControlRange(size_t first, size_t last);
  template <class T>
  fw::Ref<T> Named(const char* name) const;
  template <class T>
  fw::Ref<T> MenuItemNamed(const char* name) const;
};

// The game window: the open one, or a new one made, built and shown.
fw::Ref<class KarutaWindow> KarutaWindow();

}  // namespace karuta
