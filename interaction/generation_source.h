#pragma once
// What a transfer asks the board before it writes: the board's generation, so that a program
// made for a newer board is never written into an older one. The cores see only this.

#include <cstdint>
#include <optional>

namespace pendra2::interaction {

// The generation digit (the version's second character) of the boards this suite is for.
inline constexpr uint8_t kCurrentGeneration = '3';

// Stepcraft writes a program into a board of this generation or a later one.
constexpr bool GenerationAcceptsProgram(uint8_t generation) {
  return generation >= kCurrentGeneration;
}

class GenerationSource {
 public:
  virtual ~GenerationSource() = default;
  // Sends InfoQuery and returns the generation digit of its reply; nothing when no reply
  // came for this very request (an older reply's bytes must not pass the guard).
  virtual std::optional<uint8_t> QueryGeneration() = 0;
};

}  // namespace pendra2::interaction
