#include "app/module.h"

#include "app/file_types.h"
#include "app/menubar1.h"
#include "framework/runtime.h"

namespace karuta {

void InitializeShellModule() {
  fw::RuntimeRegisterClass("App");
  fw::RuntimeRegisterClass("MenuBar1.MenuBar1");
  FileTypes::pAllFileTypes.clear();
  FileTypes::pText.reset();
  MenuBar1::_implicitInstance.reset();
}

void FinalizeShellModule() {
  FileTypes::pAllFileTypes.clear();
  FileTypes::pText.reset();
  MenuBar1::_implicitInstance.reset();
}

}  // namespace karuta
