#include "ui_common/example_gallery.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextStream>
#include <QVBoxLayout>

namespace pendra2::ui {
namespace {

constexpr const char* kIndexName = "examples.tsv";

bool HasIndex(const QString& folder) {
  return !folder.isEmpty() && QFile::exists(QDir(folder).filePath(QString::fromLatin1(kIndexName)));
}

}  // namespace

QString ExampleFolder() {
  const QString installed = QDir(QCoreApplication::applicationDirPath())
                                .absoluteFilePath(QStringLiteral("../share/pendra2/examples"));
  if (HasIndex(installed)) return QDir::cleanPath(installed);
#ifdef PENDRA2_SOURCE_EXAMPLES
  const QString source = QStringLiteral(PENDRA2_SOURCE_EXAMPLES);
  if (HasIndex(source)) return source;
#endif
  return {};
}

std::vector<Example> ReadExampleIndex(const QString& folder, const QString& suffix) {
  std::vector<Example> examples;
  QFile file(QDir(folder).filePath(QString::fromLatin1(kIndexName)));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return examples;
  QTextStream in(&file);
  in.setEncoding(QStringConverter::Utf8);
  while (!in.atEnd()) {
    const QString line = in.readLine();
    if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() < 3 || fields[0].isEmpty()) continue;
    // A name with a folder in it could reach outside the gallery; the index names files only.
    if (fields[0].contains(QLatin1Char('/')) || fields[0].contains(QLatin1Char('\\'))) continue;
    if (!suffix.isEmpty() && !fields[0].endsWith(suffix, Qt::CaseInsensitive)) continue;
    examples.push_back({fields[0], fields[1], fields[2]});
  }
  return examples;
}

ExampleDialog::ExampleDialog(std::vector<Example> examples, QWidget* parent)
    : QDialog(parent), examples_(std::move(examples)) {
  setObjectName(QString::number(kExampleDialogId));
  setWindowTitle(QString::fromUtf8("サンプルを開く"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QString::fromUtf8("開くサンプルを選んでください"), this);
  layout->addWidget(label);
  list_ = new QListWidget(this);
  list_->setObjectName(QString::number(kExampleListId));
  for (const Example& example : examples_) {
    // Both descriptions, so the gallery reads for every user of the suite.
    auto* item = new QListWidgetItem(example.japanese + QStringLiteral("  (") + example.file +
                                         QStringLiteral(")\n    ") + example.english,
                                     list_);
    item->setToolTip(example.file);
  }
  if (!examples_.empty()) list_->setCurrentRow(0);
  list_->setSpacing(3);
  list_->setAlternatingRowColors(true);
  list_->setWordWrap(true);
  list_->setMinimumSize(720, 360);
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  // The suite speaks Japanese whatever language Qt's own buttons would be in.
  const auto name = [&](QDialogButtonBox::StandardButton which, const char* id, const char* text) {
    QPushButton* button = buttons->button(which);
    button->setObjectName(QString::fromLatin1(id));
    button->setText(QString::fromUtf8(text));
    button->setIcon(QIcon());
  };
  name(QDialogButtonBox::Ok, "1", "開く");
  name(QDialogButtonBox::Cancel, "2", "キャンセル");
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

std::optional<Example> ExampleDialog::chosen() const {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(examples_.size())) return std::nullopt;
  return examples_[static_cast<std::size_t>(row)];
}

std::optional<QString> ChooseExample(QWidget* parent, interaction::Prompter& prompter,
                                     const QString& suffix) {
  const QString folder = ExampleFolder();
  std::vector<Example> examples = ReadExampleIndex(folder, suffix);
  if (examples.empty()) {
    prompter.Ask(interaction::Prompt{"サンプルが見つかりません", "サンプルを開く",
                                     interaction::PromptButtons::Ok,
                                     interaction::PromptIcon::Warning});
    return std::nullopt;
  }
  ExampleDialog dialog(std::move(examples), parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const std::optional<Example> example = dialog.chosen();
  if (!example) return std::nullopt;
  return QDir(folder).filePath(example->file);
}

}  // namespace pendra2::ui
