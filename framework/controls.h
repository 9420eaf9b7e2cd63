#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/event.h"
#include "framework/graphics.h"
#include "framework/picture.h"
#include "framework/property.h"
#include "framework/ref.h"

namespace fw {

class Window;
struct WidgetPlatform;
struct TimerPlatform;

// The index of a control that is not an element of a control array.
inline constexpr int64_t kNoIndex = -2147483648LL;

class Control : public std::enable_shared_from_this<Control> {
 public:
  Control();
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  int64_t Index() const { return index_; }
  void Index(int64_t index) { index_ = index; }
  // The window the control belongs to, or nil once it is gone.
  Ref<Window> Owner() const { return owner_.lock(); }

  void SetProperties(const PropertySet& properties);
  // The names of the events that have a handler.
  virtual std::vector<std::string> BoundEvents() const { return {}; }
  // Raises the control's Open event, if it has one.
  virtual void RaiseOpen() {}

 protected:
  virtual void ApplyProperty(std::string_view name, const PropertyValue& value);

 private:
  friend class Window;
  std::weak_ptr<Window> owner_;
  std::string name_;
  int64_t index_ = kNoIndex;
};

// A control with a place on its window.
class RectControl : public Control {
 public:
  RectControl();
  ~RectControl() override;

  // Makes the control's platform widget inside its window.
  void Constructor();

  // Place and size in pixels; Left and Top count from the window's content
  // corner, also for a control inside another control.
  int64_t Left() const { return left_; }
  void Left(int64_t left);
  int64_t Top() const { return top_; }
  void Top(int64_t top);
  int64_t Width() const { return width_; }
  void Width(int64_t width);
  int64_t Height() const { return height_; }
  void Height(int64_t height);
  bool Visible() const { return visible_; }
  void Visible(bool visible);
  bool Enabled() const { return enabled_; }
  void Enabled(bool enabled);
  // Asks for a repaint; immediately means before the next event.
  void Refresh(bool immediately = false);

  WidgetPlatform& Platform() const;

 protected:
  void ApplyProperty(std::string_view name, const PropertyValue& value) override;
  virtual void CreateWidget() = 0;
  std::unique_ptr<WidgetPlatform> platform_;

 private:
  void SetParentControl(const std::string& reference);
  void Place();

  int64_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true;
  std::weak_ptr<RectControl> parent_;
};

// A control that shows text in a font.
class TextControl : public RectControl {
 public:
  // A font by name: "System" is the platform's font; the layout's Japanese
  // names map to an installed Mincho.
  void TextFont(const std::string& name);
  const std::string& TextFont() const { return fontName_; }
  // Size in pixels; 0 is the platform's default size.
  void TextSize(double size);
  double TextSize() const { return fontSize_; }
  void Bold(bool bold);
  bool Bold() const { return bold_; }
  void TextColor(Color color);

 protected:
  void ApplyProperty(std::string_view name, const PropertyValue& value) override;

 private:
  void ApplyFont();
  std::string fontName_ = "System";
  double fontSize_ = 0;
  bool bold_ = false, italic_ = false, underline_ = false;
};

class Label : public TextControl {
 public:
  const std::string& Text() const { return text_; }
  void Text(const std::string& text);
  // A multiline label breaks its lines at carriage returns.
  void Multiline(bool multiline);

 protected:
  void ApplyProperty(std::string_view name, const PropertyValue& value) override;
  void CreateWidget() override;

 private:
  void Show();
  std::string text_;
  bool multiline_ = false;
};

class TextField : public TextControl {
 public:
  Event<void(TextField&)> Open;

  std::string Text() const;
  void Text(const std::string& text);
  std::vector<std::string> BoundEvents() const override;
  void RaiseOpen() override { Open.Raise(*this); }

 protected:
  void ApplyProperty(std::string_view name, const PropertyValue& value) override;
  void CreateWidget() override;
};

class TextArea : public TextControl {
 public:
  std::string Text() const;
  void Text(const std::string& text);

 protected:
  void ApplyProperty(std::string_view name, const PropertyValue& value) override;
  void CreateWidget() override;
};

class Listbox : public TextControl {
 public:
  // The rows are the lines of the initial value, split at carriage returns.
  void InitialValue(const std::string& value);
  int64_t RowCount() const { return static_cast<int64_t>(rows_.size()); }
  // The text of a row, counted from 0; a row that does not exist raises.
  const std::string& List(int64_t row) const;

 protected:
  void ApplyProperty(std::string_view name, const PropertyValue& value) override;
  void CreateWidget() override;

 private:
  std::vector<std::string> rows_;
};

class PushButton : public TextControl {
 public:
  Event<void(PushButton&)> Action;

  void Caption(const std::string& caption);
  std::string Caption() const;
  // The default button is pressed by Return or Enter in its window.
  void Default(bool isDefault);
  bool Default() const { return default_; }
  // Presses the button as a click would.
  void Push();
  std::vector<std::string> BoundEvents() const override;

 protected:
  void ApplyProperty(std::string_view name, const PropertyValue& value) override;
  void CreateWidget() override;

 private:
  bool default_ = false;
};

class Separator : public RectControl {
 protected:
  void CreateWidget() override;
};

struct PaintArea {
  int64_t left = 0, top = 0, width = 0, height = 0;
};

// A control the program draws itself; transparent where it draws nothing.
class Canvas : public RectControl {
 public:
  Event<void(Canvas&)> Open;
  Event<void(Canvas&, Graphics&, const std::vector<PaintArea>&)> Paint;
  Event<bool(Canvas&, int64_t, int64_t)> MouseDown;

  // The picture the canvas shows; setting it repaints the canvas.
  const Ref<Picture>& Backdrop() const { return backdrop_; }
  void Backdrop(Ref<Picture> picture);
  std::vector<std::string> BoundEvents() const override;
  void RaiseOpen() override { Open.Raise(*this); }

 protected:
  void ApplyProperty(std::string_view name, const PropertyValue& value) override;
  void CreateWidget() override;

 private:
  Ref<Picture> backdrop_;
};

// Raises Action every Period milliseconds while enabled (RunMode 2), once
// (RunMode 1), or never (RunMode 0).
class Timer : public Control {
 public:
  Timer();
  ~Timer() override;

  Event<void(Timer&)> Action;

  int64_t RunMode() const { return runMode_; }
  void RunMode(int64_t mode);
  int64_t Period() const { return period_; }
  void Period(int64_t milliseconds);
  bool Enabled() const { return enabled_; }
  void Enabled(bool enabled);
  // Whether it counts towards a tick: enabled, and a run mode that fires.
  bool IsRunning() const;
  // Delivers one tick now, as the platform timer does.
  void Fire();
  TimerPlatform& Platform() const { return *platform_; }
  std::vector<std::string> BoundEvents() const override;

 protected:
  void ApplyProperty(std::string_view name, const PropertyValue& value) override;

 private:
  void Schedule();
  std::unique_ptr<TimerPlatform> platform_;
  int64_t runMode_ = 0, period_ = 1000;
  bool enabled_ = false;
};

// For tests that deliver every tick themselves with Timer::Fire: while held,
// a timer that starts counting keeps its state as before but its platform
// timer never fires by itself. A timer counting when the hold begins counts on.
void HoldPlatformTimers(bool held);

}  // namespace fw
