#pragma once
// How every part of the suite saves a file: Stepcraft's programs, Chimecraft's tunes and the
// command line's outputs, so they cannot come to treat a user's files differently.
//
// The bytes go into a new file beside the one they replace, which takes its place only once
// every byte is written, so a failed save leaves the previous file as it was. The new file is
// created exclusively under a name of its own: a file or link that already stands beside the
// document (a leftover, or one planted in a shared folder) is never written through.
//
// A save keeps what the file was: a name that is a link (or a chain of links) keeps being one,
// and the file it leads to gets the bytes; a file keeps its permission bits; a file the user
// may not write is not replaced. The one save that cannot be whole is that of a file the user
// may write in a folder they may not: it is written where it stands, with all of its bytes
// ready before the first is written.

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

#include "interaction/user_message.h"

namespace pendra2::interaction {

enum class SaveResult {
  kSaved,         // the file holds the bytes
  kUnchanged,     // nothing was written: whatever stood there is as it was
  kMayBeDamaged,  // written in place, and the writing failed part-way
};

struct SaveOutcome {
  SaveResult result = SaveResult::kUnchanged;
  std::error_code reason;  // what the system said, when the save failed
};

// What the editors say when a save written in place failed: unlike any other failed save, it
// may have cost the user the file they had.
inline constexpr MessageText kSaveMayHaveDamagedFile{
    "ファイルの保存に失敗しました。\nファイルが壊れている可能性があります。\n"
    "別の名前で保存し直してください。",
    "Error Message", PromptIcon::Warning};

// The file a save of `path` writes: the end of its chain of links (a link that leads nowhere
// leads to the file the save creates), or `path` itself. Sets `ec` for a chain that loops.
std::filesystem::path SaveTarget(const std::filesystem::path& path, std::error_code& ec);

// Saves `bytes` as the file `path` names. A folder, a device or a pipe there is not replaced
// (kUnchanged); a new file gets the default permission bits.
SaveOutcome SaveWhole(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace pendra2::interaction
