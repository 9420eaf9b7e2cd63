#pragma once

#include <exception>
#include <functional>
#include <span>
#include <string>

#include "framework/application.h"
#include "framework/ref.h"

// The runtime: start-up, event loop, unhandled exceptions and shut-down.
namespace fw {

// A module of the program: what its initialiser and finaliser do.
struct ProgramModule {
  void (*initialize)() = nullptr;
  void (*finalize)() = nullptr;
};

// Readies the runtime, remembering the program's modules.
void RuntimeInit(std::span<const ProgramModule> modules = {});
// Runs the framework's initialisers, then the program's, in module order.
void RuntimePerformInitializers();
// Runs the program's finalisers in reverse order, then the framework's:
// every window closes and the application object is released.
void RuntimePerformFinalizers();
// The exit code: 0 after a normal quit, 1 after an unhandled exception.
int RuntimeExit();

// Runs a function, giving any exception it raises to UnhandledException.
using ExceptionHelper = void (*)(const std::function<void()>&);
void CallFunctionWithExceptionHandling(const std::function<void()>& call);
// The helper the framework calls its event handlers through.
void RuntimeSetExceptionHelper(ExceptionHelper helper);

// The treatment of an exception that nothing handled: one line on stderr,
// then the event loop ends and the exit code becomes 1.
void UnhandledException(std::exception_ptr error);
// How many exceptions reached UnhandledException, and the line for the last.
int UnhandledExceptionCount();
const std::string& LastUnhandledException();

// Classes known to the runtime by their full names. A class looked up before
// it is registered is registered then.
void RuntimeRegisterClass(const std::string& name);
bool RuntimeIsClassRegistered(const std::string& name);

// A new object of a class, with no constructor of the program's run.
template <class T>
Ref<T> RuntimeNewObject() {
  return std::make_shared<T>();
}

// Makes the object the running application; the runtime holds it.
void RuntimeRegisterAppObject(Ref<Application> app);
Ref<Application> RuntimeAppObject();

// Initialises the platform and calls lateStartup once, on the main thread,
// when the event loop is ready for the first window.
void RunFrameworkInitialization(void (*lateStartup)());
// The event loop; returns when the application quits.
void RuntimeRun();

}  // namespace fw
