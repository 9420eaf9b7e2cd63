#include "framework/menu.h"

#include "framework/runtime.h"

namespace fw {

void MenuItem::Constructor() { children_.clear(); }

void MenuItem::AddMenu(Ref<MenuItem> item) {
  if (!item) throw NilObjectException("AddMenu: nil item");
  children_.push_back(std::move(item));
}

Ref<MenuItem> MenuItem::Item(int64_t index) const {
  if (index < 0 || index >= Count()) throw OutOfBoundsException("menu item index " + std::to_string(index));
  return children_[static_cast<size_t>(index)];
}

Ref<MenuItem> MenuItem::Child(const std::string& name) const {
  for (const auto& child : children_)
    if (child->Name() == name) return child;
  return {};
}

Ref<MenuItem> MenuItem::Lookup(const std::string& name) const {
  for (const auto& child : children_) {
    if (child->Name() == name) return child;
    if (auto found = child->Lookup(name)) return found;
  }
  return {};
}

void QuitMenuItem::Action() { QuitMenuAction(); }

}  // namespace fw
