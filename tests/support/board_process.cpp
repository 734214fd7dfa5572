#include "support/board_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QRandomGenerator>
#include <csignal>
#include <cstdlib>

namespace pendra2::test {

QString BinPath(const char* name) {
  const QString file = QString::fromUtf8(name);
  if (const char* dir = std::getenv("PENDRA2_BIN_DIR"); dir != nullptr && *dir != '\0') {
    return QString::fromUtf8(dir) + '/' + file;
  }
  // Benchmarks sit in build/bin themselves, tests in build/tests.
  const QDir here(QCoreApplication::applicationDirPath());
  return here.exists(file) ? here.filePath(file) : here.filePath(QStringLiteral("../bin/") + file);
}

BoardProcess::BoardProcess(const QStringList& extraArgs, ReportLog log)
    : name_(QStringLiteral("pendra2-test-%1-%2")
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))) {
  QStringList args{QStringLiteral("--name"), name_};
  if (log == ReportLog::Kept) {
    logPath_ = dir_.filePath(QStringLiteral("board.log"));
    args << QStringLiteral("--log") << logPath_;
  }
  process_.start(BinPath("pendra2-virtual-board"), args + extraArgs);
  // The board prints its first line once it serves.
  ready_ = process_.waitForStarted(5000) && process_.waitForReadyRead(5000);
}

BoardProcess::~BoardProcess() {
  if (Terminate() == -1 && process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished(3000);
  }
  QLocalServer::removeServer(name_);
}

void BoardProcess::Freeze(bool frozen) {
  if (process_.state() != QProcess::NotRunning) {
    ::kill(static_cast<pid_t>(process_.processId()), frozen ? SIGSTOP : SIGCONT);
  }
}

int BoardProcess::Terminate() {
  if (process_.state() != QProcess::NotRunning) {
    Freeze(false);  // a stopped process would not take the signal
    process_.terminate();
    if (!process_.waitForFinished(3000)) return -1;
  }
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

std::string BoardProcess::Trouble() {
  return process_.program().toStdString() + ": " + process_.errorString().toStdString() + " " +
         QString::fromUtf8(process_.readAllStandardError()).toStdString();
}

namespace {

QStringList ReadLog(const QString& path) {
  QFile f(path);
  if (path.isEmpty() || !f.open(QIODevice::ReadOnly)) return {};
  return QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

}  // namespace

QStringList BoardProcess::Log() const {
  return ReadLog(logPath_);
}

QStringList BoardProcess::Log(int board) const {
  if (logPath_.isEmpty()) return {};
  return ReadLog(dir_.filePath(QStringLiteral("board-%1.log").arg(board)));
}

}  // namespace pendra2::test
