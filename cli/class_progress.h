#pragma once
// What `write --all` shows while the boards are written at once: a line for each board as it
// finishes, on standard output, and, for a user watching a terminal, the boards still under
// way with the blocks each has taken, redrawn in place below those lines on standard error.
// Every board's thread reports here; one lock keeps the lines whole.

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace pendra2::cli {

class ClassProgress {
 public:
  ClassProgress(std::vector<std::string> names, Streams io, bool terminal);
  // The boards under way are wiped from the terminal; the finished lines stay.
  ~ClassProgress();
  ClassProgress(const ClassProgress&) = delete;
  ClassProgress& operator=(const ClassProgress&) = delete;

  // Board `board` has taken `blocks` of the image's eight blocks.
  void Blocks(std::size_t board, int blocks);
  // Board `board` is done: `line` is what came of it.
  void Finished(std::size_t board, const std::string& line);

 private:
  void Erase();
  void Draw();

  std::mutex mutex_;
  const std::vector<std::string> names_;
  std::vector<int> blocks_;  // blocks taken; below 0 once finished
  Streams io_;
  const bool terminal_;
  std::size_t nameWidth_ = 0;
  int drawnLines_ = 0;
  std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace pendra2::cli
