#include "melody/score_files.h"

#include "melody/tune_file.h"

namespace pendra2::melody {
namespace {

interaction::FileRequest TuneRequest(interaction::FileDialogKind kind, std::string title) {
  return interaction::FileRequest{kind, std::move(title), "orgel FILE (*.olg)", "*.olg", "olg"};
}

}  // namespace

interaction::FileRequest SaveTuneRequest() {
  return TuneRequest(interaction::FileDialogKind::Save, "オルゴールファイル保存");
}

interaction::FileRequest LoadTuneRequest() {
  return TuneRequest(interaction::FileDialogKind::Open, "オルゴールファイル読込み");
}

std::string CompleteTunePath(std::string path) {
  if (path.find('.') == std::string::npos) path += ".olg";
  return path;
}

std::string TitleForPath(std::string_view path) {
  return std::string(kTitlePrefix) + "[" + std::string(FileNameOf(path)) + "]";
}

bool SaveScoreAs(ScoreDocument& doc) {
  const auto chosen = doc.chooser.Choose(SaveTuneRequest());
  if (!chosen) return false;
  const std::string path = CompleteTunePath(*chosen);
  const interaction::Outcome saved = SaveTune(doc.state.score, doc.state.header, path);
  if (!saved.ok()) {
    interaction::Tell(doc.prompter, saved);
    return false;
  }
  doc.state.history.MarkSaved();
  doc.state.documentTitle = TitleForPath(path);
  return true;
}

bool MayDiscardScore(ScoreDocument& doc) {
  if (!doc.state.score.modified) return true;
  const interaction::Prompt question{
      std::string(kSaveChangesQuestion.text), std::string(kSaveChangesQuestion.caption),
      interaction::PromptButtons::YesNoCancel, interaction::PromptIcon::Question};
  switch (doc.prompter.Ask(question)) {
    case interaction::PromptAnswer::Yes:
      return SaveScoreAs(doc);
    case interaction::PromptAnswer::No:
      return true;
    default:
      return false;
  }
}

TuneOpened OpenTuneFile(ScoreDocument& doc, const std::string& path, OpenedTitle title) {
  LoadResult result = LoadTune(doc.state.score, doc.state.header, path);
  if (!result.ok) {
    doc.prompter.Ask(interaction::MessagePrompt(result.message));
    return {};
  }
  doc.state.history.Reset(doc.state.score);
  doc.state.selection.Clear();
  doc.state.scrollPos = 0;
  doc.state.documentTitle =
      title == OpenedTitle::kFileName ? TitleForPath(path) : std::string(kNoTitle);
  return {true, std::move(result.warning)};
}

TuneOpened LoadScore(ScoreDocument& doc) {
  const auto chosen = doc.chooser.Choose(LoadTuneRequest());
  if (!chosen) return {};
  return OpenTuneFile(doc, CompleteTunePath(*chosen), OpenedTitle::kFileName);
}

void NewScoreDocument(ScoreDocument& doc) {
  NewScore(doc.state);
}

}  // namespace pendra2::melody
