#include "framework/runtime.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "framework/platform.h"
#include "framework/runtime_state.h"

namespace fw {
namespace detail {

RuntimeState& State() {
  static RuntimeState state;
  return state;
}

void Dispatch(const std::function<void()>& handler) {
  ExceptionHelper helper = State().exceptionHelper;
  (helper ? helper : CallFunctionWithExceptionHandling)(handler);
}

}  // namespace detail

namespace {

using detail::State;

struct Unhandled {
  int count = 0;
  std::string last;
};

Unhandled& TheUnhandled() {
  static Unhandled unhandled;
  return unhandled;
}

std::string Describe(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const RuntimeException& e) {
    return e.ClassName() + ": " + e.Message();
  } catch (const std::exception& e) {
    return std::string("exception: ") + e.what();
  } catch (...) {
    return "unknown exception";
  }
}

// The application the framework made itself, and the arguments it was given.
struct PlatformApp {
  int argc = 1;
  char name[8] = "karuta";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> app;
};

PlatformApp& ThePlatformApp() {
  static PlatformApp platform;
  return platform;
}

// While the platform starts, its messages are kept; if it cannot start (no
// display), the reason is printed on one line and the program ends.
QStringList startupMessages;

void StartupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    startupMessages << message;
    return;
  }
  const QString reason = startupMessages.isEmpty() ? message.section('\n', 0, 0) : startupMessages.first();
  std::fprintf(stderr, "Cannot open a display (%s). Run the game on a desktop, or under xvfb-run.\n",
               qPrintable(reason));
  std::_Exit(1);
}

void MakePlatformApp() {
  if (QCoreApplication::instance()) return;
  if (State().supportsHiDPI)
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  PlatformApp& platform = ThePlatformApp();
  startupMessages.clear();
  QtMessageHandler previous = qInstallMessageHandler(StartupMessageHandler);
  platform.app = std::make_unique<QApplication>(platform.argc, platform.argv);
  qInstallMessageHandler(previous);
  for (const QString& message : startupMessages) std::fprintf(stderr, "%s\n", qPrintable(message));
  ConfigurePlatformApp();
}

// The platform may call exit() from inside the event loop (xcb does when the
// X connection breaks). The exit handlers would then destroy the application
// while its loop is still on the stack, so the process ends at once instead.
bool eventLoopRunning = false;

void EndAtOnceFromInsideTheEventLoop() {
  if (!eventLoopRunning) return;
  std::fflush(nullptr);
  std::_Exit(1);
}

// Qt's own texts (the text fields' context menus) in the game's language,
// whatever the system's; without the translation file they stay as they are.
void InstallPlatformTranslation() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(QLocale(QLocale::Japanese), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace

void RuntimeInit(std::span<const ProgramModule> modules) {
  detail::RuntimeState& state = State();
  state = detail::RuntimeState{};
  state.modules.assign(modules.begin(), modules.end());
}

void RuntimePerformInitializers() {
  for (const ProgramModule& module : State().modules)
    if (module.initialize) module.initialize();
}

void RuntimePerformFinalizers() {
  detail::RuntimeState& state = State();
  for (auto it = state.modules.rbegin(); it != state.modules.rend(); ++it)
    if (it->finalize) it->finalize();
  for (const Ref<Window>& window : OpenWindows()) window->Close();
  state.app.reset();
  if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ThePlatformApp().app.reset();
}

int RuntimeExit() { return State().exitCode; }

void CallFunctionWithExceptionHandling(const std::function<void()>& call) {
  try {
    call();
  } catch (...) {
    UnhandledException(std::current_exception());
  }
}

void RuntimeSetExceptionHelper(ExceptionHelper helper) { State().exceptionHelper = helper; }

void UnhandledException(std::exception_ptr error) {
  Unhandled& unhandled = TheUnhandled();
  unhandled.last = Describe(error);
  ++unhandled.count;
  std::cerr << "Unhandled " << unhandled.last << std::endl;
  State().exitCode = 1;
  if (QCoreApplication::instance()) QCoreApplication::exit(1);
}

int UnhandledExceptionCount() { return TheUnhandled().count; }

const std::string& LastUnhandledException() { return TheUnhandled().last; }

void RuntimeRegisterClass(const std::string& name) { State().classes.insert(name); }

bool RuntimeIsClassRegistered(const std::string& name) { return State().classes.count(name) > 0; }

void RuntimeRegisterAppObject(Ref<Application> app) { State().app = std::move(app); }

Ref<Application> RuntimeAppObject() { return State().app; }

void Application::SetSupportsHiDPI(bool on) { State().supportsHiDPI = on; }

void Application::x_SetVersionData(int64_t majorVersion, int64_t minorVersion, int64_t bugVersion,
                                   int64_t nonReleaseVersion, int64_t stageCode, std::string longVersion,
                                   std::string shortVersion, std::string packageInfo) {
  version_ = {majorVersion,           minorVersion,           bugVersion,            nonReleaseVersion,
              stageCode,              std::move(longVersion), std::move(shortVersion), std::move(packageInfo)};
}

void ConfigurePlatformApp() {
  QGuiApplication::setApplicationDisplayName(QString::fromUtf8(FW_APPLICATION_DISPLAY_NAME));
  InstallFontSubstitutions();
  InstallPlatformTranslation();
}

void RunFrameworkInitialization(void (*lateStartup)()) {
  MakePlatformApp();
  QTimer::singleShot(0, QCoreApplication::instance(), [lateStartup] {
    if (lateStartup) detail::Dispatch(lateStartup);
  });
}

void RuntimeRun() {
  // Registered last, so it runs before any exit handler that destroys.
  static const bool registered = std::atexit(EndAtOnceFromInsideTheEventLoop) == 0;
  (void)registered;
  eventLoopRunning = true;
  const int code = QApplication::exec();
  eventLoopRunning = false;
  if (State().exitCode == 0) State().exitCode = code;
}

void QuitMenuAction() {
  if (QCoreApplication::instance()) QCoreApplication::quit();
}

}  // namespace fw
