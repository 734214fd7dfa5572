#pragma once
// 103: the About box with Stepcraft's version and build; "Pendra Version" shows what the
// board says about itself.

#include <functional>

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui {

inline constexpr const char* kProgramTitle = "Pendra2 ステップクラフト　基本版";
inline constexpr const char* kVersionText = "4.25.80A";
inline constexpr const char* kBuildText = "28692";

class AboutDialog : public TemplateDialog {
  Q_OBJECT

 public:
  // `showBoardInfo` runs when 1009 is pressed.
  AboutDialog(std::function<void(QWidget* owner)> showBoardInfo, QWidget* parent);

 private:
  std::function<void(QWidget*)> showBoardInfo_;
};

}  // namespace pendra2::flowchart_ui
