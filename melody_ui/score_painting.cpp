#include "melody_ui/score_painting.h"

#include "melody/codes.h"
#include "melody/playback.h"

namespace pendra2::melody_ui {
namespace {

// A plain picture of the grid until the score view's artwork joins the program.
int FirstColumn(const melody::MelodyState& state) {
  const auto& playback = state.playback;
  if (playback.playMode == melody::kWholeTune) {
    const int played = std::max(playback.playedPosition, 0);
    return played / 20 * 20;
  }
  return state.scrollPos;
}

}  // namespace

void PaintScoreWindow(QPainter& painter, const melody::MelodyState& state) {
  painter.fillRect(0, 0, 750, 510, Qt::white);
  painter.fillRect(0, 0, 80, 431, QColor(245, 245, 245));
  painter.setPen(QColor(200, 200, 200));
  for (int row = 0; row <= 24; ++row) painter.drawLine(80, 1 + 18 * row, 605, 1 + 18 * row);
  for (int j = 0; j <= 21; ++j) painter.drawLine(80 + 25 * j, 0, 80 + 25 * j, 431);
  const int first = FirstColumn(state);
  painter.setPen(Qt::black);
  for (int j = 0; j < 21; ++j) {
    const int i = first + j;
    if (i > melody::kLastEditable) break;
    const uint8_t code = state.score.cells[static_cast<std::size_t>(i)];
    const int x = 80 + 25 * j;
    if (i % 5 == 4) painter.drawText(x, 445, QString::number(i + 1));
    if (code == melody::kLoopStart || code == melody::kLoopEnd) {
      painter.fillRect(x, 0, 24, 431, code == melody::kLoopStart ? QColor(180, 220, 255)
                                                                  : QColor(255, 200, 150));
    } else if (code <= melody::kRest) {
      const bool played = state.playback.playMode != melody::kNoPlayback &&
                          state.playback.playedPosition == i;
      painter.setBrush(played ? Qt::red : Qt::black);
      painter.drawEllipse(x + 5, 415 - 18 * code, 15, 15);
    }
  }
  static constexpr const char* kModes[] = {"スコア編集", "スコア挿入", "スコア削除", "ループ開始",
                                           "ループ終了"};
  painter.drawText(620, 270, QString::fromUtf8("モード"));
  if (state.editMode >= 0 && state.editMode <= 4) {
    painter.drawText(620, 300, QString::fromUtf8(kModes[state.editMode]));
  }
}

}  // namespace pendra2::melody_ui
