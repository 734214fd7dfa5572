#pragma once
// .flc files: a 64-byte header and all 256 step records exactly as the table holds them,
// 204,864 bytes. The results carry the texts the editor shows in its message box.

#include <filesystem>
#include <span>
#include <string>

#include "flowchart/flow_program.h"
#include "interaction/user_message.h"

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
// "%s" stands for the file's name.
inline constexpr std::string_view kNotAProgram =
    "「%s」は読み込めません。\nステップクラフトのアクティビティ図ファイルではありません。";

// A failed save or load returns the message box to show (caption kErrorCaption, information
// icon), and nothing the caller owns has changed.

// Saves as interaction::SaveWhole does: a failure leaves any previous file whole (kSaveOpenError),
// but for a file written in place, whose folder the user may not write, which may then be
// damaged (interaction::kSaveMayHaveDamagedFile). Success clears `modified`.
interaction::Outcome SaveFlowFile(FlowProgram& program, const std::filesystem::path& path);

// Whether the bytes begin with "FL", as every program file does. Without it a file is no
// program at all (a tune, a picture, an empty file), not a program of a newer version, and
// is refused as such before its version is looked at.
bool HasProgramMagic(std::span<const uint8_t> bytes);

// Reads a file into the program and recomputes it. A refused file leaves the step table,
// count and image as they were (a file refused for its version still leaves its header in
// `headerBuffer`, as it always has). `tempoIndex` is not taken from the file.
interaction::Outcome LoadFlowFile(FlowProgram& program, const std::filesystem::path& path);

// The same on a file's bytes already in memory; `fileName` is what the refusal of a file
// that is no program calls it.
interaction::Outcome LoadFlowBytes(FlowProgram& program, std::span<const uint8_t> bytes,
                                   std::string_view fileName = {});

// The version test on a header: accepts versions beginning with '1', and '4' versions whose
// third character is below '3'.
bool VersionAccepted(const std::array<uint8_t, kFileHeaderBytes>& header);

}  // namespace pendra2::flowchart
