#pragma once
// The Qt side of the prompt contract: each prompt becomes a QMessageBox with the exact text,
// caption, buttons and icon.

#include <QPointer>
#include <QWidget>

#include "interaction/prompter.h"

namespace pendra2::ui {

// Shows each prompt in a QMessageBox owned by the given window (none while the program is
// still starting and has no window yet).
class QtPrompter final : public interaction::Prompter {
 public:
  explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  interaction::PromptAnswer Ask(const interaction::Prompt& prompt) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace pendra2::ui
