#pragma once
// The programs of the suite start each other by file name (Pendra2, Stepcraft, Chimecraft),
// looking in their own folder first and then on PATH, and never wait for the started one.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace pendra2::ui {

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts the sibling program called `name` (no folder, no ".exe") without waiting for
  // it. False when it could not be found or not be started.
  virtual bool StartProgram(const QString& name) = 0;
};

// Where the sibling `name` would be started from: `ownFolder` first, then each folder of
// `searchPath` in order. Nothing when none of them holds an executable of that name.
std::optional<QString> LocateProgram(const QString& name, const QString& ownFolder,
                                     const QStringList& searchPath);

// The folders of a PATH-style variable, empty entries dropped.
QStringList SplitSearchPath(const QString& pathVariable);

// Finds the program as LocateProgram does and hands its full path to `launch`, which by
// default is a detached QProcess start. Tests pass their own `launch` to see which file
// would have been started without starting anything.
class DetachedStarter final : public ProgramStarter {
 public:
  using Launch = std::function<bool(const QString& programPath)>;

  // The program's own folder and the PATH of its environment.
  DetachedStarter();
  DetachedStarter(QString ownFolder, QStringList searchPath, Launch launch = {});

  bool StartProgram(const QString& name) override;

 private:
  QString ownFolder_;
  QStringList searchPath_;
  Launch launch_;
};

}  // namespace pendra2::ui
