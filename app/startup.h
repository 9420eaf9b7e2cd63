#pragma once

#include <span>

#include "framework/menu.h"
#include "framework/runtime.h"

// Start-up, from the entry point to the event loop and back.
namespace karuta {

// The body of main: runtime, initialisers, Main, finalisers, exit code.
int EntryPoint();
void Main();
void EarlyStartup();
void InitFileTypes();
void NewAppInstance();
void ApplicationAddMenuHandlers();
void LateStartup();
void MakeDefaultView();

// The program's modules, whose initialisers and finalisers the runtime runs.
std::span<const fw::ProgramModule> ProgramModules();

// The work of the steps that may fail; tests put a failing one in place.
struct StartupWork {
  void (*performInitializers)();
  void (*buildFileTypes)();
  fw::Ref<fw::MenuBar> (*menuBar)();
  void (*openGameWindow)();
};
StartupWork& StartupSteps();

inline constexpr const char* kLongVersion = "霞札苑 1.5.0";

}  // namespace karuta
