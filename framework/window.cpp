#include "framework/window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>
#include <unordered_map>

#include "framework/platform.h"
#include "framework/runtime_state.h"

namespace fw {
namespace {

using detail::State;

// "Cmd+Q" names the platform's command key, which is Control here.
QKeySequence KeySequenceFor(const std::string& shortcut) {
  QString text = QString::fromStdString(shortcut);
  text.replace("Cmd+", "Ctrl+");
  return QKeySequence(text);
}

// What the Edit items do by default, on the focused text control.
void EditFocused(const std::string& itemName) {
  QWidget* focus = QApplication::focusWidget();
  using Edit = void (*)(QLineEdit*, QPlainTextEdit*);
  static const std::unordered_map<std::string, Edit> kEdits = {
      {"EditUndo", [](QLineEdit* l, QPlainTextEdit* t) { l ? l->undo() : t->undo(); }},
      {"EditCut", [](QLineEdit* l, QPlainTextEdit* t) { l ? l->cut() : t->cut(); }},
      {"EditCopy", [](QLineEdit* l, QPlainTextEdit* t) { l ? l->copy() : t->copy(); }},
      {"EditPaste", [](QLineEdit* l, QPlainTextEdit* t) { l ? l->paste() : t->paste(); }},
      {"EditClear", [](QLineEdit* l, QPlainTextEdit* t) { l ? l->del() : t->textCursor().removeSelectedText(); }},
  };
  auto edit = kEdits.find(itemName);
  auto* line = qobject_cast<QLineEdit*>(focus);
  auto* text = qobject_cast<QPlainTextEdit*>(focus);
  if (edit != kEdits.end() && (line || text)) edit->second(line, text);
}

void Choose(const Ref<MenuItem>& item) {
  item->Action();
  EditFocused(item->Name());
}

// Adds a menu tree's items to a platform menu, and every action to the frame,
// so that shortcuts work also while the bar is hidden.
void AddItems(QWidget* menu, const MenuItem& parent, QWidget* frame) {
  for (int64_t i = 0; i < parent.Count(); ++i) {
    Ref<MenuItem> item = parent.Item(i);
    if (item->Text() == "-") {
      if (auto* m = qobject_cast<QMenu*>(menu)) m->addSeparator();
      continue;
    }
    if (item->Count() > 0 || qobject_cast<QMenuBar*>(menu)) {
      if (item->Text().empty() && item->Count() == 0) continue;
      auto* sub = new QMenu(QString::fromStdString(item->Text()), menu);
      sub->menuAction()->setVisible(item->Visible());
      if (auto* bar = qobject_cast<QMenuBar*>(menu)) bar->addMenu(sub);
      else static_cast<QMenu*>(menu)->addMenu(sub);
      AddItems(sub, *item, frame);
      continue;
    }
    if (item->Text().empty()) continue;
    auto* action = new QAction(QString::fromStdString(item->Text()), menu);
    action->setShortcut(KeySequenceFor(item->Shortcut()));
    action->setShortcutContext(Qt::ApplicationShortcut);  // the application's menus, whichever window is in front
    action->setVisible(item->Visible());
    action->setEnabled(item->AutoEnabled());
    std::weak_ptr<MenuItem> weak = item;
    QObject::connect(action, &QAction::triggered, [weak] {
      if (auto chosen = weak.lock()) detail::Dispatch([&] { Choose(chosen); });
    });
    menu->addAction(action);
    frame->addAction(action);
  }
}

QColor Rgb(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

QColor ToQColor(Color color) { return Rgb(color.rgb); }

void FrameWidget::closeEvent(QCloseEvent* event) {
  if (auto window = window_.lock()) window->ClosedByPlayer();
  event->accept();
}

void FrameWidget::keyPressEvent(QKeyEvent* event) {
  const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  auto window = window_.lock();
  if (!isReturn || !window) return QMainWindow::keyPressEvent(event);
  for (const Ref<Control>& control : window->Controls()) {
    auto button = std::dynamic_pointer_cast<PushButton>(control);
    if (button && button->Default() && button->Visible() && button->Enabled()) {
      button->Push();
      return;
    }
  }
  QMainWindow::keyPressEvent(event);
}

void WindowPlatform::ApplySize() {
  const int barHeight = menuBar && menuBarVisible ? menuBar->sizeHint().height() : 0;
  if (resizeable) {
    content->setMinimumSize(minimumWidth, minimumHeight);
    content->setMaximumSize(maximumWidth, maximumHeight);
    frame->setMinimumSize(0, 0);
    frame->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    frame->resize(width, height + barHeight);
  } else {
    content->setFixedSize(width, height);
    frame->setFixedSize(width, height + barHeight);
  }
}

void WindowPlatform::ApplyFlags() {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (hasCloseButton) flags |= Qt::WindowCloseButtonHint;
  if (hasMinimizeButton) flags |= Qt::WindowMinimizeButtonHint;
  if (hasMaximizeButton && resizeable) flags |= Qt::WindowMaximizeButtonHint;
  if (frame->windowFlags() != flags) frame->setWindowFlags(flags);
}

void WindowPlatform::ApplyBackground() {
  if (!hasBackgroundColor || !backgroundColor) return;
  QPalette palette = frame->palette();
  palette.setColor(QPalette::Window, *backgroundColor);
  frame->setPalette(palette);
  frame->setAutoFillBackground(true);
  content->setAutoFillBackground(true);
}

Window::Window() : platform_(std::make_unique<WindowPlatform>()) {
  platform_->frame = new FrameWidget;
  platform_->content = new QWidget(platform_->frame);
  platform_->frame->setCentralWidget(platform_->content);
  platform_->frame->setAttribute(Qt::WA_QuitOnClose, false);
}

Window::~Window() {
  controls_.clear();
  if (platform_->frame) platform_->frame->deleteLater();
}

void Window::Constructor() {
  platform_->frame->Attach(weak_from_this());
  State().openWindows.push_back(shared_from_this());
  open_ = true;
  try {
    Layout();
    CreateControls();
    RaiseControlsOpen();
    Event_Open();
  } catch (...) {
    Close();
    throw;
  }
  if (showWhenBuilt_) Show();
}

void Window::RaiseControlsOpen() {
  const std::vector<Ref<Control>> controls = controls_;
  for (const Ref<Control>& control : controls) control->RaiseOpen();
}

void Window::Show() {
  if (!open_) return;
  WindowPlatform& p = *platform_;
  const bool wasVisible = p.frame->isVisible();
  if (!wasVisible) {  // a shown window keeps the size the player gave it
    p.ApplyFlags();
    p.ApplySize();
  }
  if (p.frame->isMinimized()) p.frame->setWindowState(p.frame->windowState() & ~Qt::WindowMinimized);
  p.frame->show();
  // Bringing a shown window to the front; the offscreen platform cannot.
  if (wasVisible && QGuiApplication::platformName() != "offscreen") p.frame->raise();
  p.frame->activateWindow();
}

void Window::Close() {
  if (!open_) return;
  auto keepAlive = shared_from_this();
  open_ = false;
  if (platform_->frame) platform_->frame->close();
  Forget();
}

void Window::ClosedByPlayer() {
  if (!open_) return;
  auto keepAlive = shared_from_this();
  open_ = false;
  Forget();
}

void Window::Forget() {
  auto& windows = State().openWindows;
  windows.erase(std::remove(windows.begin(), windows.end(), shared_from_this()), windows.end());
}

int64_t Window::Width() const {
  const WindowPlatform& p = *platform_;
  return p.frame && p.frame->isVisible() ? p.content->width() : p.width;
}

void Window::Width(int64_t width) {
  platform_->width = static_cast<int>(width);
  platform_->ApplySize();
}

int64_t Window::Height() const {
  const WindowPlatform& p = *platform_;
  return p.frame && p.frame->isVisible() ? p.content->height() : p.height;
}

void Window::Height(int64_t height) {
  platform_->height = static_cast<int>(height);
  platform_->ApplySize();
}

std::string Window::Title() const { return platform_->frame->windowTitle().toStdString(); }

void Window::Title(const std::string& title) { platform_->frame->setWindowTitle(QString::fromStdString(title)); }

void Window::MenuBar(Ref<fw::MenuBar> bar) {
  WindowPlatform& p = *platform_;
  menuBar_ = std::move(bar);
  if (p.menuBar) {
    for (QAction* action : p.frame->actions()) p.frame->removeAction(action);
    delete p.menuBar;
  }
  p.frame->setAttribute(Qt::WA_QuitOnClose, static_cast<bool>(menuBar_));
  if (!menuBar_) return;
  p.menuBar = new QMenuBar(p.frame);
  AddItems(p.menuBar, *menuBar_, p.frame);
  p.frame->setMenuBar(p.menuBar);
  p.menuBar->setVisible(p.menuBarVisible);
}

// The size is applied once the whole set is, so that a hidden menu bar is
// never measured.
void Window::SetProperties(const PropertySet& properties) {
  for (const Property& property : properties) ApplyProperty(property.name, property.value);
  platform_->ApplyBackground();
  platform_->ApplySize();
}

void Window::ApplyProperty(std::string_view name, const PropertyValue& value) {
  using Setter = void (*)(Window&, WindowPlatform&, const PropertyValue&);
  static const std::unordered_map<std::string_view, Setter> kSetters = {
      {"Width", [](Window&, WindowPlatform& p, const PropertyValue& v) { p.width = static_cast<int>(AsInteger(v)); }},
      {"Height", [](Window&, WindowPlatform& p, const PropertyValue& v) { p.height = static_cast<int>(AsInteger(v)); }},
      {"MinimumWidth", [](Window&, WindowPlatform& p, const PropertyValue& v) { p.minimumWidth = AsInteger(v); }},
      {"MinimumHeight", [](Window&, WindowPlatform& p, const PropertyValue& v) { p.minimumHeight = AsInteger(v); }},
      {"MaximumWidth", [](Window&, WindowPlatform& p, const PropertyValue& v) { p.maximumWidth = AsInteger(v); }},
      {"MaximumHeight", [](Window&, WindowPlatform& p, const PropertyValue& v) { p.maximumHeight = AsInteger(v); }},
      {"Title", [](Window& w, WindowPlatform&, const PropertyValue& v) { w.Title(AsText(v)); }},
      {"HasCloseButton", [](Window&, WindowPlatform& p, const PropertyValue& v) { p.hasCloseButton = AsBoolean(v); }},
      {"HasMaximizeButton",
       [](Window&, WindowPlatform& p, const PropertyValue& v) { p.hasMaximizeButton = AsBoolean(v); }},
      {"HasMinimizeButton",
       [](Window&, WindowPlatform& p, const PropertyValue& v) { p.hasMinimizeButton = AsBoolean(v); }},
      {"Resizeable", [](Window&, WindowPlatform& p, const PropertyValue& v) { p.resizeable = AsBoolean(v); }},
      {"Visible", [](Window& w, WindowPlatform&, const PropertyValue& v) { w.showWhenBuilt_ = AsBoolean(v); }},
      {"HasBackgroundColor",
       [](Window&, WindowPlatform& p, const PropertyValue& v) { p.hasBackgroundColor = AsBoolean(v); }},
      {"BackgroundColor",
       [](Window&, WindowPlatform& p, const PropertyValue& v) { p.backgroundColor = ToQColor(AsColor(v)); }},
      {"MenuBarVisible",
       [](Window&, WindowPlatform& p, const PropertyValue& v) {
         p.menuBarVisible = AsBoolean(v);
         if (p.menuBar) p.menuBar->setVisible(p.menuBarVisible);
       }},
      // Values this platform has no use for.
      {"Type", [](Window&, WindowPlatform&, const PropertyValue&) {}},
      {"HasFullScreenButton", [](Window&, WindowPlatform&, const PropertyValue&) {}},
      {"Composite", [](Window&, WindowPlatform&, const PropertyValue&) {}},
      {"FullScreen", [](Window&, WindowPlatform&, const PropertyValue&) {}},
      {"LiveResize", [](Window&, WindowPlatform&, const PropertyValue&) {}},
      {"MacProcID", [](Window&, WindowPlatform&, const PropertyValue&) {}},
      {"DefaultLocation", [](Window&, WindowPlatform&, const PropertyValue&) {}},
  };
  auto setter = kSetters.find(name);
  if (setter == kSetters.end()) throw InvalidArgumentException("window has no property " + std::string(name));
  setter->second(*this, *platform_, value);
}

void Window::Adopt(Control& control) { control.owner_ = weak_from_this(); }

void Window::AddControl(const std::string& name, const Ref<Control>& control) {
  if (!control) throw NilObjectException("AddControl: nil control");
  control->name_ = name;
  control->owner_ = weak_from_this();
  controls_.push_back(control);
}

Ref<Control> Window::ControlByName(const std::string& name) const {
  for (const Ref<Control>& control : controls_)
    if (control->Name() == name) return control;
  return {};
}

Ref<Control> Window::ControlByNameIndex(const std::string& name, int64_t index) const {
  for (const Ref<Control>& control : controls_)
    if (control->Name() == name && control->Index() == index) return control;
  return {};
}

Ref<Window> GetImplicitWindow(const std::string& className) {
  RuntimeRegisterClass(className);
  for (const Ref<Window>& window : State().openWindows)
    if (window->ClassName() == className) return window;
  return {};
}

std::vector<Ref<Window>> OpenWindows() { return State().openWindows; }

}  // namespace fw
