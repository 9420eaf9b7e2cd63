#include "framework/controls.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <unordered_map>

#include "framework/platform.h"
#include "framework/runtime_state.h"
#include "framework/window.h"

namespace fw {
namespace {

template <class C>
using Setter = void (*)(C&, const PropertyValue&);
template <class C>
using SetterTable = std::unordered_map<std::string_view, Setter<C>>;

template <class C>
void Ignore(C&, const PropertyValue&) {}

// Applies a property from the table; false when the table lacks the name.
template <class C>
bool ApplyFrom(const SetterTable<C>& table, C& control, std::string_view name, const PropertyValue& value) {
  auto setter = table.find(name);
  if (setter == table.end()) return false;
  setter->second(control, value);
  return true;
}

template <class W>
W* As(const std::unique_ptr<WidgetPlatform>& platform) {
  return platform ? static_cast<W*>(platform->widget.data()) : nullptr;
}

// The widget a setter acts on; a control without one raises.
template <class W>
W* Need(const std::unique_ptr<WidgetPlatform>& platform) {
  W* widget = As<W>(platform);
  if (!widget) throw NilObjectException("control has no widget");
  return widget;
}

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// Whether a timer's platform timer waits for the test to fire it.
bool timersHeld = false;

// How many characters a text control holds when its layout sets no limit.
constexpr int kTextLimit = 32767;

int TextLimit(int64_t maximum) { return maximum > 0 && maximum < kTextLimit ? static_cast<int>(maximum) : kTextLimit; }

// Text in a multiline control breaks at carriage returns.
QString WithLineBreaks(const std::string& text) { return ToQt(text).replace('\r', '\n'); }

std::string WithCarriageReturns(const QString& text) {
  QString copy = text;
  return copy.replace('\n', '\r').toStdString();
}

// A text area's platform widget. Every paste, middle click and drop comes
// through here with what the clipboard, the selection or the drag holds: it
// inserts that plain text, up to the area's limit, or nothing. Qt's own code
// crashes on a source that offers no text, and lays out one long unbroken
// line in time that grows with the square of its length.
class TextAreaWidget final : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;
  void Limit(int limit) { limit_ = limit; }

 protected:
  bool canInsertFromMimeData(const QMimeData* source) const override {
    return !isReadOnly() && source && source->hasFormat(QStringLiteral("text/plain"));  // not a file list's text
  }

  void insertFromMimeData(const QMimeData* source) override {
    if (!canInsertFromMimeData(source)) return;
    const QTextCursor cursor = textCursor();
    const qsizetype kept = document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
    const QString text = source->text();
    qsizetype room = std::clamp<qsizetype>(limit_ - kept, 0, text.size());
    if (room > 0 && room < text.size() && text.at(room - 1).isHighSurrogate()) --room;  // no half a character
    QMimeData plain;
    plain.setText(text.left(room));
    QPlainTextEdit::insertFromMimeData(&plain);  // one undo step, as Qt's own
  }

