#include "flowchart_ui/edit_commands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "flowchart/step_blocks.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "ui_common/shift_jis.h"

namespace pendra2::flowchart_ui {
namespace {

using interaction::Prompt;
using interaction::PromptButtons;

void PutOnClipboard(const flowchart::StepBlock& block) {
  const std::vector<uint8_t> bytes = flowchart::EncodeBlock(block);
  auto mime = std::make_unique<QMimeData>();
  mime->setData(QString::fromLatin1(flowchart::kStepsMimeType),
                QByteArray(reinterpret_cast<const char*>(bytes.data()),
                           static_cast<qsizetype>(bytes.size())));
  mime->setText(QString::fromStdString(flowchart::BlockListing(block, ui::ShiftJisToUtf8)));
  QGuiApplication::clipboard()->setMimeData(mime.release());  // the clipboard owns it
}

std::optional<flowchart::StepBlock> FromClipboard() {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime) return std::nullopt;
  const QByteArray data = mime->data(QString::fromLatin1(flowchart::kStepsMimeType));
  return flowchart::DecodeBlock(std::span<const uint8_t>(
      reinterpret_cast<const uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())));
}

}  // namespace

EditCommands::EditCommands(flowchart::StepcraftState& state, interaction::Prompter& prompter,
                           std::function<void()> beforeChange, std::function<void()> changed,
                           QObject* parent)
    : QObject(parent),
      state_(state),
      prompter_(prompter),
      beforeChange_(std::move(beforeChange)),
      changed_(std::move(changed)) {
  history_.Reset(state_.program);
  // Asking the clipboard what it holds is a round trip to whichever program owns it: asked
  // when it changes, not at every click.
  QClipboard* clipboard = QGuiApplication::clipboard();
  const auto look = [this, clipboard] {
    const QMimeData* mime = clipboard->mimeData();
    clipboardHasSteps_ = mime && mime->hasFormat(QString::fromLatin1(flowchart::kStepsMimeType));
    Refresh();
  };
  connect(clipboard, &QClipboard::dataChanged, this, look);
  look();
}

bool EditCommands::Command(int id) {
  switch (id) {
    case kCommandUndo:
    case kCommandRedo:
      if (state_.transferBusy) return true;
      beforeChange_();
      if (id == kCommandUndo ? history_.Undo(state_) : history_.Redo(state_)) changed_();
      break;
    case kCommandCut:
      if (state_.transferBusy || !flowchart::HasSelection(state_)) return true;
      beforeChange_();
      if (const auto block = flowchart::CutSelection(state_, prompter_)) {
        PutOnClipboard(*block);
        Record(kCutLabel);
      }
      changed_();
      break;
    case kCommandCopy:
      if (const auto block = flowchart::CopySelection(state_, prompter_)) PutOnClipboard(*block);
      break;
    case kCommandPaste: {
      if (state_.transferBusy) return true;
      const std::optional<flowchart::StepBlock> block = FromClipboard();
      if (!block) {
        prompter_.Ask(Prompt{flowchart::kNothingToPasteText, "貼り付け", PromptButtons::Ok});
        break;
      }
      beforeChange_();
      if (flowchart::PasteBlock(state_, *block, prompter_)) Record(kPasteLabel);
      changed_();
      break;
    }
    case kCommandSelectAll:
      flowchart::SelectAll(state_);
      changed_();
      break;
    default:
      return false;
  }
  Refresh();
  return true;
}

void EditCommands::Record(const char* label) {
  history_.Record(label, state_.program);
}

void EditCommands::Replaced() {
  history_.Reset(state_.program);
  Refresh();
}

void EditCommands::Saved() {
  if (!state_.program.modified) history_.MarkSaved();
}

void EditCommands::Clicked(const std::string& label) {
  if (!label.empty()) history_.Record(label, state_.program);
  Refresh();
}

void EditCommands::SetActions(std::map<int, QAction*> actions) {
  actions_ = std::move(actions);
  Refresh();
}

void EditCommands::Refresh() {
  const auto set = [this](int id, bool enabled, const QString& text) {
    const auto it = actions_.find(id);
    if (it == actions_.end()) return;
    it->second->setEnabled(enabled);
    if (!text.isEmpty()) it->second->setText(text);
  };
  const auto named = [](const char* base, std::string_view label) {
    QString text = QString::fromUtf8(base);
    if (!label.empty())
      text += QStringLiteral(": ") +
              QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
    return text;
  };
  set(kCommandUndo, history_.CanUndo(), named(kUndoText, history_.UndoLabel()));
  set(kCommandRedo, history_.CanRedo(), named(kRedoText, history_.RedoLabel()));
  const bool selected = flowchart::HasSelection(state_);
  set(kCommandCut, selected, {});
  set(kCommandCopy, selected, {});
  set(kCommandSelectAll, state_.program.count > 2, {});
  set(kCommandPaste, clipboardHasSteps_, {});
}

}  // namespace pendra2::flowchart_ui
