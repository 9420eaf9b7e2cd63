#pragma once

#include <cstdint>

#include "framework/controls.h"

namespace karuta {

// A card frame: an element of the control array CardCanvas.
class CardCanvas : public fw::Canvas {
 public:
  void Constructor(int64_t index) {
    Index(index);
    RectControl::Constructor();
  }
};

// A card the player clicks: an element of the control array FudaCanvas.
class FudaCanvas : public fw::Canvas {
 public:
  void Constructor(int64_t index) {
    Index(index);
    RectControl::Constructor();
  }
};

// The game window's timer: a timer that sits on a window under a name.
class _wrapper_MyTimer : public fw::Timer {};

}  // namespace karuta