 private:
  int limit_ = kTextLimit;
};

// A canvas's platform widget: paints and reports presses through its control.
class CanvasWidget : public QWidget {
 public:
  CanvasWidget(QWidget* parent, std::weak_ptr<Canvas> canvas) : QWidget(parent), canvas_(std::move(canvas)) {
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    auto canvas = canvas_.lock();
    if (!canvas || !canvas->Paint.IsBound()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    GraphicsPlatform platform{painter};
    Graphics graphics(platform);
    std::vector<PaintArea> areas;
    for (const QRect& r : event->region()) areas.push_back({r.x(), r.y(), r.width(), r.height()});
    detail::Dispatch([&] { canvas->Paint.Raise(*canvas, graphics, areas); });
  }

  void mousePressEvent(QMouseEvent* event) override {
    auto canvas = canvas_.lock();
    if (!canvas || !canvas->MouseDown.IsBound()) return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    auto window = canvas->Owner();  // kept alive while its handler runs
    detail::Dispatch([&] { canvas->MouseDown.Raise(*canvas, at.x(), at.y()); });
  }

 private:
  std::weak_ptr<Canvas> canvas_;
};

}  // namespace

QWidget* WidgetOf(const RectControl& control) { return control.Platform().widget.data(); }

// Control

Control::Control() = default;
Control::~Control() = default;

void Control::SetProperties(const PropertySet& properties) {
  for (const Property& property : properties) ApplyProperty(property.name, property.value);
}

void Control::ApplyProperty(std::string_view name, const PropertyValue& value) {
  if (name == "Index") return Index(AsInteger(value));
  if (name == "Name") return;  // the name is the one the control is registered under
  throw InvalidArgumentException("control has no property " + std::string(name));
}

// RectControl

RectControl::RectControl() = default;
RectControl::~RectControl() = default;

void RectControl::Constructor() {
  auto window = Owner();
  if (!window) throw NilObjectException("control has no window");
  CreateWidget();
  Place();
  platform_->widget->setVisible(visible_);
}

WidgetPlatform& RectControl::Platform() const {
  if (!platform_ || !platform_->widget) throw NilObjectException("control " + Name() + " has no widget");
  return *platform_;
}

void RectControl::Left(int64_t left) {
  left_ = left;
  Place();
}

void RectControl::Top(int64_t top) {
  top_ = top;
  Place();
}

void RectControl::Width(int64_t width) {
  width_ = width;
  Place();
}

void RectControl::Height(int64_t height) {
  height_ = height;
  Place();
}

void RectControl::Visible(bool visible) {
  visible_ = visible;
  if (platform_ && platform_->widget) platform_->widget->setVisible(visible);
}

void RectControl::Enabled(bool enabled) {
  enabled_ = enabled;
  if (platform_ && platform_->widget) platform_->widget->setEnabled(enabled);
}

void RectControl::Refresh(bool immediately) {
  QWidget* widget = Platform().widget;
  if (immediately && widget->isVisible())
    widget->repaint();
  else
    widget->update();
}

void RectControl::Place() {
  if (!platform_ || !platform_->widget) return;
  auto parent = parent_.lock();
  const int64_t x = left_ - (parent ? parent->Left() : 0);
  const int64_t y = top_ - (parent ? parent->Top() : 0);
  platform_->widget->setGeometry(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width_),
                                 static_cast<int>(height_));
}

// "Name$Index" names an element of a control array; a plain name any control.
void RectControl::SetParentControl(const std::string& reference) {
  if (reference.empty()) return;
  auto window = Owner();
  if (!window) throw NilObjectException("control has no window");
  const auto dollar = reference.find('$');
  Ref<Control> found = dollar == std::string::npos
                           ? window->ControlByName(reference)
                           : window->ControlByNameIndex(reference.substr(0, dollar),
                                                        std::stoll(reference.substr(dollar + 1)));
  auto parent = std::dynamic_pointer_cast<RectControl>(found);
  if (!parent) throw NilObjectException("InitialParent " + reference + " names no control");
  parent_ = parent;
  Platform().widget->setParent(WidgetOf(*parent));
  Place();
  platform_->widget->setVisible(visible_);
}

void RectControl::ApplyProperty(std::string_view name, const PropertyValue& value) {
  static const SetterTable<RectControl> kSetters = {
      {"Left", [](RectControl& c, const PropertyValue& v) { c.Left(AsInteger(v)); }},
      {"Top", [](RectControl& c, const PropertyValue& v) { c.Top(AsInteger(v)); }},
      {"Width", [](RectControl& c, const PropertyValue& v) { c.Width(AsInteger(v)); }},
      {"Height", [](RectControl& c, const PropertyValue& v) { c.Height(AsInteger(v)); }},
      {"Visible", [](RectControl& c, const PropertyValue& v) { c.Visible(AsBoolean(v)); }},
      {"Enabled", [](RectControl& c, const PropertyValue& v) { c.Enabled(AsBoolean(v)); }},
      {"InitialParent", [](RectControl& c, const PropertyValue& v) { c.SetParentControl(AsText(v)); }},
      // No anchors: controls keep their place when the window is resized.
      {"LockLeft", Ignore<RectControl>},
      {"LockTop", Ignore<RectControl>},
      {"LockRight", Ignore<RectControl>},
      {"LockBottom", Ignore<RectControl>},
      // Keyboard focus follows the creation order.
      {"TabIndex", Ignore<RectControl>},
      {"TabStop", Ignore<RectControl>},
      {"TabPanelIndex", Ignore<RectControl>},
      {"Tooltip", Ignore<RectControl>},
      {"AllowAutoDeactivate", Ignore<RectControl>},
      {"Transparent", Ignore<RectControl>},
  };
  if (!ApplyFrom(kSetters, *this, name, value)) Control::ApplyProperty(name, value);
}

