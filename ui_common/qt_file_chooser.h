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
  // The next dialog opens where the user last chose a file, as users expect of an editor.
  QString lastFolder_;
};

// "NAME (PATTERN)", the form QFileDialog reads; a name that already carries its pattern in
// parentheses is used as it stands.
QString FileFilter(const interaction::FileRequest& request);

}  // namespace pendra2::ui
