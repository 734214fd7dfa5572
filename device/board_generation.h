#pragma once
// The transfer's generation question, asked of a real or virtual board. Used by every
// program that writes a flowchart image (the editor's transfer button and the command line).

#include "device/board.h"
#include "interaction/generation_source.h"

namespace pendra2::device {

class BoardGeneration final : public interaction::GenerationSource {
 public:
  explicit BoardGeneration(Board& board) : board_(board) {}
  std::optional<uint8_t> QueryGeneration() override {
    if (!board_.InfoQuery()) return std::nullopt;
    return board_.Info().generation;
  }

 private:
  Board& board_;
};

}  // namespace pendra2::device
