// Runs the organizer's tests inside the game's application object, headless, with
// a Japanese user's locale so that the reading order is the one players see.
#include <gtest/gtest.h>

#include <QLocale>

#include "application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Test discovery runs the program outside the test environment too.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  renkomi::ui::Application app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  return RUN_ALL_TESTS();
}
