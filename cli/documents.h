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
#include "flowchart/flow_program.h"
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

// Nothing, after telling why, when the file is missing, a folder or unreadable.
std::optional<InputFile> ReadInput(const std::string& path, Streams io);

// A fresh editor session that opens the file; null after telling why it was refused.
std::unique_ptr<flowchart::FlowProgram> LoadFlow(const InputFile& file, Streams io);
// The same for tunes; files cut short or with an odd tempo load with a warning.
std::unique_ptr<melody::MelodyState> LoadTune(const InputFile& file, Streams io);

// Message-box texts may span lines; on a terminal one line reads better.
std::string OneLine(std::string_view text);

}  // namespace pendra2::cli
