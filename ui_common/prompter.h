#pragma once
// Every message box of the GUI programs goes through a Prompter, so that the paths behind
// each answer (OK, Cancel, Yes, No) can be driven by a test without a window.

#include <QPointer>
#include <QString>
#include <QWidget>

namespace pendra2::ui {

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptIcon { None, Information, Warning, Error, Question };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct Prompt {
  QString text;
  QString caption;
  PromptButtons buttons = PromptButtons::Ok;
  PromptIcon icon = PromptIcon::None;
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows the prompt modally and returns the user's answer. Closing the box without a
  // button counts as Cancel where there is one, as No for Yes/No, and as OK otherwise.
  virtual PromptAnswer Ask(const Prompt& prompt) = 0;
};

// The answer a box gives when it is closed without pressing a button.
PromptAnswer EscapeAnswer(PromptButtons buttons);

// Shows each prompt in a QMessageBox owned by the given window (none while the program is
// still starting and has no window yet).
class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  PromptAnswer Ask(const Prompt& prompt) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace pendra2::ui
