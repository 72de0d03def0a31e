// A QGuiApplication for tests that draw text (fonts need one); the tests run on the offscreen platform.
#pragma once

#include <QGuiApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace game_test {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QGuiApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "game_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace game_test
