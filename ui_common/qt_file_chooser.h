#pragma once
// The Qt side of the file dialog contract: a QFileDialog with the request's title, filter and
// default extension, owned by the editor's main window.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "interaction/file_chooser.h"

namespace pendra2::ui {

class QtFileChooser final : public interaction::FileChooser {
 public:
  explicit QtFileChooser(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  std::optional<std::string> Choose(const interaction::FileRequest& request) override;

 private:
  QPointer<QWidget> owner_;
  // An open starts where the user last chose a file, a save where the user last saved.
  QString lastFolder_;
  QString lastSaveFolder_;
};

// Where a save dialog opens: the folder the user last saved into, else the user's documents
// folder (`documents`, or `home` when there is none), and never the example gallery's folder
// (`examples`): a tune begun from an example is the user's own, and belongs with the user's.
QString SaveFolder(const QString& lastSaved, const QString& documents, const QString& home,
                   const QString& examples);

// "NAME (PATTERN)", the form QFileDialog reads; a name that already carries its pattern in
// parentheses is used as it stands.
QString FileFilter(const interaction::FileRequest& request);

}  // namespace pendra2::ui
