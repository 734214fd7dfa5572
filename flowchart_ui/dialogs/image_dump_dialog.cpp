#include "flowchart_ui/dialogs/image_dump_dialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "ui_common/shift_jis.h"

namespace pendra2::flowchart_ui {
namespace {

constexpr int kColumns = 16;
constexpr int kRows = 16;
constexpr int kFirstCell = 3001;

}  // namespace

QString DumpCell(uint8_t byte, DumpForm form) {
  if (form == DumpForm::kHex) return QString::asprintf("%02X", byte);
  if (byte == 0) return {};
  // A byte alone, in the code page of the program's texts: ASCII and half-width kana. A
  // control code, a lone lead byte or an unassigned byte has no character of its own and
  // shows as a dot, as a hex viewer shows it (the unused image is all 0xFF).
  const bool ascii = byte >= 0x20 && byte < 0x7F;
  const bool kana = byte >= 0xA1 && byte <= 0xDF;
  if (!ascii && !kana) return QStringLiteral(".");
  const std::string utf8 = ui::ShiftJisToUtf8(std::string(1, static_cast<char>(byte)));
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

ImageDumpDialog::ImageDumpDialog(std::span<const uint8_t, board_image::kImageBytes> image,
                                 QWidget* parent)
    : TemplateDialog(204, "Dialog", parent) {
  std::copy(image.begin(), image.end(), image_.begin());
  QFont cellFont = font();
  cellFont.setStyleHint(QFont::Monospace);
  const int cellWidth = QFontMetrics(cellFont).horizontalAdvance(QStringLiteral("WW")) + 10;

  auto* layout = new QHBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(2);
  for (int column = 0; column < kColumns; ++column) {
    auto* heading = new QLabel(QString::asprintf("%02X", column), this);
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 0, column);
  }
  for (int i = 0; i < kRows * kColumns; ++i) {
    auto* cell = new QLineEdit(this);
    cell->setObjectName(QString::number(kFirstCell + i));
    cell->setReadOnly(true);
    cell->setFont(cellFont);
    cell->setAlignment(Qt::AlignCenter);
    cell->setFixedWidth(cellWidth);
    // The grid is looked at, not typed into: Tab goes straight to the buttons.
    cell->setFocusPolicy(Qt::ClickFocus);
    grid->addWidget(cell, 1 + i / kColumns, i % kColumns);
  }
  layout->addLayout(grid);

  auto* buttons = new QVBoxLayout;
  auto* ok = new QPushButton(Text("OK"), this);
  ok->setObjectName(QString::number(kOkId));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  buttons->addWidget(ok);
  buttons->addSpacing(12);
  const struct {
    int id;
    const char* text;
    DumpHalf half;
    DumpForm form;
  } kShows[] = {{4001, "1", DumpHalf::kFirst, DumpForm::kHex},
                {4002, "2", DumpHalf::kSecond, DumpForm::kHex},
                {4003, "1C", DumpHalf::kFirst, DumpForm::kCharacters},
                {4004, "2C", DumpHalf::kSecond, DumpForm::kCharacters}};
  for (const auto& s : kShows) {
    QPushButton* button = NewButton(s.id, s.text, this);
    connect(button, &QPushButton::clicked, this, [this, s] { Show(s.half, s.form); });
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  Show(DumpHalf::kFirst, DumpForm::kHex);
}

void ImageDumpDialog::Show(DumpHalf half, DumpForm form) {
  const int offset = half == DumpHalf::kFirst ? 0 : kRows * kColumns;
  for (int i = 0; i < kRows * kColumns; ++i) {
    Edit(kFirstCell + i)->setText(DumpCell(image_[offset + i], form));
  }
}

}  // namespace pendra2::flowchart_ui
