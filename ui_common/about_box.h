#pragma once
// The version box of the launcher and Chimecraft (dialog 103): the program's icon and name,
// its version and build on two rows, and OK. The version and build labels carry their control
// ids as object names, so tests and replays find them.

#include <QDialog>
#include <QImage>

namespace pendra2::ui {

struct AboutBoxTexts {
  const char* title;         // the box's caption
  const char* name;          // the program's name beside the icon
  QImage icon;               // shown at 48 x 48
  const char* versionLabel;  // the launcher's box has always said "Virsion"
  const char* version;
  int versionId;
  const char* build;
  int buildId;
};

class AboutBox final : public QDialog {
 public:
  AboutBox(const AboutBoxTexts& texts, QWidget* parent);
};

}  // namespace pendra2::ui
