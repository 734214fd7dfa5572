#pragma once

#include <QDialog>

namespace pendra2::launcher {

// The version box: the program's version beside "Virsion" and its build beside "Build".
// Controls are named by their ids ("1002", "1003") so tests can find them.
class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace pendra2::launcher
