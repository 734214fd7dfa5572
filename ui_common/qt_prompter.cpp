#include "ui_common/qt_prompter.h"

#include <QMessageBox>

namespace pendra2::ui {
namespace {

using interaction::PromptAnswer;
using interaction::PromptButtons;
using interaction::PromptIcon;

QMessageBox::StandardButtons ButtonsOf(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok:
      return QMessageBox::Ok;
    case PromptButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::None:
      return QMessageBox::NoIcon;
    case PromptIcon::Information:
      return QMessageBox::Information;
    case PromptIcon::Warning:
      return QMessageBox::Warning;
    case PromptIcon::Error:
      return QMessageBox::Critical;
    case PromptIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

PromptAnswer QtPrompter::Ask(const interaction::Prompt& prompt) {
  QMessageBox box(IconOf(prompt.icon), QString::fromStdString(prompt.caption),
                  QString::fromStdString(prompt.text), ButtonsOf(prompt.buttons), owner_.data());
  // Plain text: the fixed texts carry line breaks and must never be read as markup.
  box.setTextFormat(Qt::PlainText);
  switch (box.exec()) {
    case QMessageBox::Ok:
      return PromptAnswer::Ok;
    case QMessageBox::Yes:
      return PromptAnswer::Yes;
    case QMessageBox::No:
      return PromptAnswer::No;
    case QMessageBox::Cancel:
      return PromptAnswer::Cancel;
    default:
      return interaction::EscapeAnswer(prompt.buttons);
  }
}

}  // namespace pendra2::ui
