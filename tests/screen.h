#pragma once

// What the screen shows of a window: the X server's pixels on xcb, the
// platform's backing store offscreen, once the game's events are processed.

#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/platform.h"
#include "support.h"

namespace karuta::testing {

// What the screen holds of a top-level widget.
inline QImage ScreenOf(QWidget* top) {
  return top->screen()->grabWindow(top->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

inline std::string Hex(QRgb rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", rgb & 0xFFFFFF);
  return text;
}

inline std::string NameOf(const fw::Control& control) {
  return control.Index() == fw::kNoIndex ? control.Name()
                                         : control.Name() + "(" + std::to_string(control.Index()) + ")";
}

// The window's controls that show, with their rectangles in window coordinates.
inline std::vector<std::pair<std::string, QRect>> ShownControls(const fw::Window& w) {
  QWidget* top = w.Platform().frame;
  std::vector<std::pair<std::string, QRect>> shown;
  for (const fw::Ref<fw::Control>& control : w.Controls())
    if (auto placed = std::dynamic_pointer_cast<fw::RectControl>(control)) {
      QWidget* widget = fw::WidgetOf(*placed);
      if (widget && widget->isVisibleTo(top))
        shown.push_back({NameOf(*placed), {widget->mapTo(top, QPoint()), widget->size()}});
    }
  return shown;
}

// The pixels in which two pictures of the window differ, counted by the
// innermost control whose rectangle holds them.
inline std::string WhereTheyDiffer(const fw::Window& w, const QImage& shown, const QImage& fresh) {
  if (shown.size() != fresh.size()) return "a screen image of another size than the window";
  const auto controls = ShownControls(w);
  std::map<std::string, int> counts;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.pixel(x, y) == fresh.pixel(x, y)) continue;
      const std::pair<std::string, QRect>* inner = nullptr;
      for (const auto& control : controls)
        if (control.second.contains(x, y) && (!inner || control.second.width() * control.second.height() <
                                                            inner->second.width() * inner->second.height()))
          inner = &control;
      ++counts[inner ? inner->first : "the window's background"];
    }
  std::string where;
  for (const auto& [name, count] : counts)
    where += (where.empty() ? "" : ", ") + name + " (" + std::to_string(count) + " pixels)";
  return where;
}

// Waits until the screen shows the window as it now is, and gives what the
// screen shows. A fresh render of the window is the reference; a screen that
// does not catch up names the controls it left stale.
inline QImage Settled(const fw::Window& w) {
  QWidget* top = w.Platform().frame;
  QImage shown, fresh;
  const bool current = QTest::qWaitFor(
      [&] {
        shown = ScreenOf(top);
        fresh = top->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return shown == fresh;
      },
      kHangMs);
  EXPECT_TRUE(current) << "after " << kHangMs << " ms the screen still differs from the window in "
                       << WhereTheyDiffer(w, shown, fresh);
  return shown;
}

// A look that only the game's own changes alter: the text cursor does not
// blink, and active and inactive windows look alike, so that which window
// holds the focus repaints nothing and a missing repaint stays on the screen.
class SteadyLook {
 public:
  SteadyLook() : flashTime_(QApplication::cursorFlashTime()), palette_(QApplication::palette()) {
    QApplication::setCursorFlashTime(0);
    QPalette steady = palette_;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto r = static_cast<QPalette::ColorRole>(role);
      steady.setBrush(QPalette::Inactive, r, palette_.brush(QPalette::Active, r));
    }
    QApplication::setPalette(steady);
  }
  ~SteadyLook() {
    QApplication::setCursorFlashTime(flashTime_);
    QApplication::setPalette(palette_);
  }
  SteadyLook(const SteadyLook&) = delete;
  SteadyLook& operator=(const SteadyLook&) = delete;

 private:
  int flashTime_;
  QPalette palette_;
};

}  // namespace karuta::testing
