// Text drawing needs Qt's font database, which a QGuiApplication (offscreen) provides. The
// application is made on first use and ends with the test program's environment, before static
// destruction begins.
#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>

namespace fwtest {

class GuiEnvironment : public testing::Environment {
 public:
  void TearDown() override {
    delete app;
    app = nullptr;
  }
  QGuiApplication* app = nullptr;
};

inline void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "fw_tests";
  static char* argv[] = {name, nullptr};
  auto* env = new GuiEnvironment;
  env->app = new QGuiApplication(argc, argv);
  testing::AddGlobalTestEnvironment(env);
}

}  // namespace fwtest
