#include "cli/class_progress.h"

#include <algorithm>

namespace pendra2::cli {
namespace {

constexpr int kFinished = -1;
constexpr int kBlocks = 8;
// A classroom fits a screen; more boards than this are counted, not drawn.
constexpr int kMostRows = 20;
// Thirty boards moving block by block would redraw the screen hundreds of times a second.
constexpr auto kRedrawEvery = std::chrono::milliseconds(50);

}  // namespace

ClassProgress::ClassProgress(std::vector<std::string> names, Streams io, bool terminal)
    : names_(std::move(names)), blocks_(names_.size(), 0), io_(io), terminal_(terminal) {
  for (const std::string& name : names_) nameWidth_ = std::max(nameWidth_, name.size());
  const std::lock_guard lock(mutex_);
  Draw();
}

ClassProgress::~ClassProgress() {
  const std::lock_guard lock(mutex_);
  Erase();
}

void ClassProgress::Blocks(std::size_t board, int blocks) {
  const std::lock_guard lock(mutex_);
  if (board >= blocks_.size() || blocks_[board] == kFinished) return;
  blocks_[board] = std::clamp(blocks, 0, kBlocks);
  if (!terminal_ || std::chrono::steady_clock::now() - lastDrawn_ < kRedrawEvery) return;
  Erase();
  Draw();
}

void ClassProgress::Finished(std::size_t board, const std::string& line) {
  const std::lock_guard lock(mutex_);
  if (board < blocks_.size()) blocks_[board] = kFinished;
  Erase();
  io_.out << line << "\n" << std::flush;
  Draw();
}

void ClassProgress::Erase() {
  if (!terminal_ || drawnLines_ == 0) return;
  // Up to the first line drawn, then clear to the end of the screen.
  io_.err << "\x1b[" << drawnLines_ << "A\x1b[J" << std::flush;
  drawnLines_ = 0;
}

void ClassProgress::Draw() {
  if (!terminal_) return;
  lastDrawn_ = std::chrono::steady_clock::now();
  int rows = 0;
  int more = 0;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (blocks_[i] == kFinished) continue;
    if (rows == kMostRows) {
      ++more;
      continue;
    }
    const int done = blocks_[i];
    io_.err << "  " << names_[i] << std::string(nameWidth_ - names_[i].size(), ' ') << "  ["
            << std::string(static_cast<std::size_t>(done), '#')
            << std::string(static_cast<std::size_t>(kBlocks - done), '.') << "] " << done << "/"
            << kBlocks << "\n";
    ++rows;
  }
  if (more > 0) {
    io_.err << "  ... and " << more << " more\n";
    ++rows;
  }
  io_.err << std::flush;
  drawnLines_ = rows;
}

}  // namespace pendra2::cli
