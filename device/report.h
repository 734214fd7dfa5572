#pragma once
// The 65-byte HID reports exchanged with the board and the identifiers that mark a board.

#include <array>
#include <cstddef>
#include <cstdint>

#include "board_image/layout.h"

namespace pendra2::device {

inline constexpr std::size_t kReportBytes = 65;  // report number + 64 data bytes
inline constexpr std::size_t kBlockBytes = 64;   // image bytes carried by one ImageBlock
inline constexpr std::size_t kImageBlocks = 8;
inline constexpr std::size_t kImageBytes = board_image::kImageBytes;
static_assert(kBlockBytes * kImageBlocks == kImageBytes, "the blocks carry the whole image");

using Report = std::array<uint8_t, kReportBytes>;
using RequestReport = Report;
using ReplyReport = Report;
using board_image::Image;

// Command letters, byte 1 of a request.
namespace letter {
inline constexpr uint8_t kInfoQuery = 'C';
inline constexpr uint8_t kAutoMode = 'T';
inline constexpr uint8_t kRun = 'R';
inline constexpr uint8_t kStop = 'E';
inline constexpr uint8_t kBeginImageWrite = 'S';
inline constexpr uint8_t kReadInput1 = 'A';
inline constexpr uint8_t kReadInput2 = 'a';
inline constexpr uint8_t kReadInput3 = 'z';
inline constexpr uint8_t kPlayNote = 'P';
}  // namespace letter

// Byte 2 of an AutoMode request.
enum class AutoModeArg : uint8_t { Off = 0, On = 1, Query = 2 };

inline constexpr uint8_t kSilenceNote = board_image::kRest;

inline constexpr uint16_t kMicrochipVendor = 0x04D8;
inline constexpr uint16_t kMicrochipProduct = 0x003F;
inline constexpr uint16_t kPendraVendor = 0x3289;
inline constexpr uint16_t kPendraProduct = 0x1001;

// The vendor is tested first: under the Microchip vendor only its one product counts, so a
// 0x1001 product there is not a board either.
constexpr bool IsBoard(uint16_t vendorId, uint16_t productId) {
  if (vendorId == kMicrochipVendor) return productId == kMicrochipProduct;
  return vendorId == kPendraVendor && productId == kPendraProduct;
}

}  // namespace pendra2::device
