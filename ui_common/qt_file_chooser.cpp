#include "ui_common/qt_file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "ui_common/example_gallery.h"

namespace pendra2::ui {

QString FileFilter(const interaction::FileRequest& request) {
  QString name = QString::fromStdString(request.filterName);
  if (request.pattern.empty() || name.contains(QLatin1Char('('))) return name;
  return name + QStringLiteral(" (") + QString::fromStdString(request.pattern) + QLatin1Char(')');
}

QString SaveFolder(const QString& lastSaved, const QString& documents, const QString& home,
                   const QString& examples) {
  const auto same = [](const QString& a, const QString& b) {
    return !a.isEmpty() && !b.isEmpty() && QDir(a).canonicalPath() == QDir(b).canonicalPath();
  };
  if (!lastSaved.isEmpty() && !same(lastSaved, examples)) return lastSaved;
  if (!documents.isEmpty() && QDir(documents).exists()) return documents;
  return home;
}

std::optional<std::string> QtFileChooser::Choose(const interaction::FileRequest& request) {
  const bool save = request.kind == interaction::FileDialogKind::Save;
  const QString folder =
      save ? SaveFolder(lastSaveFolder_,
                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                        QDir::homePath(), ExampleFolder())
           : lastFolder_;
  QFileDialog dialog(owner_.data(), QString::fromStdString(request.title), folder,
                     FileFilter(request));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Opening needs a file that exists; saving asks before it replaces one.
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  lastFolder_ = QFileInfo(chosen.front()).absolutePath();
  if (save) lastSaveFolder_ = lastFolder_;
  return chosen.front().toStdString();
}

}  // namespace pendra2::ui