// TextControl

void TextControl::TextFont(const std::string& name) {
  fontName_ = name;
  ApplyFont();
}

void TextControl::TextSize(double size) {
  fontSize_ = size;
  ApplyFont();
}

void TextControl::Bold(bool bold) {
  bold_ = bold;
  ApplyFont();
}

void TextControl::TextColor(Color color) {
  QWidget* widget = Platform().widget;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, ToQColor(color));
  palette.setColor(QPalette::Text, ToQColor(color));
  palette.setColor(QPalette::ButtonText, ToQColor(color));
  widget->setPalette(palette);
}

void TextControl::ApplyFont() {
  if (platform_ && platform_->widget)
    platform_->widget->setFont(FontFor(fontName_, fontSize_, bold_, italic_, underline_));
}

void TextControl::ApplyProperty(std::string_view name, const PropertyValue& value) {
  static const SetterTable<TextControl> kSetters = {
      {"TextFont", [](TextControl& c, const PropertyValue& v) { c.TextFont(AsText(v)); }},
      {"FontName", [](TextControl& c, const PropertyValue& v) { c.TextFont(AsText(v)); }},
      {"TextSize", [](TextControl& c, const PropertyValue& v) { c.TextSize(AsDouble(v)); }},
      {"FontSize", [](TextControl& c, const PropertyValue& v) { c.TextSize(AsDouble(v)); }},
      {"Bold", [](TextControl& c, const PropertyValue& v) { c.Bold(AsBoolean(v)); }},
      {"Italic",
       [](TextControl& c, const PropertyValue& v) {
         c.italic_ = AsBoolean(v);
         c.ApplyFont();
       }},
      {"Underline",
       [](TextControl& c, const PropertyValue& v) {
         c.underline_ = AsBoolean(v);
         c.ApplyFont();
       }},
      {"TextColor", [](TextControl& c, const PropertyValue& v) { c.TextColor(AsColor(v)); }},
      {"TextUnit", Ignore<TextControl>},
      {"FontUnit", Ignore<TextControl>},
      {"TextAlignment", Ignore<TextControl>},
  };
  if (!ApplyFrom(kSetters, *this, name, value)) RectControl::ApplyProperty(name, value);
}

// Label

void Label::CreateWidget() {
  auto* label = new QLabel(Owner()->Platform().content);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  platform_ = std::make_unique<WidgetPlatform>(WidgetPlatform{label});
}

void Label::Text(const std::string& text) {
  text_ = text;
  Show();
}

void Label::Multiline(bool multiline) {
  multiline_ = multiline;
  Show();
}

void Label::Show() {
  auto* label = As<QLabel>(platform_);
  if (!label) return;
  label->setWordWrap(multiline_);
  label->setText(multiline_ ? WithLineBreaks(text_) : ToQt(text_));
}

void Label::ApplyProperty(std::string_view name, const PropertyValue& value) {
  static const SetterTable<Label> kSetters = {
      {"Text", [](Label& c, const PropertyValue& v) { c.Text(AsText(v)); }},
      {"Multiline", [](Label& c, const PropertyValue& v) { c.Multiline(AsBoolean(v)); }},
      {"Selectable", Ignore<Label>},
      {"DataSource", Ignore<Label>},
      {"DataField", Ignore<Label>},
  };
  if (!ApplyFrom(kSetters, *this, name, value)) TextControl::ApplyProperty(name, value);
}

// TextField

void TextField::CreateWidget() {
  auto* field = new QLineEdit(Owner()->Platform().content);
  platform_ = std::make_unique<WidgetPlatform>(WidgetPlatform{field});
}

std::string TextField::Text() const {
  auto* field = As<QLineEdit>(platform_);
  return field ? field->text().toStdString() : "";
}

void TextField::Text(const std::string& text) {
  auto* field = Need<QLineEdit>(platform_);
  field->setText(ToQt(text));
  field->setCursorPosition(0);
}

