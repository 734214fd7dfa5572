#pragma once
// Dialog 103: the program's icon, version and build number.

#include <QDialog>

namespace pendra2::melody_ui {

class AboutDialog final : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent);
};

}  // namespace pendra2::melody_ui
