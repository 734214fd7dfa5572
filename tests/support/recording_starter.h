#pragma once
// A ProgramStarter for tests: remembers which sibling programs would have been started and
// starts none. `canStart` decides what each start reports.

#include <QString>
#include <QStringList>
#include <functional>

#include "ui_common/program_starter.h"

namespace pendra2::test {

class RecordingStarter final : public ui::ProgramStarter {
 public:
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