std::vector<std::string> TextField::BoundEvents() const {
  return Open.IsBound() ? std::vector<std::string>{"Open"} : std::vector<std::string>{};
}

namespace {

void SetBaseColor(QWidget* widget, Color color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, ToQColor(color));
  widget->setPalette(palette);
}

}  // namespace

void TextField::ApplyProperty(std::string_view name, const PropertyValue& value) {
  static const SetterTable<TextField> kSetters = {
      {"Text", [](TextField& c, const PropertyValue& v) { c.Text(AsText(v)); }},
      {"BackgroundColor", [](TextField& c, const PropertyValue& v) { SetBaseColor(WidgetOf(c), AsColor(v)); }},
      {"HasBorder", [](TextField& c, const PropertyValue& v) { Need<QLineEdit>(c.platform_)->setFrame(AsBoolean(v)); }},
      {"ReadOnly", [](TextField& c, const PropertyValue& v) { Need<QLineEdit>(c.platform_)->setReadOnly(AsBoolean(v)); }},
      {"Password",
       [](TextField& c, const PropertyValue& v) {
         Need<QLineEdit>(c.platform_)->setEchoMode(AsBoolean(v) ? QLineEdit::Password : QLineEdit::Normal);
       }},
      {"Hint", [](TextField& c, const PropertyValue& v) { Need<QLineEdit>(c.platform_)->setPlaceholderText(ToQt(AsText(v))); }},
      {"MaximumCharactersAllowed",
       [](TextField& c, const PropertyValue& v) {
         Need<QLineEdit>(c.platform_)->setMaxLength(TextLimit(AsInteger(v)));
       }},
      {"Format", Ignore<TextField>},
      {"ValidationMask", Ignore<TextField>},
      {"AllowSpellChecking", Ignore<TextField>},
      {"AllowTabs", Ignore<TextField>},
      {"AllowFocusRing", Ignore<TextField>},
  };
  if (!ApplyFrom(kSetters, *this, name, value)) TextControl::ApplyProperty(name, value);
}

// TextArea

void TextArea::CreateWidget() {
  auto* area = new TextAreaWidget(Owner()->Platform().content);
  area->setTabChangesFocus(true);
  platform_ = std::make_unique<WidgetPlatform>(WidgetPlatform{area});
}

std::string TextArea::Text() const {
  auto* area = As<QPlainTextEdit>(platform_);
  return area ? WithCarriageReturns(area->toPlainText()) : "";
}

void TextArea::Text(const std::string& text) {
  auto* area = Need<QPlainTextEdit>(platform_);
  const QString shown = WithLineBreaks(text);
  if (area->toPlainText() != shown) area->setPlainText(shown);
}

void TextArea::ApplyProperty(std::string_view name, const PropertyValue& value) {
  static const auto scrollBar = [](bool on) { return on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff; };
  static const SetterTable<TextArea> kSetters = {
      {"Text", [](TextArea& c, const PropertyValue& v) { c.Text(AsText(v)); }},
      {"BackgroundColor", [](TextArea& c, const PropertyValue& v) { SetBaseColor(WidgetOf(c), AsColor(v)); }},
      {"HasBorder",
       [](TextArea& c, const PropertyValue& v) {
         Need<QPlainTextEdit>(c.platform_)->setFrameShape(AsBoolean(v) ? QFrame::StyledPanel : QFrame::NoFrame);
       }},
      {"ReadOnly", [](TextArea& c, const PropertyValue& v) { Need<QPlainTextEdit>(c.platform_)->setReadOnly(AsBoolean(v)); }},
      {"HasVerticalScrollbar",
       [](TextArea& c, const PropertyValue& v) {
         Need<QPlainTextEdit>(c.platform_)->setVerticalScrollBarPolicy(scrollBar(AsBoolean(v)));
       }},
      {"HasHorizontalScrollbar",
       [](TextArea& c, const PropertyValue& v) {
         Need<QPlainTextEdit>(c.platform_)->setHorizontalScrollBarPolicy(scrollBar(AsBoolean(v)));
       }},
      {"Multiline", Ignore<TextArea>},
      {"AllowStyledText", Ignore<TextArea>},
      {"AllowSpellChecking", Ignore<TextArea>},
      {"HideSelection", Ignore<TextArea>},
      {"LineSpacing", Ignore<TextArea>},
      {"LineHeight", Ignore<TextArea>},
      {"MaximumCharactersAllowed",
       [](TextArea& c, const PropertyValue& v) { Need<TextAreaWidget>(c.platform_)->Limit(TextLimit(AsInteger(v))); }},
      {"UnicodeMode", Ignore<TextArea>},
      {"AllowTabs", Ignore<TextArea>},
      {"AllowFocusRing", Ignore<TextArea>},
  };
  if (!ApplyFrom(kSetters, *this, name, value)) TextControl::ApplyProperty(name, value);
}

