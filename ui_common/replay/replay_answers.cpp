#include "ui_common/replay/replay_answers.h"

#include <QString>

namespace pendra2::ui::replay {
namespace {

using interaction::PromptAnswer;
using interaction::PromptButtons;

constexpr const char* kUnanswered = " (unanswered)";
// After the session has gone otherwise, the script no longer speaks for the user; every box
// is closed the safe way while the program winds down.
constexpr const char* kAbandoned = " (abandoned)";

// What a file or print dialog gives back: the queued path or cancel, with how it came about.
struct Taken {
  std::optional<std::string> path;
  const char* note = "";
};

Taken Take(ReplayContext& context, std::deque<Queued<std::optional<std::string>>>& queue) {
  if (context.failed()) return {std::nullopt, kAbandoned};
  if (queue.empty()) return {std::nullopt, kUnanswered};
  Taken taken{std::move(queue.front().value), ""};
  queue.pop_front();
  return taken;
}

std::string Result(const Taken& taken) {
  return (taken.path ? QuoteText(*taken.path) : std::string("cancel")) + taken.note;
}

}  // namespace

PromptAnswer DefaultAnswer(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok:
    case PromptButtons::OkCancel:
      return PromptAnswer::Ok;
    case PromptButtons::YesNo:
    case PromptButtons::YesNoCancel:
      return PromptAnswer::Yes;
  }
  return PromptAnswer::Ok;
}

bool Offers(PromptButtons buttons, PromptAnswer answer) {
  switch (buttons) {
    case PromptButtons::Ok:
      return answer == PromptAnswer::Ok;
    case PromptButtons::OkCancel:
      return answer == PromptAnswer::Ok || answer == PromptAnswer::Cancel;
    case PromptButtons::YesNo:
      return answer == PromptAnswer::Yes || answer == PromptAnswer::No;
    case PromptButtons::YesNoCancel:
      return answer != PromptAnswer::Ok;
  }
  return false;
}

PromptAnswer ReplayPrompter::Ask(const interaction::Prompt& prompt) {
  const std::string shown = "message " + QuoteText(prompt.caption) + " " + QuoteText(prompt.text);
  PromptAnswer answer = DefaultAnswer(prompt.buttons);
  const char* note = "";
  if (context_.failed()) {
    answer = interaction::EscapeAnswer(prompt.buttons);
    note = kAbandoned;
  } else if (context_.answers.empty()) {
    note = kUnanswered;
  } else {
    const Queued<PromptAnswer> queued = context_.answers.front();
    context_.answers.pop_front();
    if (Offers(prompt.buttons, queued.value)) {
      answer = queued.value;
    } else {
      // The user cannot press a button the box does not have.
      context_.Fail(queued.line, "answer " + std::string(AnswerName(queued.value)) +
                                     " does not fit the message box " + QuoteText(prompt.caption) +
                                     ", which offers no such button");
      answer = interaction::EscapeAnswer(prompt.buttons);
      note = kAbandoned;
    }
  }
  context_.Print(shown + " -> " + std::string(AnswerName(answer)) + note);
  return answer;
}

std::optional<std::string> ReplayFileChooser::Choose(const interaction::FileRequest& request) {
  const bool save = request.kind == interaction::FileDialogKind::Save;
  Taken taken = Take(context_, context_.files);
  context_.Print(std::string("file ") + (save ? "save " : "open ") + QuoteText(request.title) +
                 " -> " + Result(taken));
  return std::move(taken.path);
}

bool ReplayPrintChooser::Choose(QPrinter& printer, QWidget* /*owner*/) {
  const Taken taken = Take(context_, context_.prints);
  context_.Print("print -> " + Result(taken));
  if (!taken.path) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(*taken.path));
  return true;
}

}  // namespace pendra2::ui::replay
