#include "board_sim/trace.h"

#include <cstdio>

#include "melody/codes.h"

namespace pendra2::board_sim {
namespace {

std::string Millis(Micros us) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%lld", static_cast<long long>(us / 1000),
                static_cast<long long>((us % 1000) / 100));
  return text;
}

}  // namespace

int StepNumber(const BoardSim& board, int address) {
  if (board.map().tuneImage || address < 0 || address >= kImageBytes) return 0;
  return board.map().stepAt[static_cast<std::size_t>(address)];
}

int StepNumber(const BoardSim& board, const Executed& e) {
  return StepNumber(board, e.column ? e.tuneAt : e.address);
}

std::string ExtBits(uint8_t ext) {
  std::string bits;
  for (int bit = 0; bit < 4; ++bit) bits += (ext >> bit) & 1 ? '1' : '0';
  return bits;
}

std::string TraceLine(const Executed& e, const BoardSim& board, int step) {
  char head[64];
  const char letter = e.letter >= 0x21 && e.letter <= 0x7E ? static_cast<char>(e.letter) : '?';
  std::snprintf(head, sizeof head, "addr=%03d op=%c", e.address, letter);
  std::string line = "t=" + Millis(e.time) + " " + head;
  if (step > 0) line += " step=" + std::to_string(step);
  const Outputs& o = board.outputs();
  line += std::string(" led=") + (o.led ? '1' : '0') + " out1=" + (o.out1 ? '1' : '0') +
          " out2=" + (o.out2 ? '1' : '0') + " ext=" + ExtBits(o.ext) +
          " a=" + std::to_string(board.a()) + " b=" + std::to_string(board.b());
  if (e.column) line += " note=" + std::string(melody::kNoteNames[e.note]);
  return line;
}

std::string StopLine(const BoardSim& board, Micros at) {
  char where[16];
  std::snprintf(where, sizeof where, "%03d", board.stopped().address);
  return "t=" + Millis(at) + " stop=" + ReasonKey(board.stopped().reason) + " addr=" + where + " " +
         Describe(board.stopped());
}

}  // namespace pendra2::board_sim
