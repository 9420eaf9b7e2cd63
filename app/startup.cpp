#include "app/startup.h"

#include "app/app.h"
#include "app/file_types.h"
#include "app/menubar1.h"
#include "app/module.h"
#include "game/karuta_window.h"
#include "game/module.h"

namespace karuta {
namespace {

void BuildFileTypes() { FileTypes::Initialize(); }

fw::Ref<fw::MenuBar> TheMenuBar() { return MenuBar1(); }

void OpenGameWindow() { KarutaWindow(); }

constexpr fw::ProgramModule kModules[] = {
    {InitializeShellModule, FinalizeShellModule},
    {InitializeGameModule, nullptr},
};

}  // namespace

std::span<const fw::ProgramModule> ProgramModules() { return kModules; }

StartupWork& StartupSteps() {
  static StartupWork steps{fw::RuntimePerformInitializers, BuildFileTypes, TheMenuBar, OpenGameWindow};
  return steps;
}

// A failing initialiser skips Main; the finalisers run whatever happened.
int EntryPoint() {
  fw::RuntimeInit(ProgramModules());
  try {
    StartupSteps().performInitializers();
    Main();
  } catch (...) {
    fw::UnhandledException(std::current_exception());
  }
  fw::RuntimePerformFinalizers();
  return fw::RuntimeExit();
}

void Main() {
  try {
    fw::RuntimeSetExceptionHelper(fw::CallFunctionWithExceptionHandling);
    EarlyStartup();
    fw::RunFrameworkInitialization(LateStartup);
    fw::RuntimeRun();
  } catch (...) {
    fw::UnhandledException(std::current_exception());
  }
}

void EarlyStartup() {
  fw::Application::SetSupportsHiDPI(true);
  InitFileTypes();
  NewAppInstance();
  ApplicationAddMenuHandlers();
}

void InitFileTypes() { StartupSteps().buildFileTypes(); }

void NewAppInstance() {
  fw::Ref<App> app = fw::RuntimeNewObject<App>();
  app->Constructor();
  app->x_SetVersionData(1, 5, 0, 0, 3, kLongVersion, "1.0", "");
  app->MenuBar(StartupSteps().menuBar());
  fw::RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers() {}

void LateStartup() { MakeDefaultView(); }

void MakeDefaultView() { StartupSteps().openGameWindow(); }

}  // namespace karuta
