// The game as a process on an X server of the test's own: it ends with an
// exit code when the server goes away, and an installed copy finds its
// pictures once its build tree is gone.

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <iostream>

#include "x_server.h"

#ifndef KARUTA_GAME
#error "KARUTA_GAME names the game's executable"
#endif
#ifndef KARUTA_RESOURCES
#error "KARUTA_RESOURCES names the folder of the committed pictures"
#endif

namespace karuta {
namespace {

using testing::kHangMs;
using testing::XServer;

constexpr char kTitle[] = "霞札苑";

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x.Ready() && x.Problem().find("cannot be started") != std::string::npos) GTEST_SKIP() << x.Problem();
    ASSERT_TRUE(x.Ready()) << x.Problem();
  }

  void TearDown() override {
    if (game.state() != QProcess::NotRunning) {
      game.kill();
      game.waitForFinished(kHangMs);
    }
  }

  void Start(const QString& program) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", x.Display());
    environment.insert("QT_QPA_PLATFORM", "xcb");
    game.setProcessEnvironment(environment);
    game.start(program, {});
    ASSERT_TRUE(game.waitForStarted(kHangMs)) << "cannot start " << program.toStdString();
  }

  // The game's window once the server shows it; fails the test if it never does.
  xcb_window_t AwaitGameWindow() {
    const xcb_window_t window = x.Connection().AwaitWindow(kTitle);
    if (!window) ADD_FAILURE() << "no window titled " << kTitle << " was mapped; the game said: " << Output();
    return window;
  }

  std::string Output() { return game.readAllStandardError().toStdString(); }

  XServer x;
  QProcess game;
};

TEST_F(ProcessTest, LosingTheXServerEndsTheGameWithAnExitCode) {
  Start(KARUTA_GAME);
  ASSERT_TRUE(AwaitGameWindow());

  x.Kill();
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(game.waitForFinished(kHangMs)) << "the game still runs " << kHangMs / 1000
                                             << " s after its X server went away";
  std::cout << "the game ended " << clock.elapsed() << " ms after its X server\n";

  const std::string output = Output();
  EXPECT_EQ(game.exitStatus(), QProcess::NormalExit) << "the game died of a signal; it said: " << output;
  EXPECT_EQ(game.exitCode(), 1) << output;
}

// The share of the pixels of two pictures of one size that match within a few levels.
double Matching(const QImage& a, const QImage& b) {
  int near = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      near += std::abs(p.red() - q.red()) <= 8 && std::abs(p.green() - q.green()) <= 8 &&
              std::abs(p.blue() - q.blue()) <= 8;
    }
  return double(near) / (a.width() * a.height());
}

// A committed picture drawn as a card of 70 x 160 draws it.
QImage AsCard(const char* name) {
  const QImage picture(QString(KARUTA_RESOURCES "/%1.png").arg(name));
  QImage card(70, 160, QImage::Format_RGB32);
  card.fill(Qt::black);
  QPainter painter(&card);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(0, 0, 70, 160), picture, QRectF(picture.rect()));
  return card;
}

TEST_F(ProcessTest, AnInstalledGameWithAnAbsoluteDataFolderShowsItsCards) {
  const QString installed = qEnvironmentVariable("KARUTA_INSTALLED_GAME");
  if (installed.isEmpty()) GTEST_SKIP() << "KARUTA_INSTALLED_GAME names no installed game";
  Start(installed);
  const xcb_window_t window = AwaitGameWindow();
  ASSERT_TRUE(window);

  const QRect firstCard(31, 75, 70, 160);
  // What the first card shows once it shows the picture, or when the wait ends.
  const auto firstCardOnceItShows = [&](const char* name) {
    QElapsedTimer clock;
    clock.start();
    QImage shown = x.Connection().Grab(window).copy(firstCard);
    while (Matching(shown, AsCard(name)) < 0.95 && clock.elapsed() < kHangMs) {
      QThread::msleep(20);
      shown = x.Connection().Grab(window).copy(firstCard);
    }
    return shown;
  };
  EXPECT_GE(Matching(firstCardOnceItShows("Green"), AsCard("Green")), 0.95)
      << "the first card does not show Green at opening";

  x.Connection().PressKey(window, testing::XDisplay::kReturn);  // presses 開始, the default button
  EXPECT_GE(Matching(firstCardOnceItShows("karuta0"), AsCard("karuta0")), 0.95)
      << "the first card of the first round does not show karuta0";
}

}  // namespace
}  // namespace karuta
