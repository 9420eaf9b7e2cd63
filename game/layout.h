#pragma once

#include <cstdint>
#include <vector>

#include "framework/property.h"

// The game window's layout: its own property set and those of its 43
// controls, in creation order.
namespace karuta {

enum class ControlKind { CardCanvas, FudaCanvas, Label, TextField, TextArea, Listbox, PushButton, Separator, Canvas, Timer };

struct ControlLayout {
  ControlKind kind;
  const char* name;
  int64_t index;  // fw::kNoIndex outside a control array
  fw::PropertySet properties;
};

const fw::PropertySet& KarutaWindowProperties();
const std::vector<ControlLayout>& KarutaWindowControls();

// Controls 1 to 28 of the creation order are made by the first creation step,
// the rest by the second.
inline constexpr size_t kFirstCreationStepControls = 28;

}  // namespace karuta
