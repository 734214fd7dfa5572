#pragma once
// Tiny images by hand and a runner that plays them at full speed.

#include <initializer_list>
#include <vector>

#include "board_sim/board_sim.h"

namespace pendra2::board_sim::testing {

using Bytes = std::vector<uint8_t>;

inline Image MakeImage(const Bytes& bytes) {
  Image image{};
  image.fill(0xFF);
  for (std::size_t i = 0; i < bytes.size() && i < image.size(); ++i) image[i] = bytes[i];
  return image;
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

struct Run {
  BoardSim board;
  std::vector<Executed> done;
};

// Runs the image from address 0 with the given inputs until it stops or `limitMs` of
// simulated time have passed; the number of calls is bounded too, so a runaway fails the
// test instead of hanging it.
inline Run RunImage(const Bytes& bytes, std::array<uint16_t, 3> inputs = {}, int limitMs = 20000) {
  Run r;
  r.board.Load(MakeImage(bytes));
  for (int i = 0; i < 3; ++i) r.board.SetInput(i, inputs[static_cast<std::size_t>(i)]);
  r.board.Start(0);
  const Micros limit = Micros{limitMs} * 1000;
  for (int calls = 0; calls < 5'000'000 && r.board.running() && r.board.due() <= limit; ++calls) {
    if (auto e = r.board.Advance(limit)) r.done.push_back(*e);
  }
  return r;
}

inline Bytes Lo16(int v) {
  return {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF)};
}

}  // namespace pendra2::board_sim::testing
