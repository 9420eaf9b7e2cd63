#pragma once

#include "framework/application.h"

namespace karuta {

// The application object.
class App : public fw::Application {
 public:
  void Constructor() override {}
};

}  // namespace karuta
