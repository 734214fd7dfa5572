#include "ui_common/replay/dialog_driver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "ui_common/replay/screen_shot.h"

namespace pendra2::ui::replay {
namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

std::string DialogId(const QDialog& dialog) {
  // A dialog without a template id is one the program shows past the replay (a stray
  // QMessageBox, say); its class name at least tells which.
  if (!dialog.objectName().isEmpty()) return dialog.objectName().toStdString();
  return dialog.metaObject()->className();
}

bool IsInternal(const QWidget& widget) {
  const QString name = widget.objectName();
  return name.isEmpty() || name.startsWith(QLatin1String("qt_"));
}

// Every widget of `dialog` by depth-first walk, without entering other windows (a nested
// dialog is a child of the dialog that opened it, but its controls are not this one's).
template <typename Visit>
void ForEachControl(const QWidget& parent, const Visit& visit) {
  for (QObject* child : parent.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr || widget->isWindow()) continue;
    visit(*widget);
    ForEachControl(*widget, visit);
  }
}

QWidget* FindControl(const QDialog& dialog, const std::string& id) {
  const QString name = QString::fromStdString(id);
  QWidget* found = nullptr;
  ForEachControl(dialog, [&](QWidget& widget) {
    if (found == nullptr && widget.objectName() == name) found = &widget;
  });
  return found;
}

// Numeric ids in numeric order, so that 900 comes before 1001.
bool IdLess(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// OK and Cancel are controls 1 and 2; a dialog built around a QDialogButtonBox gets its
// accept or reject button instead.
QAbstractButton* StandardButton(const QDialog& dialog, int which) {
  if (auto* button = qobject_cast<QAbstractButton*>(FindControl(dialog, std::to_string(which))))
    return button;
  QAbstractButton* found = nullptr;
  ForEachControl(dialog, [&](QWidget& widget) {
    auto* box = qobject_cast<QDialogButtonBox*>(&widget);
    if (found != nullptr || box == nullptr) return;
    const auto role = which == kOk ? QDialogButtonBox::AcceptRole : QDialogButtonBox::RejectRole;
    for (QAbstractButton* button : box->buttons())
      if (found == nullptr && box->buttonRole(button) == role) found = button;
  });
  return found;
}

// The user presses OK or Cancel; a dialog without such a button is closed as they would.
void PressStandard(QDialog& dialog, int which) {
  if (QAbstractButton* button = StandardButton(dialog, which)) {
    if (button->isEnabled() && button->isVisibleTo(&dialog)) {
      button->click();
      return;
    }
  }
  if (which == kOk) {
    dialog.accept();
  } else {
    dialog.reject();
  }
}

// Closes a dialog the script is done with. A dialog that turns Cancel down (one that must
// not be left half-way) is still closed, so that a replay can never hang in its loop.
void ForceClose(QDialog& dialog) {
  if (dialog.isVisible()) dialog.reject();
  if (dialog.isVisible()) dialog.done(QDialog::Rejected);
  if (dialog.isVisible()) dialog.hide();
}

// Types `text` over the field's whole content, through the field's own length limit and
// validator, as the user's keystrokes would go.
void TypeInto(QLineEdit& edit, const QString& text) {
  edit.setFocus(Qt::OtherFocusReason);
  edit.selectAll();
  edit.insert(text);
}

}  // namespace

void RunEventsFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::vector<ShownControl> ShownControls(const QDialog& dialog) {
  std::vector<ShownControl> shown;
  ForEachControl(dialog, [&](QWidget& widget) {
    if (IsInternal(widget) || !widget.isVisibleTo(&dialog)) return;
    if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
      shown.push_back({widget.objectName().toStdString(), combo->currentText().toStdString()});
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(&widget)) {
      shown.push_back({widget.objectName().toStdString(), spin->text().toStdString()});
    } else if (auto* view = qobject_cast<QAbstractItemView*>(&widget)) {
      // A list shows the entry chosen in it.
      shown.push_back({widget.objectName().toStdString(),
                       view->currentIndex().data().toString().toStdString()});
    } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
      // The edit inside a combo or spin box belongs to that control.
      if (qobject_cast<QComboBox*>(edit->parentWidget()) == nullptr &&
          qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) == nullptr)
        shown.push_back({widget.objectName().toStdString(), edit->text().toStdString()});
    }
  });
  std::stable_sort(shown.begin(), shown.end(),
                   [](const ShownControl& a, const ShownControl& b) { return IdLess(a.id, b.id); });
  return shown;
}

DialogDriver::DialogDriver(ReplayContext& context) : context_(context) {
  QCoreApplication::instance()->installEventFilter(this);
}

DialogDriver::~DialogDriver() {
  QCoreApplication::instance()->removeEventFilter(this);
}

bool DialogDriver::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show || event->spontaneous()) return false;
  auto* dialog = qobject_cast<QDialog*>(watched);
  if (dialog == nullptr || !dialog->isWindow() || !dialog->isModal() ||
      dialog->property(kReplayPassiveProperty).toBool())
    return false;
  // Acts once the dialog's modal loop runs, so that pressing OK ends that loop as a
  // user's press would; the dialog as context drops the call if it is gone by then.
  QPointer<QDialog> guarded(dialog);
  QPointer<DialogDriver> self(this);
  QTimer::singleShot(0, dialog, [self, guarded] {
    if (self) self->Drive(guarded);
  });
  return false;
}

