#include "ui_common/qt_file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace pendra2::ui {

QString FileFilter(const interaction::FileRequest& request) {
  QString name = QString::fromStdString(request.filterName);
  if (request.pattern.empty() || name.contains(QLatin1Char('('))) return name;
  return name + QStringLiteral(" (") + QString::fromStdString(request.pattern) + QLatin1Char(')');
}

std::optional<std::string> QtFileChooser::Choose(const interaction::FileRequest& request) {
  QFileDialog dialog(owner_.data(), QString::fromStdString(request.title), lastFolder_,
                     FileFilter(request));
  const bool save = request.kind == interaction::FileDialogKind::Save;
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Opening needs a file that exists; saving asks before it replaces one.
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  lastFolder_ = QFileInfo(chosen.front()).absolutePath();
  return chosen.front().toStdString();
}

}  // namespace pendra2::ui
