#include <gtest/gtest.h>

#include <QApplication>

#include "framework/platform.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  fw::ConfigurePlatformApp();
  return RUN_ALL_TESTS();
}
