#include "flowchart_ui/tune_preview.h"

#include <algorithm>

#include "melody/codes.h"
#include "ui_common/music_box.h"

namespace pendra2::flowchart_ui {

std::optional<melody::Score> StepTune(const flowchart::StepRecord& step, int tempoIndex) {
  if (step.size < 3 || step.code[0] != board_image::op::kTune) return std::nullopt;
  melody::Score score;
  const auto columns =
      std::min<std::size_t>(static_cast<std::size_t>(step.size) - 2, melody::kFileCells);
  std::copy_n(step.code.begin() + 2, columns, score.cells.begin());
  int index = tempoIndex;
  for (int row = 0; row < melody::kTempoCount; ++row) {
    if (melody::kTempoTable[static_cast<std::size_t>(row)].tempoByte == step.code[1]) index = row;
  }
  melody::SetTempoIndex(score, index);
  return score;
}

TunePreview::TunePreview(ui::MusicBox* sound, QObject* parent) : QObject(parent), sound_(sound) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &TunePreview::Next);
}

TunePreview::~TunePreview() {
  Stop();
}

void TunePreview::Play(const melody::Score& score) {
  Stop();
  tune_ = melody::PlayOut(score);
  at_ = 0;
  if (tune_.columns.empty()) return;
  timer_.start(tune_.periodMs);
  Next();
}

void TunePreview::Stop() {
  const bool was = timer_.isActive();
  timer_.stop();
  if (was && sound_ != nullptr) sound_->Damp();
}

void TunePreview::Next() {
  if (at_ >= tune_.columns.size()) {
    // The last tine rings out on its own.
    timer_.stop();
    if (ended) ended();
    return;
  }
  if (sound_ != nullptr) sound_->Strike(tune_.columns[at_]);
  ++at_;
}

}  // namespace pendra2::flowchart_ui
