#pragma once

// The Qt side of the framework. Only the framework's sources and tests include this.

#include <QFont>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "framework/controls.h"
#include "framework/window.h"

namespace fw {

// The top-level widget of a window.
class FrameWidget : public QMainWindow {
 public:
  void Attach(std::weak_ptr<Window> window) { window_ = std::move(window); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::weak_ptr<Window> window_;
};

struct WindowPlatform {
  QPointer<FrameWidget> frame;
  QPointer<QWidget> content;
  QPointer<QMenuBar> menuBar;
  int width = 100, height = 100;
  int minimumWidth = 64, minimumHeight = 64, maximumWidth = 32000, maximumHeight = 32000;
  bool resizeable = true;
  bool hasCloseButton = true, hasMinimizeButton = true, hasMaximizeButton = true;
  bool menuBarVisible = true;
  std::optional<QColor> backgroundColor;
  bool hasBackgroundColor = false;

  void ApplySize();
  void ApplyFlags();
  void ApplyBackground();
};

struct WidgetPlatform {
  QPointer<QWidget> widget;
};

struct TimerPlatform {
  QTimer timer;
};

struct PictureData {
  QImage image;
};

struct GraphicsPlatform {
  QPainter& painter;
};

// The font for a layout font name and size (pixels; 0 for the default).
QFont FontFor(const std::string& name, double size, bool bold, bool italic, bool underline);
// The layout's font names that the platform lacks, mapped to installed Mincho faces.
void InstallFontSubstitutions();
// Readies a new platform application: the application's display name, which
// stands for a window without a title, the font substitutions, and Qt's own
// texts in Japanese.
void ConfigurePlatformApp();
QColor ToQColor(Color color);
QWidget* WidgetOf(const RectControl& control);

}  // namespace fw
