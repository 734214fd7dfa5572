#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "ui_common/prompter.h"

namespace pendra2::ui {
namespace {

using Box = QMessageBox;
using A = interaction::PromptAnswer;
using B = interaction::PromptButtons;
using I = interaction::PromptIcon;

TEST(QtPrompter, ShowsThePromptUnchangedAndReturnsTheAnswerGiven) {
  const Box::StandardButtons kYesNoCancel = Box::Yes | Box::No | Box::Cancel;
  const struct {
    B buttons;
    I icon;
    Box::StandardButton press;  // NoButton: the box is closed without a button
    A answer;
    Box::StandardButtons shown;
    Box::Icon shownIcon;
  } cases[] = {
      {B::YesNoCancel, I::Question, Box::No, A::No, kYesNoCancel, Box::Question},
      {B::YesNoCancel, I::None, Box::NoButton, A::Cancel, kYesNoCancel, Box::NoIcon},
      {B::Ok, I::Error, Box::Ok, A::Ok, Box::Ok, Box::Critical},
      {B::Ok, I::None, Box::NoButton, A::Ok, Box::Ok, Box::NoIcon},
      {B::OkCancel, I::Warning, Box::Cancel, A::Cancel, Box::Ok | Box::Cancel, Box::Warning},
      {B::OkCancel, I::None, Box::NoButton, A::Cancel, Box::Ok | Box::Cancel, Box::NoIcon},
      {B::YesNo, I::Information, Box::Yes, A::Yes, Box::Yes | Box::No, Box::Information},
      {B::YesNo, I::None, Box::NoButton, A::No, Box::Yes | Box::No, Box::NoIcon},
  };
  QWidget owner;
  QtPrompter prompter(&owner);
  // A line break and markup both reach the box as they stand.
  const QString text = QStringLiteral("<b>内容が変更されています</b>\n保存しますか？");
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text(), text);
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->windowTitle(), QStringLiteral("終了"));
      EXPECT_EQ(box->standardButtons(), c.shown);
      EXPECT_EQ(box->icon(), c.shownIcon);
      EXPECT_EQ(box->parentWidget(), &owner);
      if (c.press == Box::NoButton)
        box->reject();
      else
        box->button(c.press)->click();
    });
    EXPECT_EQ(prompter.Ask({text.toStdString(), "終了", c.buttons, c.icon}), c.answer);
  }
}

}  // namespace
}  // namespace pendra2::ui
