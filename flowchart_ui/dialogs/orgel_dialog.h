#pragma once
// 185 "オルゴール": the tune a step plays, chosen from a tune file with the browse button.

#include <functional>

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

class OrgelDialog : public TemplateDialog {
  Q_OBJECT

 public:
  explicit OrgelDialog(QWidget* parent);

  // Runs when 1002 "参照" is pressed.
  void SetBrowse(std::function<void()> browse) { browse_ = std::move(browse); }
  // The stored path in 3001 and the size text in 1014.
  void ShowTune(const QString& path, const QString& size);

 private:
  std::function<void()> browse_;
  QLabel* size_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
