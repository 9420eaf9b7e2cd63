#pragma once

#include "framework/menu.h"

namespace karuta {

// The application's one menu bar: an untitled menu, File, Edit and another
// untitled menu.
class MenuBar1 : public fw::MenuBar {
 public:
  // Builds the four menus and their items.
  void Constructor();
  void Untitled0();
  void Untitled1();
  void Untitled2();
  void Untitled3();

  // The single instance, set by the first successful MenuBar1().
  static fw::Ref<MenuBar1> _implicitInstance;

 private:
  void BuildMenu(int builder);
};

// The single menu bar, built on the first call.
fw::Ref<class MenuBar1> MenuBar1();

}  // namespace karuta
