#include "ui_common/program_starter.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <utility>

namespace pendra2::ui {
namespace {

bool StartDetached(const QString& programPath) {
  // The started program keeps our working folder, as a start by file name always did, so
  // relative file names given to it mean the same to both.
  return QProcess::startDetached(programPath, {});
}

}  // namespace

QStringList SplitSearchPath(const QString& pathVariable) {
  return pathVariable.split(QDir::listSeparator(), Qt::SkipEmptyParts);
}

std::optional<QString> LocateProgram(const QString& name, const QString& ownFolder,
                                     const QStringList& searchPath) {
  // A name with a folder in it would let a caller start anything; siblings are bare names.
  if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
    return std::nullopt;
  // findExecutable adds the platform's suffix (".exe") where there is one.
  if (!ownFolder.isEmpty()) {
    const QString own = QStandardPaths::findExecutable(name, {ownFolder});
    if (!own.isEmpty()) return own;
  }
  if (searchPath.isEmpty()) return std::nullopt;
  const QString onPath = QStandardPaths::findExecutable(name, searchPath);
  if (onPath.isEmpty()) return std::nullopt;
  return onPath;
}

DetachedStarter::DetachedStarter()
    : DetachedStarter(QCoreApplication::applicationDirPath(),
                      SplitSearchPath(qEnvironmentVariable("PATH"))) {}

DetachedStarter::DetachedStarter(QString ownFolder, QStringList searchPath, Launch launch)
    : ownFolder_(std::move(ownFolder)),
      searchPath_(std::move(searchPath)),
      launch_(launch ? std::move(launch) : Launch(StartDetached)) {}

bool DetachedStarter::StartProgram(const QString& name) {
  const std::optional<QString> path = LocateProgram(name, ownFolder_, searchPath_);
  return path && launch_(*path);
}

}  // namespace pendra2::ui
