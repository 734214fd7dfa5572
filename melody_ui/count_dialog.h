#pragma once
// The score window's number dialogs: 184 (columns to delete), 185 (columns to insert) and
// 186 (loop repeats), each a field 1001 with OK and "キャンセル".

#include <QDialog>
#include <QPointer>

#include "melody/score_editor.h"

class QLineEdit;

namespace pendra2::melody_ui {

class CountDialog final : public QDialog {
 public:
  // `dialogId` is 184, 185 or 186; the field starts with `initial`.
  CountDialog(int dialogId, int initial, QWidget* parent);
  QString fieldText() const;

 private:
  QLineEdit* field_;
};

// The dialogs shown over the score window.
class QtCountDialogs final : public melody::CountDialogs {
 public:
  explicit QtCountDialogs(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  int AskColumnCount(int dialogId) override;
  std::optional<int> AskLoopCount(int current) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace pendra2::melody_ui