// Listbox

void Listbox::CreateWidget() {
  auto* list = new QListWidget(Owner()->Platform().content);
  list->setUniformItemSizes(true);  // rows share one height, measured once
  platform_ = std::make_unique<WidgetPlatform>(WidgetPlatform{list});
}

void Listbox::InitialValue(const std::string& value) {
  rows_.clear();
  size_t start = 0;
  while (start < value.size()) {
    size_t end = value.find('\r', start);
    if (end == std::string::npos) end = value.size();
    rows_.push_back(value.substr(start, end - start));
    start = end + 1;
  }
  if (auto* list = As<QListWidget>(platform_)) {
    list->clear();
    for (const std::string& row : rows_) list->addItem(ToQt(row));
  }
}

const std::string& Listbox::List(int64_t row) const {
  if (row < 0 || row >= RowCount())
    throw OutOfBoundsException(Name() + " has no row " + std::to_string(row));
  return rows_[static_cast<size_t>(row)];
}

void Listbox::ApplyProperty(std::string_view name, const PropertyValue& value) {
  static const SetterTable<Listbox> kSetters = {
      {"InitialValue", [](Listbox& c, const PropertyValue& v) { c.InitialValue(AsText(v)); }},
      {"HasBorder",
       [](Listbox& c, const PropertyValue& v) {
         Need<QListWidget>(c.platform_)->setFrameShape(AsBoolean(v) ? QFrame::StyledPanel : QFrame::NoFrame);
       }},
      {"ColumnCount", Ignore<Listbox>},
      {"HasHeader", Ignore<Listbox>},
      {"HasVerticalScrollbar", Ignore<Listbox>},
      {"HasHorizontalScrollbar", Ignore<Listbox>},
      {"RequiresSelection", Ignore<Listbox>},
      {"RowSelectionType", Ignore<Listbox>},
      {"DefaultRowHeight", Ignore<Listbox>},
      {"HeadingIndex", Ignore<Listbox>},
      {"AllowRowDragging", Ignore<Listbox>},
      {"AllowRowReordering", Ignore<Listbox>},
      {"AllowExpandableRows", Ignore<Listbox>},
      {"AllowResizableColumns", Ignore<Listbox>},
      {"AllowFocusRing", Ignore<Listbox>},
  };
  if (!ApplyFrom(kSetters, *this, name, value)) TextControl::ApplyProperty(name, value);
}

// PushButton

void PushButton::CreateWidget() {
  auto* button = new QPushButton(Owner()->Platform().content);
  button->setAutoDefault(false);
  std::weak_ptr<PushButton> weak = std::static_pointer_cast<PushButton>(shared_from_this());
  QObject::connect(button, &QPushButton::clicked, [weak] {
    if (auto self = weak.lock()) {
      auto window = self->Owner();  // kept alive while its handler runs
      detail::Dispatch([&] { self->Action.Raise(*self); });
    }
  });
  platform_ = std::make_unique<WidgetPlatform>(WidgetPlatform{button});
}

void PushButton::Caption(const std::string& caption) { Need<QPushButton>(platform_)->setText(ToQt(caption)); }

std::string PushButton::Caption() const { return Need<QPushButton>(platform_)->text().toStdString(); }

void PushButton::Default(bool isDefault) {
  default_ = isDefault;
  if (auto* button = As<QPushButton>(platform_)) button->setDefault(isDefault);
}

void PushButton::Push() {
  if (auto* button = As<QPushButton>(platform_)) button->click();
}

std::vector<std::string> PushButton::BoundEvents() const {
  return Action.IsBound() ? std::vector<std::string>{"Action"} : std::vector<std::string>{};
}

