#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "ui_common/prompter.h"

namespace pendra2::ui {
namespace {

using Box = QMessageBox;

TEST(QtPrompter, ShowsThePromptUnchangedAndReturnsTheAnswerGiven) {
  const struct {
    PromptButtons buttons;
    PromptIcon icon;
    Box::StandardButton press;  // NoButton: the box is closed without a button
    PromptAnswer answer;
    Box::StandardButtons shown;
    Box::Icon shownIcon;
  } cases[] = {
      {PromptButtons::YesNoCancel, PromptIcon::Question, Box::No, PromptAnswer::No,
       Box::Yes | Box::No | Box::Cancel, Box::Question},
      {PromptButtons::YesNoCancel, PromptIcon::None, Box::NoButton, PromptAnswer::Cancel,
       Box::Yes | Box::No | Box::Cancel, Box::NoIcon},
      {PromptButtons::Ok, PromptIcon::Error, Box::Ok, PromptAnswer::Ok, Box::Ok, Box::Critical},
      {PromptButtons::Ok, PromptIcon::None, Box::NoButton, PromptAnswer::Ok, Box::Ok, Box::NoIcon},
      {PromptButtons::OkCancel, PromptIcon::Warning, Box::Cancel, PromptAnswer::Cancel,
       Box::Ok | Box::Cancel, Box::Warning},
      {PromptButtons::OkCancel, PromptIcon::None, Box::NoButton, PromptAnswer::Cancel,
       Box::Ok | Box::Cancel, Box::NoIcon},
      {PromptButtons::YesNo, PromptIcon::Information, Box::Yes, PromptAnswer::Yes,
       Box::Yes | Box::No, Box::Information},
      {PromptButtons::YesNo, PromptIcon::None, Box::NoButton, PromptAnswer::No, Box::Yes | Box::No,
       Box::NoIcon},
  };
  QWidget owner;
  QtPrompter prompter(&owner);
  // A line break and markup both reach the box as they stand.
  const Prompt prompt{QStringLiteral("<b>内容が変更されています</b>\n保存しますか？"),
                      QStringLiteral("終了")};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text(), prompt.text);
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->windowTitle(), prompt.caption);
      EXPECT_EQ(box->standardButtons(), c.shown);
      EXPECT_EQ(box->icon(), c.shownIcon);
      EXPECT_EQ(box->parentWidget(), &owner);
      if (c.press == Box::NoButton)
        box->reject();
      else
        box->button(c.press)->click();
    });
    EXPECT_EQ(prompter.Ask({prompt.text, prompt.caption, c.buttons, c.icon}), c.answer);
  }
}

}  // namespace
}  // namespace pendra2::ui
