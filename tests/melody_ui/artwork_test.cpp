// Every picture Chimecraft names exists at the size its placement needs. With
// PENDRA2_ART_SHEET=FILE.png the test also paints all of them onto one labelled sheet.

#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>
#include <utility>
#include <vector>

#include "melody/view/score_view.h"
#include "support/art_sheet.h"
#include "ui_common/bitmaps.h"

namespace pendra2::melody::view {
namespace {

using ui::LoadBitmap;

// Groups in the order the sheet shows them.
pendra2::testing::ArtGroups Groups() {
  pendra2::testing::ArtGroups groups{
      {{606, 431}, {"KEY"}},
      {{80, 431}, {"KEYF"}},
      {{26, 431}, {"BAR"}},
      {{24, 431}, {"Lin", "Lend", "Lpara"}},
      {{24, 17}, {"SC_ON", "SC_PLAY", "SC_OFF"}},
      {{50, 30},
       {"PICREC", "PICPLAY", "PICSTOP", "PCPLAY", "PCPARTPLAY", "PCSTOP", "CONNECT", "PREV",
        "FWD"}},
      {{60, 30}, {"SCRDEL", "SCRINS", "LOOPINS", "PAGEUP", "PAGEDOWN"}},
      {{32, 32}, {"CURINS", "CURDEL", "CURLIN", "CURLEND"}},
      {{64, 64}, {"CHIMECRAFT_ICON"}},
      {{16, 16}, {"CHIMECRAFT_ICON_SMALL"}},
  };
  for (int k = 1; k <= 23; ++k) {
    const KeyHighlight* key = KeyHighlightOf(k);
    groups.push_back({{key->width, key->height},
                      {QString::fromUtf8(key->image.data(), static_cast<int>(key->image.size()))}});
  }
  return groups;
}

TEST(ChimecraftArtwork, EveryPictureExistsAtItsPixelSize) {
  pendra2::testing::CheckArtwork(Groups());
  // The highlights differ from the keys they light up.
  const QImage keyboard = LoadBitmap("KEYF");
  for (int k = 1; k <= 23; ++k) {
    const KeyHighlight* key = KeyHighlightOf(k);
    const QString name = QString::fromUtf8(key->image.data(), static_cast<int>(key->image.size()));
    EXPECT_NE(LoadBitmap(name), keyboard.copy(0, key->y, key->width, key->height)) << key->image;
  }
}

}  // namespace
}  // namespace pendra2::melody::view
