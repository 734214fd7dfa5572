#pragma once
// 185 "オルゴール": the tune a step plays, chosen from a tune file with the browse button,
// and heard on the PC with 1015 "試聴" (which reads "停止" while it plays).

#include <functional>

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

class OrgelDialog : public TemplateDialog {
  Q_OBJECT

 public:
  explicit OrgelDialog(QWidget* parent);

  // Runs when 1002 "参照" is pressed.
  void SetBrowse(std::function<void()> browse) { browse_ = std::move(browse); }
  // Runs when 1015 is pressed.
  void SetListen(std::function<void()> listen) { listen_ = std::move(listen); }
  // The stored path in 3001 and the size text in 1014; 試聴 only for a step with a tune.
  void ShowTune(const QString& path, const QString& size, bool hasTune = false);
  void ShowListening(bool listening);

 private:
  std::function<void()> browse_;
  std::function<void()> listen_;
  QPushButton* listenButton_ = nullptr;
  QLabel* size_ = nullptr;
};

}  // namespace pendra2::flowchart_ui
