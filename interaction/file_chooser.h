#pragma once
// The common file dialogs as the cores and editors ask for them. The Qt side shows a
// QFileDialog with these texts; a replayed session answers from its script; tests script
// the answers directly.

#include <optional>
#include <string>

namespace pendra2::interaction {

enum class FileDialogKind { Open, Save };

struct FileRequest {
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;             // e.g. "アクティビティ図ファイル保存"
  std::string filterName;        // e.g. "flowchart FILE (*.flc)"
  std::string pattern;           // e.g. "*.flc"
  std::string defaultExtension;  // without the dot
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The path the user chose, exactly as the dialog gives it (UTF-8), or nothing when the
  // dialog was cancelled. Completing a missing extension is the caller's rule, not this.
  virtual std::optional<std::string> Choose(const FileRequest& request) = 0;
};

}  // namespace pendra2::interaction
