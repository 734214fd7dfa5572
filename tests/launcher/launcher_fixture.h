#pragma once
// A launcher window wired to an in-process fake board, a scripted message box and a
// starter that starts nothing.

#include <gtest/gtest.h>
#include <QTest>
#include <memory>

#include "launcher/launcher_window.h"
#include "support/fake_transport.h"
#include "support/recording_starter.h"
#include "support/scripted_prompter.h"

namespace pendra2::launcher {

class LauncherFixture : public ::testing::Test {
 protected:
  // Created on first use, so each test can plug in boards first.
  LauncherWindow& window() {
    if (!window_) window_ = std::make_unique<LauncherWindow>(board, prompter, starter);
    return *window_;
  }

  std::shared_ptr<virtual_board::BoardModel> PlugBoard(const char* version = "V3.00.00") {
    virtual_board::BoardIdentity identity;
    identity.version = version;
    return transport.AddBoard("/dev/hidraw0", device::kPendraVendor, device::kPendraProduct,
                              identity);
  }

  bool WaitForPolls(int count) {
    return QTest::qWaitFor([&] { return window().pollCount() >= count; }, 2000);
  }

  test::FakeTransport transport;
  device::Board board{transport, 50};
  test::ScriptedPrompter prompter;
  test::RecordingStarter starter;

 private:
  std::unique_ptr<LauncherWindow> window_;
};

}  // namespace pendra2::launcher
