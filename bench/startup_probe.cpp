// The game's start-up to its first frame: the program's own entry point and
// start-up steps, except that the event loop ends once the game window has
// painted for the first time. Timed from outside as a whole process.

#include <QApplication>

#include "app/startup.h"
#include "bench/first_paint.h"
#include "framework/platform.h"
#include "game/karuta_window.h"

namespace {

void OpenGameWindowUntilPainted() {
  auto window = karuta::KarutaWindow();
  const fw::WindowPlatform& platform = window->Platform();
  new QuitOnFirstPaint({platform.frame, platform.content}, qApp);
}

}  // namespace

int main() {
  karuta::StartupSteps().openGameWindow = OpenGameWindowUntilPainted;
  return karuta::EntryPoint();
}
