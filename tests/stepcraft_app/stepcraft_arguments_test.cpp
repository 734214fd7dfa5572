// Stepcraft's command line: the view-mode switch, a file to open, and what it refuses.

#include "flowchart/stepcraft_arguments.h"

#include <gtest/gtest.h>

#include <vector>

namespace pendra2::flowchart {
namespace {

TEST(StepcraftArguments, ViewModeFileAndRefusals) {
  struct Row {
    std::vector<std::string> args;
    int32_t viewMode;
    std::optional<std::string> file;
    bool refused;
  } rows[] = {
      {{}, 1, std::nullopt, false},
      {{"-F"}, 0, std::nullopt, false},
      {{"/B"}, 4, std::nullopt, false},
      {{"-J"}, 5, std::nullopt, false},
      {{"-x"}, 1, std::nullopt, false},
      {{"作品.flc"}, 1, "作品.flc", false},
      {{"-F", "/home/u/prog.flc"}, 0, "/home/u/prog.flc", false},
      {{"a.flc", "b.flc"}, 1, "a.flc", true},
      {{"--verbose"}, 1, std::nullopt, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.args.empty() ? std::string("(none)") : r.args[0]);
    const StepcraftArguments parsed = ParseStepcraftArguments(r.args);
    EXPECT_EQ(!parsed.error.empty(), r.refused);
    if (r.refused) continue;
    EXPECT_EQ(parsed.viewMode, r.viewMode);
    EXPECT_EQ(parsed.file, r.file);
  }
}

}  // namespace
}  // namespace pendra2::flowchart
