#include "game/message_window.h"

namespace karuta {
namespace {

using fw::Color;

const fw::PropertySet kWindowLayout = {
    {"Width", int64_t{388}},         {"Height", int64_t{100}},         {"MinimumWidth", int64_t{64}},
    {"MinimumHeight", int64_t{64}},  {"MaximumWidth", int64_t{32000}}, {"MaximumHeight", int64_t{32000}},
    {"Type", int64_t{0}},            {"Title", ""},                    {"HasCloseButton", true},
    {"HasMaximizeButton", true},     {"HasMinimizeButton", true},      {"HasFullScreenButton", false},
    {"Resizeable", true},            {"Composite", false},             {"MacProcID", int64_t{0}},
    {"FullScreen", false},           {"DefaultLocation", int64_t{0}},  {"Visible", true},
    {"HasBackgroundColor", false},   {"BackgroundColor", Color{0xFFFFFF}}, {"MenuBarVisible", true},
    {"LiveResize", false},
};

const fw::PropertySet kMessageLayout = {
    {"Name", "Message"},      {"Index", fw::kNoIndex},    {"Left", int64_t{20}},       {"Top", int64_t{14}},
    {"Width", int64_t{348}},  {"Height", int64_t{52}},    {"LockLeft", false},         {"LockTop", false},
    {"LockRight", false},     {"LockBottom", false},      {"TabIndex", int64_t{0}},    {"TabPanelIndex", int64_t{0}},
    {"TabStop", true},        {"Enabled", true},          {"Multiline", true},         {"Selectable", false},
    {"TextColor", Color{0}},  {"Transparent", false},     {"Text", ""},                {"Visible", true},
    {"Bold", false},          {"Italic", false},          {"Underline", false},        {"DataSource", ""},
    {"DataField", ""},        {"InitialParent", ""},      {"AllowAutoDeactivate", true}, {"Tooltip", ""},
    {"TextAlignment", int64_t{0}}, {"FontName", "MS明朝"}, {"FontSize", int64_t{12}},  {"FontUnit", int64_t{0}},
};

const fw::PropertySet kOKButtonLayout = {
    {"Name", "OKButton"},     {"Index", fw::kNoIndex},    {"Left", int64_t{240}},      {"Top", int64_t{71}},
    {"Width", int64_t{69}},   {"Height", int64_t{22}},    {"LockLeft", false},         {"LockTop", false},
    {"LockRight", false},     {"LockBottom", false},      {"TabIndex", int64_t{1}},    {"TabPanelIndex", int64_t{0}},
    {"TabStop", true},        {"Cancel", false},          {"Caption", "OK"},           {"Default", true},
    {"Enabled", true},        {"Transparent", true},      {"Visible", true},           {"Bold", false},
    {"Italic", false},        {"Underline", false},       {"InitialParent", ""},       {"AllowAutoDeactivate", true},
    {"MacButtonStyle", int64_t{0}}, {"Tooltip", ""},      {"FontName", "System"},      {"FontSize", int64_t{12}},
    {"FontUnit", int64_t{0}},
};

}  // namespace

void MessageWindow::Layout() { SetProperties(kWindowLayout); }

void MessageWindow::CreateControls() { CreateControls0(); }

void MessageWindow::CreateControls0() {
  fw::Ref<fw::Label> message = New<fw::Label>();
  message->Constructor();
  AddControl("Message", message);
  Message()->SetProperties(kMessageLayout);
  fw::Ref<fw::PushButton> button = New<fw::PushButton>();
  button->Constructor();
  AddControl("OKButton", button);
  OKButton()->SetProperties(kOKButtonLayout);
  OKButton()->Action.AddEventHandler(fw::RuntimeCreateDelegate(*this, &MessageWindow::OKButton_Action));
}

fw::Ref<fw::Label> MessageWindow::Message() const { return fw::Cast<fw::Label>(ControlByName("Message")); }

fw::Ref<fw::PushButton> MessageWindow::OKButton() const { return fw::Cast<fw::PushButton>(ControlByName("OKButton")); }

void MessageWindow::OKButton_Action(fw::PushButton&) { karuta::MessageWindow()->Close(); }

fw::Ref<class MessageWindow> MessageWindow() { return fw::ImplicitInstance<class MessageWindow>(); }

}  // namespace karuta
