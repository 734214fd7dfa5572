#pragma once
// A ProgramStarter that records which programs would have been started and starts none.

#include <QStringList>
#include <functional>

#include "ui_common/program_starter.h"

namespace pendra2::test {

struct RecordingStarter final : ui::ProgramStarter {
  bool StartProgram(const QString& name) override {
    started.push_back(name);
    if (onStart) onStart(name);
    return canStart;
  }

  bool canStart = true;
  std::function<void(const QString&)> onStart;
  QStringList started;
};

}  // namespace pendra2::test
