#pragma once
// The example gallery both editors offer under "サンプルを開く": the examples installed with
// the suite (or the source tree's, for a build tree), their index, and the dialog that lets
// the user pick one.

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

#include "interaction/prompter.h"

class QListWidget;

namespace pendra2::ui {

// One line of examples.tsv: the file name and its one-line descriptions.
struct Example {
  QString file;
  QString japanese;
  QString english;
};

// The dialog's template id and its list control, as a replayed session names them.
inline constexpr int kExampleDialogId = 800;
inline constexpr int kExampleListId = 1800;
// The menu command of "サンプルを開く" in both editors.
inline constexpr int kCommandOpenExample = 32800;

// The first folder holding examples.tsv: the installed share/pendra2/examples beside the
// program's folder, then the source tree's resources/examples. Empty when neither exists.
QString ExampleFolder();

// The examples of `folder` whose file names end in `suffix` (".flc", ".olg"), in index
// order; lines that are comments, blank or lack a description are skipped.
std::vector<Example> ReadExampleIndex(const QString& folder, const QString& suffix = {});

// Lists the examples with their descriptions; OK (or a double click) chooses one.
class ExampleDialog final : public QDialog {
 public:
  ExampleDialog(std::vector<Example> examples, QWidget* parent);
  std::optional<Example> chosen() const;

 private:
  std::vector<Example> examples_;
  QListWidget* list_ = nullptr;
};

// The whole question: the dialog over this editor's kind of examples. The full path of the
// chosen example, or nothing when the user cancelled; a missing gallery says so first.
std::optional<QString> ChooseExample(QWidget* parent, interaction::Prompter& prompter,
                                     const QString& suffix);

}  // namespace pendra2::ui
