#include "app/menubar1.h"

#include <optional>

namespace karuta {
namespace {

enum class ItemClass { Item, Quit, Apple };

struct MenuRow {
  const char* name;
  ItemClass itemClass;
  const char* menu;  // the menu it goes in; nullptr for the bar itself
  const char* text;
  std::optional<const char*> shortcut;  // not set for the separator
  int builder;
};

const MenuRow kMenuRows[] = {
    {"UntitledMenu1", ItemClass::Item, nullptr, "", "", 0},
    {"FileMenu", ItemClass::Item, nullptr, "ファイル(&F)", "", 1},
    {"FileQuit", ItemClass::Quit, "FileMenu", "終了(&X)", "Cmd+Q", 1},
    {"UntitledMenu5", ItemClass::Item, "FileMenu", "", "", 1},
    {"EditMenu", ItemClass::Item, nullptr, "編集(&E)", "", 2},
    {"EditUndo", ItemClass::Item, "EditMenu", "取り消し", "Cmd+Z", 2},
    {"UntitledMenu0", ItemClass::Item, "EditMenu", "-", std::nullopt, 2},
    {"EditCut", ItemClass::Item, "EditMenu", "カット", "Cmd+X", 2},
    {"EditCopy", ItemClass::Item, "EditMenu", "コピー", "Cmd+C", 2},
    {"EditPaste", ItemClass::Item, "EditMenu", "貼り付け", "Cmd+V", 2},
    {"EditClear", ItemClass::Item, "EditMenu", "クリア", "", 2},
    {"UntitledMenu4", ItemClass::Item, "EditMenu", "", "", 2},
    {"UntitledMenu3", ItemClass::Apple, "EditMenu", "", "", 2},
    {"UntitledMenu2", ItemClass::Item, nullptr, "", "", 3},
};

fw::Ref<fw::MenuItem> NewItem(ItemClass itemClass) {
  switch (itemClass) {
    case ItemClass::Quit: return std::make_shared<fw::QuitMenuItem>();
    case ItemClass::Apple: return std::make_shared<fw::AppleMenuItem>();
    case ItemClass::Item: break;
  }
  return std::make_shared<fw::MenuItem>();
}

}  // namespace

fw::Ref<class MenuBar1> MenuBar1::_implicitInstance;

void MenuBar1::Constructor() {
  Untitled0();
  Untitled1();
  Untitled2();
  Untitled3();
}

void MenuBar1::Untitled0() { BuildMenu(0); }
void MenuBar1::Untitled1() { BuildMenu(1); }
void MenuBar1::Untitled2() { BuildMenu(2); }
void MenuBar1::Untitled3() { BuildMenu(3); }

// Each item is complete before it is appended; its menu is found anew by name.
void MenuBar1::BuildMenu(int builder) {
  for (const MenuRow& row : kMenuRows) {
    if (row.builder != builder) continue;
    fw::Ref<fw::MenuItem> item = NewItem(row.itemClass);
    item->Constructor();
    item->Name(row.name);
    item->AutoEnabled(true);
    item->Text(row.text);
    item->Visible(true);
    if (row.shortcut) item->Shortcut(*row.shortcut);
    if (row.menu)
      Child(row.menu)->AddMenu(item);
    else
      AddMenu(item);
  }
}

fw::Ref<class MenuBar1> MenuBar1() {
  if (!MenuBar1::_implicitInstance) {
    auto bar = std::make_shared<class MenuBar1>();
    bar->Constructor();
    MenuBar1::_implicitInstance = bar;
  }
  return MenuBar1::_implicitInstance;
}

}  // namespace karuta
