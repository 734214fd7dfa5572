#pragma once
// A pendra2-virtual-board process for the life of one object, for tests and benchmarks that
// need the real board program. Each board gets a name of its own; the process is ended and
// its socket name freed when the object goes.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

namespace pendra2::test {

// A program of build/bin: PENDRA2_BIN_DIR when set, else beside or next to this program.
QString BinPath(const char* name);

// Benchmarks leave the report log out: writing it would be part of what they time.
enum class ReportLog { Kept, None };

class BoardProcess {
 public:
  // `extraArgs` follow the board's own --name and --log.
  explicit BoardProcess(const QStringList& extraArgs = {}, ReportLog log = ReportLog::Kept);
  ~BoardProcess();
  BoardProcess(const BoardProcess&) = delete;
  BoardProcess& operator=(const BoardProcess&) = delete;

  bool ready() const { return ready_; }
  const QString& name() const { return name_; }
  // Stops the board as SIGTERM does and gives its exit status; -1 when it crashed or hung.
  int Terminate();
  // Holds the board's process still (SIGSTOP), as a board whose program is stuck, or lets
  // it go on (SIGCONT).
  void Freeze(bool frozen);
  // Why the board is not ready, for a failure message.
  std::string Trouble();
  // The reports received, one string of 130 hex digits each.
  QStringList Log() const;
  // With --count N among the arguments: board n's (1..N) name and reports.
  QString name(int board) const { return name_ + '-' + QString::number(board); }
  QStringList Log(int board) const;
  // A path in a folder that lives as long as the board.
  QString TempFile(const QString& fileName) const { return dir_.filePath(fileName); }

 private:
  QTemporaryDir dir_;
  QString name_;
  QString logPath_;
  QProcess process_;
  bool ready_ = false;
};

}  // namespace pendra2::test
