#include "melody_ui/midi_import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "melody/exchange/import_texts.h"
#include "melody/exchange/midi_import.h"
#include "ui_common/shift_jis.h"

namespace pendra2::melody_ui {
namespace {

namespace ex = melody::exchange;

constexpr int kLongestName = 40;

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString PartLabel(const ex::MidiPart& part) {
  QString label = QString::fromUtf8("トラック%1").arg(part.track);
  const QString name = PartName(part.name);
  if (!name.isEmpty()) label += QString::fromUtf8("「%1」").arg(name);
  return label + QString::fromUtf8(" チャンネル%1　%2音").arg(part.channel).arg(part.notes.size());
}

}  // namespace

QString PartName(const std::string& bytes) {
  QString name = Utf8(ex::IsUtf8(bytes) ? bytes : ui::ShiftJisToUtf8(bytes)).trimmed();
  for (QChar& c : name) {
    if (c.category() == QChar::Other_Control) c = QLatin1Char(' ');
  }
  if (name.size() > kLongestName) name = name.left(kLongestName) + QString::fromUtf8("…");
  return name;
}

MidiImportDialog::MidiImportDialog(const ex::MidiSong& song, std::string_view fileName,
                                   QWidget* parent)
    : QDialog(parent), song_(song) {
  setObjectName(QString::number(kImportDialogId));
  setWindowTitle(QString::fromUtf8(ex::kImportCaption));
  const ex::ImportChoice proposed = ex::ProposeImport(song);

  auto* intro = new QLabel(
      QString::fromUtf8("「%1」からメロディーにするトラックを選んでください。").arg(Utf8(fileName)),
      this);
  parts_ = new QListWidget(this);
  parts_->setObjectName(QString::number(kImportPartList));
  for (const ex::MidiPart& part : song.parts) parts_->addItem(PartLabel(part));
  parts_->setCurrentRow(static_cast<int>(proposed.part));
  parts_->setMinimumWidth(420);
  // As tall as its entries, up to eight of them; more scroll.
  const int rows = std::clamp(parts_->count(), 3, 8);
  parts_->setFixedHeight(parts_->sizeHintForRow(0) * rows + 2 * parts_->frameWidth() + 4);

  grid_ = new QComboBox(this);
  grid_->setObjectName(QString::number(kImportGridList));
  for (const ex::GridValue& value : ex::kGridValues) grid_->addItem(Utf8(value.label));
  grid_->setCurrentIndex(static_cast<int>(proposed.grid));

  transpose_ = new QSpinBox(this);
  transpose_->setObjectName(QString::number(kImportTranspose));
  transpose_->setRange(-ex::kMaxTranspose, ex::kMaxTranspose);
  // The proposal moves by octaves, and so do the arrows; any semitone can still be typed.
  transpose_->setSingleStep(12);
  transpose_->setValue(proposed.transpose);
  auto* transposeRow = new QHBoxLayout;
  transposeRow->addWidget(transpose_);
  transposeRow->addWidget(new QLabel(QString::fromUtf8("半音（↑↓で1オクターブずつ）"), this));
  transposeRow->addStretch();

  summary_ = new QLabel(this);
  summary_->setObjectName(QString::number(kImportSummary));
  summary_->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QString::fromUtf8("読込み"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  QPushButton* cancel =
      buttons->addButton(QString::fromUtf8("キャンセル"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("2"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(QString::fromUtf8("1列の長さ："), grid_);
  form->addRow(QString::fromUtf8("移調："), transposeRow);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(parts_);
  layout->addLayout(form);
  layout->addWidget(summary_);
  layout->addWidget(buttons);

  connect(parts_, &QListWidget::currentRowChanged, this, [this] { PartChosen(); });
  connect(grid_, &QComboBox::currentIndexChanged, this, [this] { ShowSummary(); });
  connect(transpose_, &QSpinBox::valueChanged, this, [this] { ShowSummary(); });
  parts_->setFocus();
  ShowSummary();
}

ex::ImportChoice MidiImportDialog::choice() const {
  ex::ImportChoice choice;
  choice.part = static_cast<std::size_t>(std::max(0, parts_->currentRow()));
  choice.grid = static_cast<std::size_t>(std::max(0, grid_->currentIndex()));
  choice.transpose = transpose_->value();
  return choice;
}

void MidiImportDialog::PartChosen() {
  const ex::ImportChoice chosen = choice();
  if (chosen.part < song_.parts.size()) {
    const ex::MidiPart& part = song_.parts[chosen.part];
    const QSignalBlocker blockGrid(grid_);
    const QSignalBlocker blockTranspose(transpose_);
    grid_->setCurrentIndex(static_cast<int>(ex::ProposeGrid(part, song_.ppqn)));
    transpose_->setValue(ex::ProposeTranspose(part));
  }
  ShowSummary();
}

void MidiImportDialog::ShowSummary() {
  summary_->setText(Utf8(ex::ImportSummary(ex::ScoreFromMidi(song_, choice()))));
}

std::optional<ex::ImportChoice> QtImportChooser::Choose(const ex::MidiSong& song,
                                                        std::string_view fileName) {
  MidiImportDialog dialog(song, fileName, owner_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.choice();
}

}  // namespace pendra2::melody_ui
