// Runs the start-up tests inside the game's own application object.
#include <gtest/gtest.h>

#include "application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests at build time needs no display.
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  renkomi::ui::Application app(argc, argv);
  return RUN_ALL_TESTS();
}
