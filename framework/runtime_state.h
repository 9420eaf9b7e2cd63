#pragma once

// The runtime's state, shared by the framework's own sources.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "framework/filetype.h"
#include "framework/runtime.h"
#include "framework/window.h"

namespace fw::detail {

struct RuntimeState {
  std::vector<ProgramModule> modules;
  ExceptionHelper exceptionHelper = nullptr;
  std::set<std::string> classes;
  Ref<Application> app;
  std::vector<Ref<Window>> openWindows;
  std::vector<FileTypeRegistration> fileTypes;
  int exitCode = 0;
  bool supportsHiDPI = false;
};

RuntimeState& State();

// Runs an event handler through the exception helper, so that no exception
// reaches the platform's event loop.
void Dispatch(const std::function<void()>& handler);

}  // namespace fw::detail
