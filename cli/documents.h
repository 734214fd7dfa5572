#pragma once
// Reading the command line's input files: each is read once into memory (so a pipe or
// /dev/stdin works) and its kind decided from those bytes; then loaded as the editor that
// owns the kind would load it. Every refusal is written for the user here.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "flowchart/flow_file.h"
#include "flowchart/flow_program.h"
#include "interaction/user_message.h"
#include "melody/melody_state.h"

namespace pendra2::cli {

enum class DocumentKind { Flow, Tune, Unknown };

struct InputFile {
  std::string path;
  std::vector<uint8_t> bytes;
  DocumentKind kind = DocumentKind::Unknown;
};

// The magic decides ("FL" a program, "OL" a tune); the extension settles files too damaged
// to have one.
DocumentKind Sniff(const std::vector<uint8_t>& bytes, const std::string& path);

// The editors' own files are small; what is read of a file stops here unless told otherwise.
inline constexpr std::size_t kDocumentReadLimit = 4 * flowchart::kFlowFileBytes;

// Fails, with what to tell the user, when the file is missing, a folder or unreadable. At
// most `limit` bytes are read.
interaction::Outcome ReadInputFile(const std::string& path, InputFile& file,
                                   std::size_t limit = kDocumentReadLimit);
// Opens the file in a fresh editor session (a new program, recomputed); fails for a file of
// another kind or one the editor refuses.
interaction::Outcome LoadFlowDocument(const InputFile& file, flowchart::FlowProgram& program);
// The same for tunes; a file cut short or with an odd tempo loads, with `warnings`.
interaction::Outcome LoadTuneDocument(const InputFile& file, melody::MelodyState& state,
                                      std::vector<std::string>& warnings);

// The same at the edge: the message (and warnings) written to io.err; nothing then.
std::optional<InputFile> ReadInput(const std::string& path, Streams io,
                                   std::size_t limit = kDocumentReadLimit);
std::unique_ptr<flowchart::FlowProgram> LoadFlow(const InputFile& file, Streams io);
std::unique_ptr<melody::MelodyState> LoadTune(const InputFile& file, Streams io);

// Message-box texts may span lines; on a terminal one line reads better.
std::string OneLine(std::string_view text);
// A message for the user, on one line of the error stream.
void Tell(const interaction::UserMessage& message, Streams io);

}  // namespace pendra2::cli
