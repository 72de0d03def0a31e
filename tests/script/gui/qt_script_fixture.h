// Runs scripts against real Qt peers on the offscreen platform: one Qt host for the whole test
// program, a script component per test with its output captured, and the finders the tests use
// to reach a script-built control's model and widget. Waits are bounded (kWatchdogMs), so a broken
// peer fails the test instead of hanging it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>

#include "platform/fw/application.h"
#include "platform/fw/control.h"
#include "platform/fw/form.h"
#include "platform/qt/host.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "script/gui/registration.h"
#include "script/host/host.h"
#include "script/stdlib/stdlib.h"

namespace guitest {

// The Qt host and the finders, for tests that bring their own script libraries and runs.
class QtHostTest : public testing::Test {
 protected:
  static constexpr int kWatchdogMs = 5000;

  static void SetUpTestSuite() { StartHost(); }
  static void StartHost() {
    static int argc = 1;
    static char name[] = "gui_qt_tests";
    static char* argv[] = {name, nullptr};
    if (!host) host = new qtfw::TQtHost(argc, argv);
  }

  // A few turns of Qt's event loop; with `messages`, the framework's posted messages after each.
  static void settle(bool messages = false) {
    for (int i = 0; i < 5; ++i) {
      QApplication::processEvents();
      if (messages) fw::Application()->ProcessMessages();
    }
  }

  static fw::TForm* FormNamed(const std::string& name) {
    for (int i = 0; i < fw::Screen()->FormCount(); ++i)
      if (fw::Screen()->Forms(i)->Name() == name) return dynamic_cast<fw::TForm*>(fw::Screen()->Forms(i));
    return nullptr;
  }
  // The control of that name anywhere below `parent`, inside nested containers too.
  static fw::TControl* Find(fw::TWinControl* parent, const std::string& name) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      fw::TControl* c = parent->Controls(i);
      if (c->Name() == name) return c;
      if (auto* w = dynamic_cast<fw::TWinControl*>(c))
        if (fw::TControl* found = Find(w, name)) return found;
    }
    return nullptr;
  }
  static QWidget* WidgetOf(fw::TControl* control) {
    auto* peer = control ? dynamic_cast<qtfw::TQtPeer*>(control->Peer()) : nullptr;
    return peer ? peer->Widget() : nullptr;
  }
  // The widget of a control on the named form.
  static QWidget* Child(const std::string& form, const std::string& name) {
    fw::TForm* f = FormNamed(form);
    return f ? WidgetOf(Find(f, name)) : nullptr;
  }
  static bool Exposed(QWidget* w) {
    return QTest::qWaitFor([&] { return w->isVisible(); }, kWatchdogMs);
  }

  static inline qtfw::TQtHost* host = nullptr;
};

// A script component per test, with the standard, host and GUI libraries installed; what the
// script writes goes to `out` and `err`.
class QtScriptTest : public QtHostTest {
 protected:
  static void SetUpTestSuite() {
    StartHost();
    stdlib::Install();
    host::Install();
    gui::Install();
  }
  void SetUp() override {
    component = std::make_unique<engine::TBrindle>();
    component->SetOnStdout([this](engine::TBrindle*, const std::string& s) { out += s; });
    component->SetOnStderr([this](engine::TBrindle*, const std::string& s) { err += s; });
  }
  void TearDown() override {
    component->Engine().EventLoopAllowed = false;
    component->Clear();
    component.reset();
    fw::Application()->ProcessMessages();
    settle(SettlesMessages());
  }

  // Runs the script body, then lets events reach its handlers as its event loop would.
  void Run(const std::string& source) {
    ASSERT_TRUE(component->Compile(source));
    if (EventsDuringBody()) component->Engine().EventLoopAllowed = true;
    component->RunNoArgs();
    ASSERT_EQ(err, "");
    component->Engine().EventLoopAllowed = true;
    component->Engine().MainFinished = true;
    settle(SettlesMessages());
  }

  // Hooks: events reach the script's handlers while its body still runs, and every settle
  // delivers the framework's posted messages too.
  virtual bool EventsDuringBody() const { return false; }
  virtual bool SettlesMessages() const { return false; }

  std::unique_ptr<engine::TBrindle> component;
  std::string out, err;
};

}  // namespace guitest
