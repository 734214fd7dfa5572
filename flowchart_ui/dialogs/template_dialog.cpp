#include "flowchart_ui/dialogs/template_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "flowchart_ui/dialogs/dialog_font.h"

namespace pendra2::flowchart_ui {

int RadioGroup::Checked() const {
  return checkedButton() ? id(checkedButton()) : 0;
}

void RadioGroup::SetChecked(int id) {
  // An exclusive group never lets its last checked button go, so the group lets go first.
  setExclusive(false);
  for (QAbstractButton* b : buttons()) b->setChecked(this->id(b) == id);
  setExclusive(true);
}

TemplateDialog::TemplateDialog(int templateId, const char* title, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QString::number(templateId));
  setWindowTitle(Text(title));
  setFont(DialogFont());
  setModal(true);
  // A fixed dialog like its template: no help button, no resizing.
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void TemplateDialog::accept() {
  if (okGuard_ && !okGuard_()) return;
  QDialog::accept();
}

void TemplateDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (firstField_) {
    firstField_->setFocus(Qt::TabFocusReason);
    firstField_->selectAll();
  }
}

QWidget* TemplateDialog::Control(int id) const {
  return findChild<QWidget*>(QString::number(id));
}

QLineEdit* TemplateDialog::Edit(int id) const {
  return findChild<QLineEdit*>(QString::number(id));
}

QLineEdit* TemplateDialog::NewEdit(int id, QWidget* parent, int minimumChars) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::number(id));
  edit->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QLatin1Char('0')) * minimumChars +
                        12);
  return edit;
}

QRadioButton* TemplateDialog::NewRadio(int id, const char* text, QWidget* parent,
                                       RadioGroup& group) {
  auto* radio = new QRadioButton(Text(text), parent);
  radio->setObjectName(QString::number(id));
  group.addButton(radio, id);
  return radio;
}

QCheckBox* TemplateDialog::NewCheck(int id, const char* text, QWidget* parent) {
  auto* check = new QCheckBox(Text(text), parent);
  check->setObjectName(QString::number(id));
  return check;
}

QPushButton* TemplateDialog::NewButton(int id, const char* text, QWidget* parent) {
  auto* button = new QPushButton(Text(text), parent);
  button->setObjectName(QString::number(id));
  // Enter always means OK, whichever button has the focus; Space presses the focused one.
  button->setAutoDefault(false);
  return button;
}

QLabel* TemplateDialog::NewValueBox(int id, const QString& text, QWidget* parent,
                                    int minimumChars) {
  auto* box = new QLabel(text, parent);
  box->setObjectName(QString::number(id));
  box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  box->setTextInteractionFlags(Qt::TextSelectableByMouse);
  box->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QLatin1Char('0')) * minimumChars +
                       10);
  box->setContentsMargins(4, 1, 4, 1);
  return box;
}

QLabel* TemplateDialog::NewLabel(const char* text, QWidget* parent) {
  return new QLabel(Text(text), parent);
}

QGroupBox* TemplateDialog::NewGroup(const char* title, QWidget* parent) {
  return new QGroupBox(Text(title), parent);
}

QBoxLayout* TemplateDialog::NewButtonRow(bool withCancel) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  auto* ok = new QPushButton(Text("OK"), this);
  ok->setObjectName(QString::number(kOkId));
  ok->setDefault(true);
  ok->setMinimumWidth(80);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  row->addWidget(ok);
  if (withCancel) {
    auto* cancel = new QPushButton(Text("キャンセル"), this);
    cancel->setObjectName(QString::number(kCancelId));
    cancel->setAutoDefault(false);
    cancel->setMinimumWidth(80);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(cancel);
  }
  return row;
}

}  // namespace pendra2::flowchart_ui
