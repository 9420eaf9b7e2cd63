// Start-up from the entry point to the event loop and back.

#include <QTimer>

#include "app/app.h"
#include "app/file_types.h"
#include "app/menubar1.h"
#include "framework/filetype.h"
#include "allocation_probe.h"
#include "support.h"

namespace karuta {
namespace {

using QuitAction = void (*)(fw::Window& gameWindow);

// The shortcut acts in the active window: the game window is made active
// here, whichever window holds the X focus.
void PressControlQ(fw::Window& window) {
  QApplication::setActiveWindow(window.Platform().frame);
  QTest::keyClick(window.Platform().frame, Qt::Key_Q, Qt::ControlModifier);
}

// Does on the game window, once it is open, what should end the program. A
// program still running at the deadline is ended with code 99.
class OnceOpen {
 public:
  OnceOpen(QuitAction quit, std::string what) : what_(std::move(what)) {
    QObject::connect(&poll_, &QTimer::timeout, [this, quit] {
      auto window = fw::GetImplicitWindow(KarutaWindow::kClassName);
      if (!window) return;
      sawWindow_ = true;
      poll_.stop();
      quit(*window);
    });
    poll_.start(5);
    deadline_.setSingleShot(true);
    QObject::connect(&deadline_, &QTimer::timeout, [this] {
      ADD_FAILURE() << (sawWindow_ ? what_ + " did not end the event loop" : "the game window never opened")
                    << " within " << kDeadlineMs << " ms";
      QCoreApplication::exit(99);
    });
    deadline_.start(kDeadlineMs);
  }
  bool SawWindow() const { return sawWindow_; }

 private:
  static constexpr int kDeadlineMs = testing::kHangMs;
  std::string what_;
  QTimer poll_, deadline_;
  bool sawWindow_ = false;
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = StartupSteps();
    unhandledBefore = fw::UnhandledExceptionCount();
  }
  void TearDown() override { StartupSteps() = saved; }
  int NewUnhandled() const { return fw::UnhandledExceptionCount() - unhandledBefore; }

