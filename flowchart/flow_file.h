#pragma once
// .flc files: a 64-byte header and all 256 step records exactly as the table holds them,
// 204,864 bytes. The results carry the texts the editor shows in its message box.

#include <filesystem>
#include <span>
#include <string>

#include "flowchart/flow_program.h"

namespace pendra2::flowchart {

inline constexpr std::size_t kFlowFileBytes =
    kFileHeaderBytes + static_cast<std::size_t>(kStepSlots) * sizeof(StepRecord);
// The version this program writes into every file it saves.
inline constexpr std::string_view kProgramVersion = "4.25.80A";

inline constexpr std::string_view kErrorCaption = "Error Message";
inline constexpr std::string_view kSaveOpenError = "Save File Open Error";
inline constexpr std::string_view kLoadOpenError = "Load File Open Error";
inline constexpr std::string_view kVersionRefused =
    "このバージョンのプログラムでは操作できません。\n新しいバージョンのプログラムをご使用ください";
inline constexpr std::string_view kDamagedFile =
    "ファイルが壊れているため読み込めません。\n"
    "ステップ数が2～255でないか、最初が「はじめ」、最後が「おわり」になっていません";
inline constexpr std::string_view kTruncatedFile =
    "ファイルが壊れているため読み込めません。\nファイルが途中で切れています";

// What a save or load did. On failure `message` and `caption` are the message box to show
// (information icon) and nothing the caller owns should change. On success the caller
// stores `documentPath` as the document's path; after a load it also shows the program from
// its first step (`resetTopStep`).
struct FlowFileResult {
  bool ok = false;
  std::string message;
  std::string caption;
  std::filesystem::path documentPath;
  bool resetTopStep = false;
};

// Writes through a temporary file beside `path` and renames it into place, so a failure
// part-way leaves any previous file whole. Success clears `modified`.
FlowFileResult SaveFlowFile(FlowProgram& program, const std::filesystem::path& path);

// Reads a file into the program and recomputes it. A refused file leaves the step table,
// count and image as they were (a file refused for its version still leaves its header in
// `headerBuffer`, as it always has). `tempoIndex` is not taken from the file.
FlowFileResult LoadFlowFile(FlowProgram& program, const std::filesystem::path& path);

// The same on a file's bytes already in memory; `documentPath` stays empty.
FlowFileResult LoadFlowBytes(FlowProgram& program, std::span<const uint8_t> bytes);

// The version test on a header: accepts versions beginning with '1', and '4' versions whose
// third character is below '3'.
bool VersionAccepted(const std::array<uint8_t, kFileHeaderBytes>& header);

}  // namespace pendra2::flowchart
