#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "support/scripted_prompter.h"
#include "ui_common/hid_failure.h"
#include "ui_common/prompter.h"

namespace pendra2::ui {
namespace {

struct SeenBox {
  QString text;
  QString caption;
  QMessageBox::StandardButtons buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QWidget* parent = nullptr;
  Qt::TextFormat format = Qt::AutoText;
};

// Asks through the real QtPrompter; while the box is open, records it and presses `press`
// (or closes it with Escape when press is NoButton).
PromptAnswer AskAndPress(QtPrompter& prompter, const Prompt& prompt,
                         QMessageBox::StandardButton press, SeenBox& seen) {
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = {box->text(), box->windowTitle(),  box->standardButtons(),
            box->icon(), box->parentWidget(), box->textFormat()};
    if (press == QMessageBox::NoButton)
      box->reject();
    else
      box->button(press)->click();
  });
  return prompter.Ask(prompt);
}

TEST(QtPrompter, ShowsTheExactTextsButtonsAndIconAndReturnsThePressedButton) {
  QWidget owner;
  QtPrompter prompter(&owner);
  SeenBox seen;
  const Prompt prompt{QStringLiteral("内容が変更されています\n保存しますか？"),
                      QStringLiteral("終了"), PromptButtons::YesNoCancel, PromptIcon::Question};

  EXPECT_EQ(AskAndPress(prompter, prompt, QMessageBox::No, seen), PromptAnswer::No);
  EXPECT_EQ(seen.text, prompt.text);
  EXPECT_EQ(seen.caption, QStringLiteral("終了"));
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.parent, &owner);

  EXPECT_EQ(AskAndPress(prompter, prompt, QMessageBox::Yes, seen), PromptAnswer::Yes);
  EXPECT_EQ(AskAndPress(prompter, prompt, QMessageBox::Cancel, seen), PromptAnswer::Cancel);
}

TEST(QtPrompter, MapsEveryButtonSetAndIcon) {
  QtPrompter prompter;
  SeenBox seen;
  EXPECT_EQ(
      AskAndPress(prompter,
                  {QStringLiteral("a"), QStringLiteral("b"), PromptButtons::Ok, PromptIcon::Error},
                  QMessageBox::Ok, seen),
      PromptAnswer::Ok);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.parent, nullptr);

  EXPECT_EQ(AskAndPress(prompter,
                        {QStringLiteral("a"), QStringLiteral("b"), PromptButtons::OkCancel,
                         PromptIcon::Warning},
                        QMessageBox::Cancel, seen),
            PromptAnswer::Cancel);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);

  EXPECT_EQ(AskAndPress(prompter,
                        {QStringLiteral("a"), QStringLiteral("b"), PromptButtons::YesNo,
                         PromptIcon::Information},
                        QMessageBox::Yes, seen),
            PromptAnswer::Yes);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(seen.icon, QMessageBox::Information);
}

TEST(QtPrompter, TextIsNeverReadAsMarkup) {
  QtPrompter prompter;
  SeenBox seen;
  AskAndPress(prompter, {QStringLiteral("<b>x</b>"), QStringLiteral("c")}, QMessageBox::Ok, seen);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.text, QStringLiteral("<b>x</b>"));
}

TEST(QtPrompter, ABoxClosedWithoutAButtonGivesTheSafeAnswer) {
  QtPrompter prompter;
  SeenBox seen;
  EXPECT_EQ(AskAndPress(prompter,
                        {QStringLiteral("q"), QStringLiteral("c"), PromptButtons::YesNoCancel,
                         PromptIcon::Question},
                        QMessageBox::NoButton, seen),
            PromptAnswer::Cancel);
  EXPECT_EQ(EscapeAnswer(PromptButtons::Ok), PromptAnswer::Ok);
  EXPECT_EQ(EscapeAnswer(PromptButtons::OkCancel), PromptAnswer::Cancel);
  EXPECT_EQ(EscapeAnswer(PromptButtons::YesNo), PromptAnswer::No);
  EXPECT_EQ(EscapeAnswer(PromptButtons::YesNoCancel), PromptAnswer::Cancel);
}

TEST(HidFailure, SaysInvalidHandleUnderHidWithOkAndEndsWithStatusZero) {
  test::ScriptedPrompter prompter;
  EXPECT_EQ(ReportHidFailure(prompter), 0);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].text, QStringLiteral("Invalid handle"));
  EXPECT_EQ(prompter.asked[0].caption, QStringLiteral("HID"));
  EXPECT_EQ(prompter.asked[0].buttons, PromptButtons::Ok);
}

}  // namespace
}  // namespace pendra2::ui