  StartupWork saved;
  int unhandledBefore = 0;
};

TEST_F(StartupTest, NormalRunOpensTheWindowAndQuitsWithZero) {
  static fw::Ref<fw::Application> app;
  static fw::Ref<fw::MenuBar> windowBar;
  static size_t registeredTypes = 0;
  StartupSteps().openGameWindow = [] {
    auto window = KarutaWindow();
    app = fw::RuntimeAppObject();
    windowBar = window->MenuBar();
    registeredTypes = fw::RegisteredFileTypes().size();
  };
  OnceOpen quit(PressControlQ, "Ctrl+Q");

  EXPECT_EQ(EntryPoint(), 0);

  EXPECT_TRUE(quit.SawWindow());
  EXPECT_EQ(NewUnhandled(), 0);
  ASSERT_TRUE(app);
  EXPECT_NE(std::dynamic_pointer_cast<App>(app), nullptr);
  const fw::VersionData& v = app->Version();
  EXPECT_EQ((std::vector<int64_t>{v.majorVersion, v.minorVersion, v.bugVersion, v.nonReleaseVersion, v.stageCode}),
            (std::vector<int64_t>{1, 5, 0, 0, 3}));
  EXPECT_EQ(v.longVersion, kLongVersion);
  EXPECT_EQ(v.shortVersion, "1.0");
  EXPECT_EQ(v.packageInfo, "");
  EXPECT_EQ(app->MenuBar(), windowBar) << "one bar for the application and the game window";
  EXPECT_EQ(registeredTypes, 1u);
  EXPECT_TRUE(fw::OpenWindows().empty()) << "finalisers close every window";
  EXPECT_FALSE(fw::RuntimeAppObject()) << "finalisers release the application object";
  app.reset();
  windowBar.reset();
}

TEST_F(StartupTest, QuitTheItemOrClosingTheGameWindowEndsTheProgramWithZero) {
  const std::pair<const char*, QuitAction> kQuits[] = {
      {"Ctrl+Q", PressControlQ},
      {"the Quit item", [](fw::Window& w) { w.MenuBar()->Lookup("FileQuit")->Action(); }},
      {"the close button", [](fw::Window& w) { w.Platform().frame->close(); }},
  };
  for (const auto& [name, quit] : kQuits) {
    SCOPED_TRACE(name);
    OnceOpen once(quit, name);
    EXPECT_EQ(EntryPoint(), 0);
    EXPECT_TRUE(once.SawWindow());
  }
  EXPECT_EQ(NewUnhandled(), 0);
}

TEST_F(StartupTest, TheProgramsClassesAreRegisteredByTheInitialisers) {
  fw::RuntimeInit(ProgramModules());
  fw::RuntimePerformInitializers();
  for (const char* name : {"App", "MenuBar1.MenuBar1", "KarutaWindow.KarutaWindow", "KarutaWindow.CardCanvas",
                           "KarutaWindow.FudaCanvas", "MessageWindow.MessageWindow"})
    EXPECT_TRUE(fw::RuntimeIsClassRegistered(name)) << name;
  EXPECT_FALSE(FileTypes::pText);
  EXPECT_TRUE(FileTypes::pAllFileTypes.empty());
  EXPECT_FALSE(MenuBar1::_implicitInstance);
  fw::RuntimePerformFinalizers();
}

// What start-up has done when a step fails.
struct Seen {
  bool menuBarAsked = false;  // the application-object step got as far as the menu bar
  bool appObject = false;     // an application object was registered
  bool windowOpened = false;
  bool appAtMenuBar = false;  // an application object was registered when the bar was asked for
};
Seen seen;

void AskedForTheMenuBar() {
  seen.menuBarAsked = true;
  seen.appAtMenuBar = static_cast<bool>(fw::RuntimeAppObject());
}

struct FailureCase {
  const char* name;
  void (*breakStep)(StartupWork&);
  Seen expected;
};

void Fail() { throw fw::NilObjectException("step failed"); }

const FailureCase kFailures[] = {
    {"initialisers", [](StartupWork& s) { s.performInitializers = [] {
       fw::RuntimePerformInitializers();
       FileTypes::pText = std::make_shared<fw::FileType>();  // released by the finalisers
       Fail();
     }; },
     {false, false, false}},
    {"file types", [](StartupWork& s) { s.buildFileTypes = [] {
       FileTypes::pText = std::make_shared<fw::FileType>();  // released by the finalisers
       Fail();
     }; },
     {false, false, false}},
    {"menu bar", [](StartupWork& s) { s.menuBar = []() -> fw::Ref<fw::MenuBar> {
       AskedForTheMenuBar();
       Fail();
       return {};
     }; },
     {true, false, false}},
    {"game window", [](StartupWork& s) { s.openGameWindow = [] {
       seen.appObject = static_cast<bool>(fw::RuntimeAppObject());
       Fail();
     }; },
     {true, true, false}},
};

TEST_F(StartupTest, AFailingStepSkipsTheRestReachesTheHandlerAndStillFinalises) {
  for (const FailureCase& failure : kFailures) {
    SCOPED_TRACE(failure.name);
    StartupSteps() = saved;
    seen = {};
    StartupSteps().menuBar = []() -> fw::Ref<fw::MenuBar> {
      AskedForTheMenuBar();
      return MenuBar1();
    };
    StartupSteps().openGameWindow = [] {
      seen.appObject = static_cast<bool>(fw::RuntimeAppObject());
      seen.windowOpened = true;
    };
    failure.breakStep(StartupSteps());
    const int before = fw::UnhandledExceptionCount();

    EXPECT_EQ(EntryPoint(), 1);
    QTest::qWait(20);  // what start-up may have left queued

    EXPECT_EQ(fw::UnhandledExceptionCount() - before, 1) << "the failure did not reach the handler exactly once";
    EXPECT_EQ(fw::LastUnhandledException(), "NilObjectException: step failed");
    EXPECT_EQ(seen.menuBarAsked, failure.expected.menuBarAsked);
    EXPECT_FALSE(seen.appAtMenuBar) << "the application object was registered before it had its menu bar";
    EXPECT_EQ(seen.appObject, failure.expected.appObject);
    EXPECT_EQ(seen.windowOpened, failure.expected.windowOpened) << "the game window was opened after the failure";
    EXPECT_FALSE(FileTypes::pText) << "the finalisers did not run";
    EXPECT_TRUE(fw::OpenWindows().empty());
  }
}

// The application-object step failing at the menu bar registers nothing, and
// what it made before asking for the bar, the object among it, is released.
TEST_F(StartupTest, AnApplicationObjectWithoutItsMenuBarIsReleasedUnregistered) {
  static testing::AllocationProbe* probe = nullptr;
  static std::set<void*> madeBeforeTheBar;
  StartupSteps().menuBar = []() -> fw::Ref<fw::MenuBar> {
    madeBeforeTheBar = probe->Live();
    Fail();
    return {};
  };
  fw::RuntimeInit(ProgramModules());
  fw::RuntimePerformInitializers();
  {
    testing::AllocationProbe watch;
    probe = &watch;
    EXPECT_THROW(NewAppInstance(), fw::NilObjectException);
    const std::set<void*> live = watch.Live();
    probe = nullptr;
    ASSERT_FALSE(madeBeforeTheBar.empty()) << "the object is made before the bar is asked for";
    for (void* block : madeBeforeTheBar)
      EXPECT_EQ(live.count(block), 0u) << "a block the step made before the bar is still held";
  }
  EXPECT_FALSE(fw::RuntimeAppObject()) << "an application object without its menu bar was registered";
  EXPECT_FALSE(MenuBar1::_implicitInstance);
  fw::RuntimePerformFinalizers();
  madeBeforeTheBar.clear();
}

}  // namespace
}  // namespace karuta
