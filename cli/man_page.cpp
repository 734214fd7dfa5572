#include "cli/man_page.h"

#include <cstddef>
#include <string>

namespace pendra2::cli {
namespace {

// Text as roff reads it: a backslash is an escape, a hyphen may become a dash, and a line
// that starts with a dot or an apostrophe would be taken for a request.
std::string Roff(std::string_view text) {
  std::string out;
  if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

// A help line "  -o OUT   write it to OUT" is an option (term, then two or more spaces,
// then its description); any other line is running text.
struct Line {
  std::string_view term;
  std::string_view text;
};

Line SplitLine(std::string_view line) {
  if (!line.starts_with("  ")) return {{}, line};
  const std::string_view rest = line.substr(line.find_first_not_of(' '));
  const std::size_t gap = rest.find("  ");
  if (gap == std::string_view::npos) return {{}, rest};
  const std::size_t text = rest.find_first_not_of(' ', gap);
  return {rest.substr(0, gap), text == std::string_view::npos ? "" : rest.substr(text)};
}

void WriteHelpText(std::ostream& out, std::string_view help) {
  bool inList = false;
  while (!help.empty()) {
    const std::size_t end = help.find('\n');
    const std::string_view line = help.substr(0, end);
    help = end == std::string_view::npos ? std::string_view{} : help.substr(end + 1);
    const Line parts = SplitLine(line);
    if (!parts.term.empty()) {
      out << ".TP\n.B " << Roff(parts.term) << "\n" << Roff(parts.text) << "\n";
      inList = true;
    } else if (!parts.text.empty()) {
      if (inList) out << ".PP\n";
      inList = false;
      out << Roff(parts.text) << "\n";
    }
  }
}

}  // namespace

void WriteManPage(std::ostream& out, const ManPageTexts& texts) {
  out << ".TH PENDRA2\\-CLI 1 \"\" \"pendra2\\-cli " << Roff(texts.version)
      << "\" \"User Commands\"\n"
         ".SH NAME\n"
         "pendra2\\-cli \\- Pendra2 programs, tunes and boards from the command line\n"
         ".SH SYNOPSIS\n"
         ".B pendra2\\-cli\n"
         ".I COMMAND\n"
         "[\\fIARGS\\fR]\n"
         ".br\n"
         ".B pendra2\\-cli\n"
         ".I COMMAND\n"
         ".B \\-\\-help\n"
         ".br\n"
         ".B pendra2\\-cli\n"
         "\\fB\\-\\-help\\fR | \\fB\\-\\-version\\fR\n"
         ".SH DESCRIPTION\n"
         "pendra2\\-cli does from a terminal or a script what the Stepcraft and Chimecraft "
         "editors do with flowchart programs (.flc), music\\-box tunes (.olg) and the Pendra2 "
         "board.\n"
         ".SH COMMANDS\n";
  for (const CommandHelp& command : texts.commands) {
    out << ".SS \"" << Roff(command.usage) << "\"\n";
    WriteHelpText(out, command.help);
  }
  out << ".SH ENVIRONMENT\n";
  WriteHelpText(out, texts.environment);
  out << ".SH \"EXIT STATUS\"\n";
  WriteHelpText(out, texts.exitStatuses);
  out << ".SH \"SEE ALSO\"\n"
         ".BR Stepcraft ,\n"
         ".BR Chimecraft ,\n"
         ".B Pendra2\n";
}

}  // namespace pendra2::cli
