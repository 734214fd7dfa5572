#pragma once
// Acting in a real modal dialog as a user would: typing into its edits and pressing its
// buttons, found by their ids.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "flowchart_ui/dialogs/template_dialog.h"

namespace pendra2::flowchart_ui::testing {

// What the user does in the dialog that opens next; `Type` replaces an edit's text.
using Act = std::function<void(TemplateDialog&)>;

inline void Type(TemplateDialog& d, int id, const char* text) {
  QLineEdit* edit = d.Edit(id);
  ASSERT_NE(edit, nullptr) << id;
  edit->selectAll();
  QTest::keyClicks(edit, QString::fromUtf8(text));
}
inline void Press(TemplateDialog& d, int id) {
  auto* button = qobject_cast<QAbstractButton*>(d.Control(id));
  ASSERT_NE(button, nullptr) << id;
  // On the indicator: a radio or check box answers only on its indicator and text.
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Runs `acts` one after another in the modal dialog once it is open; each act sees the
// dialog, and a dialog still open afterwards is cancelled so that no test can hang.
inline void WhenOpen(std::vector<Act> acts, std::string* openedAs = nullptr) {
  QTimer::singleShot(0, [acts = std::move(acts), openedAs] {
    auto* dialog = qobject_cast<TemplateDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    if (openedAs)
      *openedAs = dialog->objectName().toStdString() + " " + dialog->windowTitle().toStdString();
    QPointer<TemplateDialog> alive(dialog);
    for (const Act& act : acts) {
      if (!alive || !alive->isVisible()) return;
      act(*alive);
    }
    if (alive && alive->isVisible()) alive->reject();
  });
}

inline const Act kOk = [](TemplateDialog& d) { Press(d, kOkId); };

}  // namespace pendra2::flowchart_ui::testing
