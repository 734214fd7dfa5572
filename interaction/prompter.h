#pragma once
// Every message box goes through a Prompter, so the cores can ask the user without knowing
// what shows the box, and tests can drive each path behind each answer (OK, Cancel, Yes,
// No) without a window. Texts are UTF-8.

#include <string>

#include "interaction/user_message.h"

namespace pendra2::interaction {

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct Prompt {
  std::string text;
  std::string caption;
  PromptButtons buttons = PromptButtons::Ok;
  PromptIcon icon = PromptIcon::None;
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows the prompt modally and returns the user's answer. Closing the box without a
  // button counts as EscapeAnswer(buttons).
  virtual PromptAnswer Ask(const Prompt& prompt) = 0;
};

// The answer a box gives when it is closed without pressing a button: Cancel where there
// is one, No for Yes/No, OK otherwise.
constexpr PromptAnswer EscapeAnswer(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok:
      return PromptAnswer::Ok;
    case PromptButtons::YesNo:
      return PromptAnswer::No;
    case PromptButtons::OkCancel:
    case PromptButtons::YesNoCancel:
      return PromptAnswer::Cancel;
  }
  return PromptAnswer::Cancel;
}

// A failure's message as the OK box that tells it.
inline Prompt MessagePrompt(const UserMessage& message) {
  return Prompt{message.text, message.caption, PromptButtons::Ok, message.icon};
}

// Shows a failure's message; does nothing for a success.
inline void Tell(Prompter& prompter, const Outcome& outcome) {
  if (!outcome.ok()) prompter.Ask(MessagePrompt(outcome.message()));
}

}  // namespace pendra2::interaction
