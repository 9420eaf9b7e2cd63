// The floor for start-up: an empty window of the game window's size that
// quits after its first paint, built the way the framework builds a frame.

#include <QApplication>
#include <QMainWindow>
#include <QWidget>

#include "bench/first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow frame;
  auto* content = new QWidget(&frame);
  frame.setCentralWidget(content);
  frame.setFixedSize(570, 510);
  QuitOnFirstPaint quit({&frame, content});
  frame.show();
  return QApplication::exec();
}
