#pragma once
// The firmware side of the protocol: what a board answers to each request, and what it
// keeps (auto mode, run state, inputs, the note sounding, the last image). Used by
// pendra2-virtual-board and by the tests' in-process fake.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/report.h"

namespace pendra2::virtual_board {

using device::Report;

struct BoardIdentity {
  uint16_t vendorId = device::kPendraVendor;
  uint16_t productId = device::kPendraProduct;
  std::string version = "V3.00.00";  // 8 characters; the second is the generation
  std::string status = "OK";         // 2 characters
  std::string date = "20261201";     // 8 characters
  std::string build = "00001";       // 5 characters
};

class BoardModel {
 public:
  // What the last request asked of the board beyond its reply, for whatever runs the
  // program and sounds the notes.
  enum class Event { None, Run, Stop, ImageWritten, Note };

  BoardModel() = default;
  explicit BoardModel(BoardIdentity identity) : identity_(std::move(identity)) {}

  // One request report in; the reply report, if the board answers this request.
  std::optional<Report> Receive(const Report& request);

  const BoardIdentity& identity() const { return identity_; }
  bool autoMode() const { return autoMode_; }
  bool running() const { return running_; }
  // Note code being sounded; kSilenceNote when quiet.
  uint8_t note() const { return note_; }
  uint16_t input(int index) const { return inputs_.at(static_cast<std::size_t>(index)); }
  void SetInput(int index, uint16_t value) { inputs_.at(static_cast<std::size_t>(index)) = value; }
  // The last image written whole; all 0xFF until the first complete write.
  const device::Image& image() const { return image_; }
  int imagesWritten() const { return imagesWritten_; }
  // Blocks still expected by an image write under way (0 when none).
  int blocksPending() const { return blocksPending_; }
  Event lastEvent() const { return lastEvent_; }
  const std::vector<Report>& log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  Report InfoReply() const;

  BoardIdentity identity_;
  bool autoMode_ = false;
  bool running_ = false;
  uint8_t note_ = device::kSilenceNote;
  std::array<uint16_t, 3> inputs_{};
  device::Image image_ = FilledImage();
  device::Image incoming_{};
  int blocksPending_ = 0;
  int imagesWritten_ = 0;
  Event lastEvent_ = Event::None;
  std::vector<Report> log_;

  static device::Image FilledImage() {
    device::Image img{};
    img.fill(board_image::kUnwritten);
    return img;
  }
};

// The 130 lower-case hex digits of one report, as the board's log writes it.
std::string HexLine(const Report& report);

}  // namespace pendra2::virtual_board
