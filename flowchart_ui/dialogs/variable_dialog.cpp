#include "flowchart_ui/dialogs/variable_dialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <span>

namespace pendra2::flowchart_ui {
namespace {

struct Choice {
  int id;
  const char* textA;
  const char* textB;
};

constexpr Choice kWithValue[] = {
    {1048, "変数Aに値をセット", "変数Bに値をセット"},
    {1049, "変数A=A＋値", "変数B=B＋値"},
    {1050, "変数A=A－値", "変数B=B－値"},
    {1059, "変数A=A x 値", "変数B=B ｘ 値"},
    {1060, "変数A=A ÷ 値", "変数B=B ÷ 値"},
};
constexpr Choice kFromInput[] = {
    {1051, "変数Aに入力１の値をセット", "変数Bに入力１の値をセット"},
    {1053, "変数Aに入力2の値をセット", "変数Bに入力2の値をセット"},
    {1054, "変数Aに入力3の値をセット", "変数Bに入力3の値をセット"},
};
constexpr Choice kWithOther[] = {
    {1055, "変数A=A＋B", "変数B=B＋A"},
    {1056, "変数A=A－B", "変数B=B－A"},
    {1057, "変数A=A ｘ B", "変数B=B ｘ A"},
    {1058, "変数A=A ÷ B", "変数B=B ÷ A"},
};

}  // namespace

VariableDialog::VariableDialog(Variable variable, QWidget* parent)
    : TemplateDialog(variable == Variable::A ? 231 : 233,
                     variable == Variable::A ? "変数Aの設定" : "変数Bの設定", parent) {
  const auto group = [&](const char* title, std::span<const Choice> choices) {
    QGroupBox* box = NewGroup(title, this);
    auto* boxLayout = new QVBoxLayout(box);
    for (const Choice& c : choices) {
      boxLayout->addWidget(
          NewRadio(c.id, variable == Variable::A ? c.textA : c.textB, box, operation_));
    }
    return box;
  };

  auto* layout = new QVBoxLayout(this);
  auto* valueRow = new QHBoxLayout;
  valueRow->addWidget(NewLabel("値", this));
  valueRow->addWidget(NewEdit(1052, this, 10));
  valueRow->addStretch(1);
  layout->addLayout(valueRow);
  auto* groups = new QGridLayout;
  groups->addWidget(group("---変数を数値で操作する---", kWithValue), 0, 0, 2, 1);
  groups->addWidget(group("---変数に入力ポートの値を代入する---", kFromInput), 0, 1);
  groups->addWidget(group("---変数の演算をする---", kWithOther), 1, 1);
  layout->addLayout(groups);
  layout->addSpacing(4);
  layout->addLayout(NewButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetFirstField(Edit(1052));
}

}  // namespace pendra2::flowchart_ui
