#pragma once

// Ends the event loop once a watched widget has painted for the first time.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <initializer_list>

class QuitOnFirstPaint : public QObject {
 public:
  // Gives up with exit code 2 when nothing has painted after timeoutMs.
  explicit QuitOnFirstPaint(std::initializer_list<QWidget*> widgets, QObject* parent = nullptr,
                            int timeoutMs = 10000)
      : QObject(parent) {
    for (QWidget* widget : widgets)
      if (widget) widget->installEventFilter(this);
    QTimer::singleShot(timeoutMs, this, [] {
      std::fprintf(stderr, "no paint event arrived\n");
      QCoreApplication::exit(2);
    });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      // Queued, so that the frame is finished and flushed before the loop ends.
      QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool painted_ = false;
};
