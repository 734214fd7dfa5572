#include "cli/man_page.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>

#include "cli/cli.h"

namespace pendra2::cli {
namespace {

std::string ManPageFor(std::string_view help) {
  const std::array commands{CommandHelp{"demo FILE [-o OUT]", help}};
  std::ostringstream out;
  WriteManPage(out, {"9.9", commands, "  NAME=X   what it does\n", "0 done\n"});
  return out.str();
}

TEST(ManPage, HelpTextBecomesRoffThatCannotBeMistakenForRequests) {
  struct Case {
    std::string_view help;
    std::string_view expected;
  };
  const Case cases[] = {
      {"  -o OUT   write it to OUT\n", ".TP\n.B \\-o OUT\nwrite it to OUT\n"},
      {"  --hex    hex bytes\nAfter the list.\n", "hex bytes\n.PP\nAfter the list.\n"},
      {".flc files first\n", "\n\\&.flc files first\n"},
      {"'quoted' start\n", "\n\\&'quoted' start\n"},
      {"a back\\slash\n", "a back\\eslash\n"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(ManPageFor(c.help).find(c.expected), std::string::npos) << c.help;
  }
}

TEST(ManPage, TheProgramPrintsItsPageWithEveryCommand) {
  const std::string args[] = {"--man"};
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(cli::Run(args, {out, err}), kDone);
  const std::string page = out.str();
  EXPECT_TRUE(page.starts_with(".TH PENDRA2\\-CLI 1")) << page.substr(0, 80);
  for (const char* section : {".SS \"image FILE", ".SS \"simulate FILE", ".SH ENVIRONMENT",
                              "PENDRA2_REPLY_TIMEOUT_MS=MS", ".SH \"EXIT STATUS\""}) {
    EXPECT_NE(page.find(section), std::string::npos) << section;
  }
  EXPECT_TRUE(err.str().empty());
}

}  // namespace
}  // namespace pendra2::cli
