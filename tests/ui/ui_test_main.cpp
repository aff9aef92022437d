// The window tests run inside the game's own application object, so that a failure
// in a handler reaches the error dialog exactly as in the game.
#include <gtest/gtest.h>

#include "application.h"

int main(int argc, char** argv) {
  // Listing the tests at build time needs no display either.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  renkomi::ui::Application app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
