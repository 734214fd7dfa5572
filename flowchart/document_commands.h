#pragma once
// Stepcraft's file commands (new, open, save, save as) and the save-changes question that
// guards new, open, exit and close. No windows here: questions go through the Prompter, file
// names through the FileChooser, so every answer path is a plain table test.

#include <string>
#include <string_view>

#include "flowchart/stepcraft_state.h"
#include "interaction/file_chooser.h"
#include "interaction/prompter.h"

namespace pendra2::flowchart {

inline constexpr std::string_view kSaveChangesText = "内容が変更されています\n保存しますか？";
inline constexpr std::string_view kSaveChangesCaption = "終了";
inline constexpr std::string_view kSavedText = "保存が完了しました";
inline constexpr std::string_view kSavedCaption = "保存";
inline constexpr std::string_view kSaveDialogTitle = "アクティビティ図ファイル保存";
inline constexpr std::string_view kOpenDialogTitle = "アクティビティ図ファイル読込み";
inline constexpr std::string_view kFlowFilterName = "flowchart FILE (*.flc)";
inline constexpr std::string_view kFlowPattern = "*.flc";
inline constexpr std::string_view kFlowExtension = "flc";

// The commands that ask before the program they replace is lost.
enum class GuardedCommand { kNew, kOpen, kExit, kClose };

enum class SaveResult { kSaved, kCancelled, kFailed };

// A chosen name without any "." gets ".flc"; a dot anywhere (a folder name too) keeps it.
std::string CompleteFlowPath(std::string path);

// The file name for the title: everything up to the last folder separator removed. Both
// separators count ('\' from a Windows-style name, '/'); in UTF-8 neither can be part of a
// multi-byte character.
std::string FileNamePart(std::string_view path);

// "アクティビティ図編集 [NAME]" for a titled document.
std::string DocumentTitleFor(std::string_view path);

interaction::FileRequest SaveFileRequest();
interaction::FileRequest OpenFileRequest();

class DocumentCommands {
 public:
  DocumentCommands(StepcraftState& state, interaction::Prompter& prompter,
                   interaction::FileChooser& files)
      : state_(state), prompter_(prompter), files_(files) {}

  // Asks whether to save a changed program before `command` replaces it. True when the
  // command goes on: No; Yes with a successful save; Yes with a cancelled save dialog for
  // open only. Cancel, a failed save, or (for the others) a cancelled save dialog stop it.
  bool MayDiscard(GuardedCommand command);

  // Each returns whether the document changed in a way that needs a repaint of both windows.
  bool New();
  bool Open();
  // Loads `path` as open does after its dialog (".flc" completed); false when it was refused.
  bool OpenPath(const std::string& path);
  // Loads an example from the gallery as an untitled program, so that saving asks for a
  // name instead of writing over the gallery's file.
  bool OpenExample(const std::string& path);
  // Save to documentPath (the save dialog while untitled), then "保存が完了しました".
  SaveResult Save();
  SaveResult SaveAs();

 private:
  // The save dialog, ".flc" completion and the write; the title follows a successful save.
  SaveResult SaveThroughDialog();
  SaveResult SaveTo(const std::string& path);

  StepcraftState& state_;
  interaction::Prompter& prompter_;
  interaction::FileChooser& files_;
};

}  // namespace pendra2::flowchart
