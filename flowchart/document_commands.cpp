#include "flowchart/document_commands.h"

#include <filesystem>
#include <optional>

#include "flowchart/edit_session.h"
#include "flowchart/flow_file.h"

namespace pendra2::flowchart {
namespace {

interaction::FileRequest FlowFileRequest(interaction::FileDialogKind kind, std::string_view title) {
  return interaction::FileRequest{kind, std::string(title), std::string(kFlowFilterName),
                                  std::string(kFlowPattern), std::string(kFlowExtension)};
}

// Paths travel as UTF-8 from the dialogs; the file system gets them as such.
std::filesystem::path FromUtf8(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

}  // namespace

std::string CompleteFlowPath(std::string path) {
  if (path.find('.') == std::string::npos) path += ".flc";
  return path;
}

std::string FileNamePart(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string DocumentTitleFor(std::string_view path) {
  return "アクティビティ図編集 [" + FileNamePart(path) + "]";
}

interaction::FileRequest SaveFileRequest() {
  return FlowFileRequest(interaction::FileDialogKind::Save, kSaveDialogTitle);
}

interaction::FileRequest OpenFileRequest() {
  return FlowFileRequest(interaction::FileDialogKind::Open, kOpenDialogTitle);
}

bool DocumentCommands::MayDiscard(GuardedCommand command) {
  if (!state_.program.modified) return true;
  const interaction::Prompt question{
      std::string(kSaveChangesText), std::string(kSaveChangesCaption),
      interaction::PromptButtons::YesNoCancel, interaction::PromptIcon::Question};
  switch (prompter_.Ask(question)) {
    case interaction::PromptAnswer::No:
      return true;
    case interaction::PromptAnswer::Yes:
      switch (SaveThroughDialog()) {
        case SaveResult::kSaved:
          return true;
        case SaveResult::kCancelled:
          // Open still offers its own dialog; the others keep the program as it is.
          return command == GuardedCommand::kOpen;
        case SaveResult::kFailed:
          // The program was not saved anywhere: nothing may replace it.
          return false;
      }
      return false;
    case interaction::PromptAnswer::Cancel:
    case interaction::PromptAnswer::Ok:
      return false;
  }
  return false;
}

bool DocumentCommands::New() {
  if (!MayDiscard(GuardedCommand::kNew)) return false;
  NewDocument(state_);
  return true;
}

bool DocumentCommands::Open() {
  if (!MayDiscard(GuardedCommand::kOpen)) return false;
  const std::optional<std::string> chosen = files_.Choose(OpenFileRequest());
  if (!chosen) return true;
  OpenPath(*chosen);
  return true;
}

bool DocumentCommands::OpenPath(const std::string& chosen) {
  const std::string path = CompleteFlowPath(chosen);
  const interaction::Outcome loaded = LoadFlowFile(state_.program, FromUtf8(path));
  if (!loaded.ok()) {
    interaction::Tell(prompter_, loaded);
    return false;
  }
  state_.program.modified = false;
  state_.breakpoints.reset();
  state_.selectFirst = state_.selectLast = -1;
  state_.anchorStep = 0;
  state_.topStep = 0;
  state_.hoverRow = -1;
  state_.documentPath = path;
  state_.documentTitle = DocumentTitleFor(path);
  return true;
}

bool DocumentCommands::OpenExample(const std::string& path) {
  if (!OpenPath(path)) return false;
  state_.documentPath.clear();
  state_.documentTitle = kUntitledTitle;
  return true;
}

SaveResult DocumentCommands::Save() {
  if (state_.documentPath.empty()) return SaveThroughDialog();
  const SaveResult result = SaveTo(state_.documentPath);
  if (result == SaveResult::kSaved) {
    prompter_.Ask(interaction::Prompt{std::string(kSavedText), std::string(kSavedCaption),
                                      interaction::PromptButtons::Ok,
                                      interaction::PromptIcon::Information});
  }
  return result;
}

SaveResult DocumentCommands::SaveAs() {
  return SaveThroughDialog();
}

SaveResult DocumentCommands::SaveThroughDialog() {
  const std::optional<std::string> chosen = files_.Choose(SaveFileRequest());
  if (!chosen) return SaveResult::kCancelled;
  return SaveTo(CompleteFlowPath(*chosen));
}

SaveResult DocumentCommands::SaveTo(const std::string& path) {
  const interaction::Outcome saved = SaveFlowFile(state_.program, FromUtf8(path));
  if (!saved.ok()) {
    interaction::Tell(prompter_, saved);
    return SaveResult::kFailed;
  }
  state_.program.modified = false;
  state_.documentPath = path;
  state_.documentTitle = DocumentTitleFor(path);
  return SaveResult::kSaved;
}

}  // namespace pendra2::flowchart
