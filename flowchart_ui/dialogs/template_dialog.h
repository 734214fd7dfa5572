#pragma once
// What every Stepcraft dialog shares: the dialog is named by its template number and each
// control by its id (as decimal text), so a replayed session finds them as a user would;
// OK (1) is the default button, Esc and the close box cancel (2); OK may be refused.

#include <QButtonGroup>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <functional>
#include <initializer_list>

class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pendra2::flowchart_ui {

inline constexpr int kOkId = 1;
inline constexpr int kCancelId = 2;

// UTF-8 text of the dialogs as Qt strings.
inline QString Text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// Radio buttons that exclude each other wherever they sit in the dialog. A group may have
// none checked: a stored value without a button leaves it so.
class RadioGroup : public QButtonGroup {
 public:
  using QButtonGroup::QButtonGroup;
  // The id of the checked button, 0 when none is.
  int Checked() const;
  // Checks the button `id`; 0 or an id outside the group unchecks them all.
  void SetChecked(int id);
};

class TemplateDialog : public QDialog {
  Q_OBJECT

 public:
  TemplateDialog(int templateId, const char* title, QWidget* parent);

  // Runs when OK is pressed; returning false keeps the dialog open (a refused entry).
  void SetOkGuard(std::function<bool()> guard) { okGuard_ = std::move(guard); }
  void accept() override;

  // The control `id`, or null.
  QWidget* Control(int id) const;
  QLineEdit* Edit(int id) const;

 protected:
  // Controls named by their id; labels and frames without an id stay unnamed.
  QLineEdit* NewEdit(int id, QWidget* parent, int minimumChars = 10);
  QRadioButton* NewRadio(int id, const char* text, QWidget* parent, RadioGroup& group);
  QCheckBox* NewCheck(int id, const char* text, QWidget* parent);
  QPushButton* NewButton(int id, const char* text, QWidget* parent);
  // A static text that the dialog fills in: a sunken box like a read-only field.
  QLabel* NewValueBox(int id, const QString& text, QWidget* parent, int minimumChars);
  QLabel* NewLabel(const char* text, QWidget* parent);
  QGroupBox* NewGroup(const char* title, QWidget* parent);
  // The row of OK (and Cancel) at the bottom right, OK the default button.
  QBoxLayout* NewButtonRow(bool withCancel = true);
  // The field that has the focus, all selected, when the dialog opens: typing replaces it.
  void SetFirstField(QLineEdit* field) { firstField_ = field; }
  void showEvent(QShowEvent* event) override;

 private:
  std::function<bool()> okGuard_;
  QPointer<QLineEdit> firstField_;
};

}  // namespace pendra2::flowchart_ui