void PushButton::ApplyProperty(std::string_view name, const PropertyValue& value) {
  static const SetterTable<PushButton> kSetters = {
      {"Caption", [](PushButton& c, const PropertyValue& v) { c.Caption(AsText(v)); }},
      {"Default", [](PushButton& c, const PropertyValue& v) { c.Default(AsBoolean(v)); }},
      {"Cancel", Ignore<PushButton>},
      {"MacButtonStyle", Ignore<PushButton>},
  };
  if (!ApplyFrom(kSetters, *this, name, value)) TextControl::ApplyProperty(name, value);
}

// Separator

void Separator::CreateWidget() {
  auto* line = new QFrame(Owner()->Platform().content);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  platform_ = std::make_unique<WidgetPlatform>(WidgetPlatform{line});
}

// Canvas

void Canvas::CreateWidget() {
  auto* widget = new CanvasWidget(Owner()->Platform().content, std::static_pointer_cast<Canvas>(shared_from_this()));
  platform_ = std::make_unique<WidgetPlatform>(WidgetPlatform{widget});
}

void Canvas::Backdrop(Ref<Picture> picture) {
  backdrop_ = std::move(picture);
  if (platform_ && platform_->widget) platform_->widget->update();
}

std::vector<std::string> Canvas::BoundEvents() const {
  std::vector<std::string> events;
  if (MouseDown.IsBound()) events.push_back("MouseDown");
  if (Open.IsBound()) events.push_back("Open");
  if (Paint.IsBound()) events.push_back("Paint");
  return events;
}

void Canvas::ApplyProperty(std::string_view name, const PropertyValue& value) {
  static const SetterTable<Canvas> kSetters = {
      {"AllowFocus", Ignore<Canvas>},  // a canvas never takes keyboard focus
      {"AllowTabs", Ignore<Canvas>},
      {"AllowFocusRing", Ignore<Canvas>},
      {"DoubleBuffer", Ignore<Canvas>},
  };
  if (!ApplyFrom(kSetters, *this, name, value)) RectControl::ApplyProperty(name, value);
}

// Timer

Timer::Timer() : platform_(std::make_unique<TimerPlatform>()) {
  platform_->timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&platform_->timer, &QTimer::timeout, [this] { Fire(); });
}

Timer::~Timer() = default;

void Timer::RunMode(int64_t mode) {
  runMode_ = mode;
  Schedule();
}

void Timer::Period(int64_t milliseconds) {
  if (milliseconds == period_) return;  // keeps the running timer's rhythm
  period_ = milliseconds;
  Schedule();
}

void Timer::Enabled(bool enabled) {
  enabled_ = enabled;
  Schedule();
}

bool Timer::IsRunning() const { return enabled_ && runMode_ > 0; }

void HoldPlatformTimers(bool held) { timersHeld = held; }

void Timer::Schedule() {
  QTimer& timer = platform_->timer;
  timer.stop();
  if (!IsRunning()) return;
  timer.setSingleShot(runMode_ == 1);
  timer.setInterval(static_cast<int>(std::max<int64_t>(period_, 1)));
  if (!timersHeld) timer.start();
}

void Timer::Fire() {
  if (runMode_ == 1) runMode_ = 0;
  auto self = std::static_pointer_cast<Timer>(shared_from_this());
  auto window = Owner();  // kept alive while its handler runs
  detail::Dispatch([&] { Action.Raise(*self); });
}

std::vector<std::string> Timer::BoundEvents() const {
  return Action.IsBound() ? std::vector<std::string>{"Action"} : std::vector<std::string>{};
}

void Timer::ApplyProperty(std::string_view name, const PropertyValue& value) {
  static const SetterTable<Timer> kSetters = {
      {"RunMode", [](Timer& c, const PropertyValue& v) { c.RunMode(AsInteger(v)); }},
      {"Period", [](Timer& c, const PropertyValue& v) { c.Period(AsInteger(v)); }},
      {"Enabled", [](Timer& c, const PropertyValue& v) { c.Enabled(AsBoolean(v)); }},
  };
  if (!ApplyFrom(kSetters, *this, name, value)) Control::ApplyProperty(name, value);
}

}  // namespace fw