void DialogDriver::Drive(const QPointer<QDialog>& dialog) {
  if (!dialog || !dialog->isVisible()) return;
  const std::string id = DialogId(*dialog);
  std::string shows = "dialog " + id + " shows";
  for (const ShownControl& control : ShownControls(*dialog))
    shows += " " + control.id + "=" + QuoteText(control.text);
  context_.Print(shows);

  const auto closeWith = [&](const char* note) {
    if (dialog) ForceClose(*dialog);
    context_.Print("dialog " + id + " -> cancel" + note);
  };
  if (context_.failed()) return closeWith(" (abandoned)");
  if (context_.dialogs.empty()) return closeWith(" (unanswered)");
  const Queued<const DialogBlock*> queued = context_.dialogs.front();
  const DialogBlock& block = *queued.value;
  if (block.id != id) {
    context_.Fail(queued.line,
                  "dialog " + id + " opened, but the script expects dialog " + block.id);
    return closeWith(" (unexpected)");
  }
  context_.dialogs.pop_front();

  // The result as the dialog ends, even if it deletes itself on closing.
  std::optional<int> result;
  const QMetaObject::Connection finished =
      QObject::connect(dialog, &QDialog::finished, this, [&result](int code) { result = code; });
  for (const DialogStep& step : block.steps) {
    if (!dialog) break;
    context_.WaitForBoard();
    if (!RunStep(*dialog, id, step)) break;
  }
  context_.WaitForBoard();
  if (!context_.failed() && dialog && dialog->isVisible())
    PressStandard(*dialog, block.endOk ? kOk : kCancel);
  QObject::disconnect(finished);

  if (context_.failed()) return closeWith(" (abandoned)");
  if (dialog && dialog->isVisible()) return closeWith(" (still open)");
  const bool accepted =
      result ? *result == QDialog::Accepted : (dialog && dialog->result() == QDialog::Accepted);
  context_.Print("dialog " + id + (accepted ? " -> ok" : " -> cancel"));
}

bool DialogDriver::RunStep(QDialog& dialog, const std::string& id, const DialogStep& step) {
  using Kind = DialogStep::Kind;
  if (step.kind == Kind::Wait) {
    RunEventsFor(step.number);
    return !context_.failed();
  }
  if (step.kind == Kind::Shot) {
    if (const auto failure = TakeScreenShot(step.text, step.number != 0))
      context_.Fail(step.line, *failure);
    return !context_.failed();
  }
  const auto fail = [&](const std::string& what) {
    context_.Fail(step.line, "control " + step.control + " of dialog " + id + " " + what);
    return false;
  };
  if (!dialog.isVisible()) {
    context_.Fail(step.line, "dialog " + id + " has already closed");
    return false;
  }
  QWidget* control = FindControl(dialog, step.control);
  if (step.kind == Kind::Press && control == nullptr &&
      (step.control == "1" || step.control == "2"))
    control = StandardButton(dialog, std::stoi(step.control));
  if (control == nullptr) {
    context_.Fail(step.line, "dialog " + id + " has no control " + step.control);
    return false;
  }
  // A user can neither see nor use a hidden or disabled control.
  if (!control->isVisibleTo(&dialog)) return fail("is hidden");
  if (!control->isEnabled()) return fail("is disabled");

  switch (step.kind) {
    case Kind::Set: {
      const QString text = QString::fromStdString(step.text);
      auto* combo = qobject_cast<QComboBox*>(control);
      auto* edit = qobject_cast<QLineEdit*>(control);
      if (combo != nullptr && combo->isEditable()) edit = combo->lineEdit();
      if (auto* spin = qobject_cast<QAbstractSpinBox*>(control)) {
        if (spin->isReadOnly()) return fail("is read-only");
        edit = spin->findChild<QLineEdit*>();
      }
      if (edit != nullptr) {
        if (edit->isReadOnly()) return fail("is read-only");
        TypeInto(*edit, text);
        return true;
      }
      if (combo != nullptr) {
        // A drop-down list takes only one of its entries.
        const int index = combo->findText(text, Qt::MatchExactly);
        if (index < 0) return fail("has no entry " + QuoteText(step.text));
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        emit combo->textActivated(combo->itemText(index));
        return true;
      }
      return fail("takes no text");
    }
    case Kind::Press: {
      auto* button = qobject_cast<QAbstractButton*>(control);
      if (button == nullptr) return fail("is not a button");
      button->click();
      return !context_.failed();
    }
    case Kind::Pick: {
      if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (step.number >= combo->count())
          return fail("has only " + std::to_string(combo->count()) + " entries");
        combo->setCurrentIndex(step.number);
        emit combo->activated(step.number);
        emit combo->textActivated(combo->itemText(step.number));
        return true;
      }
      if (auto* view = qobject_cast<QAbstractItemView*>(control)) {
        const QModelIndex index = view->model() != nullptr
                                      ? view->model()->index(step.number, 0, view->rootIndex())
                                      : QModelIndex();
        if (!index.isValid()) return fail("has no entry " + std::to_string(step.number));
        view->setCurrentIndex(index);
        emit view->clicked(index);
        return true;
      }
      return fail("is not a list");
    }
    case Kind::Wait:
    case Kind::Shot:
      break;
  }
  return true;
}

}  // namespace pendra2::ui::replay
