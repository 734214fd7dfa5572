#pragma once
// The symbol toolbar ("アクティビティ図記号 "): the TBBK picture with one picture button per
// editing tool. A button sends its tool command; the button of the tool in use stays pressed.

#include <QWidget>
#include <functional>
#include <map>

#include "flowchart/stepcraft_state.h"

class QToolButton;

namespace pendra2::flowchart_ui {

struct ToolButtonPlace {
  const char* art;
  int command;
  QPoint at;
  flowchart::EditMode mode;
  const char* toolTip;
};

// The seven tools of the original toolbar at their places, then the five tools it had no
// button for, fitted into the free places of the picture.
inline constexpr ToolButtonPlace kToolButtons[] = {
    {"TASK", 2016, {12, 50}, flowchart::EditMode::kInsertOrgel, "オルゴール"},
    {"TASK2", 2018, {12, 90}, flowchart::EditMode::kInsertOutput, "出力"},
    {"GOTO", 2021, {12, 130}, flowchart::EditMode::kInsertGoto, "ジャンプ"},
    {"WAIT", 2017, {12, 170}, flowchart::EditMode::kInsertWait, "待ち時間"},
    {"BLANCH", 2020, {90, 55}, flowchart::EditMode::kInsertBranch, "分岐"},
    {"SCRDEL", 2014, {90, 220}, flowchart::EditMode::kDelete, "削除"},
    {"LOOP", 2013, {90, 140}, flowchart::EditMode::kInsertLoop, "繰り返し"},
    {"EXTOUT", 2019, {12, 210}, flowchart::EditMode::kInsertExtOutput, "拡張出力"},
    {"COMPARE", 2022, {90, 95}, flowchart::EditMode::kInsertCompare, "比較"},
    {"VARA", 2023, {12, 248}, flowchart::EditMode::kInsertVariableA, "変数A"},
    {"VARB", 2024, {12, 286}, flowchart::EditMode::kInsertVariableB, "変数B"},
    {"VARCMP", 2025, {90, 180}, flowchart::EditMode::kInsertVarCompare, "変数比較"},
};

inline constexpr QSize kToolButtonSize(60, 30);

class SymbolToolbar : public QWidget {
  Q_OBJECT

 public:
  // `sendTool` carries a tool command to the flowchart window.
  SymbolToolbar(const flowchart::StepcraftState& state, std::function<void(int)> sendTool,
                QWidget* parent = nullptr);

  QToolButton* button(int command) const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const flowchart::StepcraftState& state_;
  std::function<void(int)> sendTool_;
  std::map<int, QToolButton*> buttons_;
};

}  // namespace pendra2::flowchart_ui
