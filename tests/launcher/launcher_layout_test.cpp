#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "launcher/launcher_texts.h"
#include "launcher_fixture.h"
#include "ui_common/bitmaps.h"

namespace pendra2::launcher {
namespace {

using LauncherLayout = LauncherFixture;

TEST_F(LauncherLayout, WindowButtonsAndStatusSitWhereTheyBelong) {
  LauncherWindow& w = window();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Pendra2 制御ソフト　応用版"));
  EXPECT_EQ(w.objectName(), QStringLiteral("Pendra2 PC"));
  EXPECT_EQ(w.size(), QSize(517, 460));

  auto* chime = w.findChild<QPushButton*>(QStringLiteral("2002"));
  auto* step = w.findChild<QPushButton*>(QStringLiteral("2004"));
  auto* status = w.findChild<QLabel*>(QStringLiteral("2006"));
  ASSERT_TRUE(chime && step && status);
  // Positions are in the client area, the part of the window below the menu.
  EXPECT_EQ(chime->parentWidget(), w.centralWidget());
  EXPECT_EQ(chime->geometry(), QRect(40, 60, 200, 159));
  EXPECT_EQ(step->geometry(), QRect(270, 60, 200, 159));
  EXPECT_EQ(status->geometry(), QRect(20, 342, 295, 50));
  EXPECT_EQ(chime->iconSize(), QSize(200, 159));
  EXPECT_FALSE(chime->icon().isNull());
  EXPECT_FALSE(step->icon().isNull());
}

TEST_F(LauncherLayout, MenusCarryTheirCommandsAndTheAboutKeys) {
  const QList<QAction*> menus = window().menuBar()->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("ファイル(&F)"));
  EXPECT_EQ(menus[1]->text(), QStringLiteral("ヘルプ(&H)"));
  const QList<QAction*> file = menus[0]->menu()->actions();
  const QList<QAction*> help = menus[1]->menu()->actions();
  ASSERT_EQ(file.size(), 1);
  ASSERT_EQ(help.size(), 1);
  EXPECT_EQ(file[0]->text(), QStringLiteral("アプリケーションの終了(&X)"));
  EXPECT_EQ(file[0]->data().toInt(), 105);
  EXPECT_EQ(help[0]->text(), QStringLiteral("バージョン情報(&A)..."));
  EXPECT_EQ(help[0]->data().toInt(), 104);
  EXPECT_EQ(help[0]->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::ALT | Qt::Key_Question),
                                                       QKeySequence(Qt::ALT | Qt::Key_Slash)}));
}

TEST_F(LauncherLayout, AboutBoxShowsVersionAndBuildAndKeepsThePollGoing) {
  window().show();
  QApplication::setActiveWindow(&window());
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  QString title, version, build;
  int pollsWhileOpen = 0;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    version = box->findChild<QLabel*>(QStringLiteral("1002"))->text();
    build = box->findChild<QLabel*>(QStringLiteral("1003"))->text();
    const int before = window().pollCount();
    QTest::qWait(200);
    pollsWhileOpen = window().pollCount() - before;
    box->reject();
  });
  // Alt+/ opens it while the main window has focus, as Alt+? and the menu do.
  QTest::keyClick(&window(), Qt::Key_Slash, Qt::AltModifier);
  EXPECT_EQ(title, QStringLiteral("バージョン情報 Pendra2 制御ソフト 応用版"));
  EXPECT_EQ(version, QStringLiteral("2.15.27"));
  EXPECT_EQ(build, QStringLiteral("541"));
  EXPECT_GT(pollsWhileOpen, 0);
  EXPECT_TRUE(window().isVisible());
}

TEST_F(LauncherLayout, ArtworkHasItsSizesAndTheBackgroundIsPaintedAtTheOrigin) {
  EXPECT_EQ(ui::BitmapSize(QStringLiteral("BACK")), QSize(500, 400));
  EXPECT_EQ(ui::BitmapSize(QStringLiteral("T_ORG")), QSize(200, 159));
  EXPECT_EQ(ui::BitmapSize(QStringLiteral("T_FC")), QSize(200, 159));

  window().show();
  const QImage shot = window().centralWidget()->grab().toImage();
  const QImage back = ui::LoadBitmap(QStringLiteral("BACK"));
  // A spot of the picture outside the buttons and the status text, and the bare background
  // to the right of the picture.
  EXPECT_EQ(shot.pixelColor(5, 300).rgb(), back.pixelColor(5, 300).rgb());
  EXPECT_EQ(shot.pixelColor(250, 20).rgb(), back.pixelColor(250, 20).rgb());
  EXPECT_EQ(shot.pixelColor(508, 200), QColor(200, 230, 180));
}

}  // namespace
}  // namespace pendra2::launcher
