#include "melody_ui/count_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "melody/score_edits.h"

namespace pendra2::melody_ui {
namespace {

struct CountTexts {
  const char* title;
  const char* question;
  const char* limit;
};

CountTexts TextsOf(int dialogId) {
  switch (dialogId) {
    case melody::kDeleteDialog:
      return {"スコア削除", "スコアを何列削除しますか？", "最大256まで指定できます。"};
    case melody::kInsertDialog:
      return {"スコア挿入", "スコアを何列挿入しますか？", "最大256まで指定できます。"};
    default:
      return {"ループ回数指定", "何回ループしますか？", "最大255まで指定できます。"};
  }
}

}  // namespace

CountDialog::CountDialog(int dialogId, int initial, QWidget* parent) : QDialog(parent) {
  const CountTexts texts = TextsOf(dialogId);
  setObjectName(QString::number(dialogId));
  setWindowTitle(QString::fromUtf8(texts.title));

  auto* question = new QLabel(QString::fromUtf8(texts.question), this);
  field_ = new QLineEdit(QString::number(initial), this);
  field_->setObjectName(QStringLiteral("1001"));
  field_->selectAll();
  auto* limit = new QLabel(QString::fromUtf8(texts.limit), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QString::fromUtf8("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("2"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(question, 0, 0, 1, 2);
  layout->addWidget(field_, 1, 0);
  layout->addWidget(ok, 1, 1);
  layout->addWidget(limit, 2, 0);
  layout->addWidget(cancel, 2, 1);
  setSizeGripEnabled(false);
}

QString CountDialog::fieldText() const {
  return field_->text();
}

int QtCountDialogs::AskColumnCount(int dialogId) {
  CountDialog dialog(dialogId, 1, owner_);
  if (dialog.exec() != QDialog::Accepted) return 0;
  return melody::CountFromField(dialog.fieldText().toStdString(), melody::kMaxEditColumns);
}

std::optional<int> QtCountDialogs::AskLoopCount(int current) {
  CountDialog dialog(melody::kLoopCountDialog, current, owner_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return melody::CountFromField(dialog.fieldText().toStdString(), melody::kMaxLoopCount);
}

}  // namespace pendra2::melody_ui
