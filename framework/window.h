#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/menu.h"
#include "framework/property.h"
#include "framework/ref.h"

namespace fw {

class Control;
struct WindowPlatform;

// A top-level window. Constructor builds it: the Layout and CreateControls
// events, the controls' Open events and the window's own Open event, then it
// shows the window if its layout makes it visible.
class Window : public std::enable_shared_from_this<Window> {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The full class name, by which the implicit instance is found.
  virtual std::string ClassName() const = 0;

  void Constructor();
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void Event_Open() {}

  // Shows the window without blocking and brings it to the front, restored
  // if the player had minimised it.
  void Show();
  // Closes the window; the framework lets go of it.
  void Close();
  bool IsOpen() const { return open_; }

  // Size of the window's content in pixels.
  int64_t Width() const;
  void Width(int64_t width);
  int64_t Height() const;
  void Height(int64_t height);
  std::string Title() const;
  void Title(const std::string& title);

  Ref<fw::MenuBar> MenuBar() const { return menuBar_; }
  void MenuBar(Ref<fw::MenuBar> bar);

  void SetProperties(const PropertySet& properties);

  // A new control of class T inside this window; no constructor is run.
  template <class T>
  Ref<T> New() {
    Ref<T> control = std::make_shared<T>();
    Adopt(*control);
    return control;
  }
  // Registers a control under a name (shared by the elements of a control array).
  void AddControl(const std::string& name, const Ref<Control>& control);
  Ref<Control> ControlByName(const std::string& name) const;
  // The element of a control array, or nil when no element has that index.
  Ref<Control> ControlByNameIndex(const std::string& name, int64_t index) const;
  // Every registered control, in the order of registration.
  const std::vector<Ref<Control>>& Controls() const { return controls_; }

  WindowPlatform& Platform() const { return *platform_; }

  // Called by the platform when the player closes the window.
  void ClosedByPlayer();

 private:
  void Adopt(Control& control);
  void ApplyProperty(std::string_view name, const PropertyValue& value);
  void RaiseControlsOpen();
  void Forget();

  std::unique_ptr<WindowPlatform> platform_;
  std::vector<Ref<Control>> controls_;
  Ref<fw::MenuBar> menuBar_;
  bool open_ = false;
  bool showWhenBuilt_ = false;
};

// The open window of that class, or nil.
Ref<Window> GetImplicitWindow(const std::string& className);
// Every open window, oldest first.
std::vector<Ref<Window>> OpenWindows();

// The implicit instance of window class T: the open one, or a new one made
// and built (which shows it when its layout makes it visible).
template <class T>
Ref<T> ImplicitInstance() {
  Ref<Window> window = GetImplicitWindow(T::kClassName);
  if (!window) {
    auto made = std::make_shared<T>();
    made->Constructor();
    window = made;
  }
  return Cast<T>(window);
}

}  // namespace fw
