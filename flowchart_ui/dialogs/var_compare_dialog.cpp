#include "flowchart_ui/dialogs/var_compare_dialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace pendra2::flowchart_ui {
namespace {

struct Choice {
  int id;
  const char* text;
};

constexpr Choice kWithValue[] = {
    {1048, "変数A = 比較値"}, {1049, "変数A > 比較値"}, {1050, "変数A < 比較値"},
    {1051, "変数B = 比較値"}, {1052, "変数B > 比較値"}, {1053, "変数B < 比較値"},
};
constexpr Choice kWithOther[] = {
    {1054, "変数A = 変数B"},
    {1055, "変数A > 変数B"},
    {1056, "変数A < 変数B"},
};

}  // namespace

VarCompareDialog::VarCompareDialog(QWidget* parent)
    : TemplateDialog(232, "変数条件ジャンプ", parent) {
  auto* layout = new QVBoxLayout(this);
  auto* fields = new QGridLayout;
  fields->addWidget(NewLabel("比較値", this), 0, 0);
  fields->addWidget(NewEdit(1061, this, 10), 0, 1);
  fields->addWidget(NewLabel("分岐先", this), 1, 0);
  fields->addWidget(NewEdit(1045, this, 10), 1, 1);
  fields->setColumnStretch(2, 1);
  layout->addLayout(fields);

  auto* groups = new QHBoxLayout;
  QGroupBox* valueBox = NewGroup("--- 数値比較 ---", this);
  auto* valueLayout = new QGridLayout(valueBox);
  for (int i = 0; i < 6; ++i) {
    valueLayout->addWidget(NewRadio(kWithValue[i].id, kWithValue[i].text, valueBox, comparison_),
                           i % 3, i / 3);
  }
  groups->addWidget(valueBox);
  QGroupBox* otherBox = NewGroup("--- 変数比較 ---", this);
  auto* otherLayout = new QVBoxLayout(otherBox);
  for (const Choice& c : kWithOther) {
    otherLayout->addWidget(NewRadio(c.id, c.text, otherBox, comparison_));
  }
  groups->addWidget(otherBox);
  layout->addLayout(groups);
  layout->addSpacing(4);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetFirstField(Edit(1061));
}

}  // namespace pendra2::flowchart_ui
