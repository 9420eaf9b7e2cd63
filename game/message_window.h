#pragma once

#include <string>

#include "framework/controls.h"
#include "framework/window.h"

namespace karuta {

// The game-over message: a text of three lines and an OK button that closes
// the window. It never blocks the game window.
class MessageWindow : public fw::Window {
 public:
  static constexpr const char* kClassName = "MessageWindow.MessageWindow";
  std::string ClassName() const override { return kClassName; }

  void Layout() override;
  void CreateControls() override;
  void CreateControls0();

  fw::Ref<fw::Label> Message() const;
  fw::Ref<fw::PushButton> OKButton() const;
  void OKButton_Action(fw::PushButton& button);
};

// The open message window, or a new one made and shown with an empty message.
fw::Ref<class MessageWindow> MessageWindow();

}  // namespace karuta
