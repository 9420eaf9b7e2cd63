#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/ref.h"

namespace fw {

// A menu or menu item, kept by the framework as a tree; a window that carries
// a menu bar shows the tree through the platform's menus.
class MenuItem : public std::enable_shared_from_this<MenuItem> {
 public:
  virtual ~MenuItem() = default;

  // The no-argument constructor: an empty item with no children.
  void Constructor();

  void Name(std::string name) { name_ = std::move(name); }
  const std::string& Name() const { return name_; }
  void AutoEnabled(bool on) { autoEnabled_ = on; }
  bool AutoEnabled() const { return autoEnabled_; }
  void Text(std::string text) { text_ = std::move(text); }
  const std::string& Text() const { return text_; }
  void Visible(bool on) { visible_ = on; }
  bool Visible() const { return visible_; }
  // A modifier word, a plus sign and a key, such as "Cmd+Q"; Cmd is the
  // platform's command key.
  void Shortcut(std::string shortcut) { shortcut_ = std::move(shortcut); }
  std::string Shortcut() const { return shortcut_.value_or(""); }
  bool HasShortcut() const { return shortcut_.has_value(); }

  // Appends an item as the last entry.
  void AddMenu(Ref<MenuItem> item);
  int64_t Count() const { return static_cast<int64_t>(children_.size()); }
  Ref<MenuItem> Item(int64_t index) const;
  // The direct child of that name, or nil.
  Ref<MenuItem> Child(const std::string& name) const;
  // The item of that name anywhere below this one, or nil.
  Ref<MenuItem> Lookup(const std::string& name) const;

  // What choosing the item does by default: nothing for a plain item.
  virtual void Action() {}

 private:
  std::string name_;
  bool autoEnabled_ = false;
  std::string text_;
  bool visible_ = false;
  std::optional<std::string> shortcut_;
  std::vector<Ref<MenuItem>> children_;
};

// Quits the application when chosen.
class QuitMenuItem : public MenuItem {
 public:
  void Action() override;
};

// An item the platform may place in its application menu; here an ordinary item.
class AppleMenuItem : public MenuItem {};

class MenuBar : public MenuItem {};

// The framework's quit action: ends the event loop.
void QuitMenuAction();

}  // namespace fw
