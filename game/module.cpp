#include "game/module.h"

#include "framework/runtime.h"
#include "game/karuta_window.h"
#include "game/message_window.h"

namespace karuta {

void InitializeGameModule() {
  fw::RuntimeRegisterClass(KarutaWindow::kClassName);
  fw::RuntimeRegisterClass("KarutaWindow.CardCanvas");
  fw::RuntimeRegisterClass("KarutaWindow.FudaCanvas");
  fw::RuntimeRegisterClass("KarutaWindow._wrapper_MyTimer");
  fw::RuntimeRegisterClass(MessageWindow::kClassName);
}

}  // namespace karuta
