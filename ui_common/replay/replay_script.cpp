#include "ui_common/replay/replay_script.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace pendra2::ui::replay {
namespace {

using interaction::PromptAnswer;

struct Token {
  std::string text;
  bool quoted = false;
};

// Why a line cannot be split into words.
struct LineError {
  std::string message;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Checks that `text` is well-formed UTF-8, so that what reaches a field is what was written.
bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    int more = 0;
    if (c < 0x80) {
      more = 0;
    } else if (c >= 0xC2 && c <= 0xDF) {
      more = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3;
    } else {
      return false;
    }
    if (more > 0 && i + more >= text.size()) return false;
    for (int k = 1; k <= more; ++k) {
      const auto d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80) return false;
    }
    // The second byte decides what the first alone cannot: no overlong forms (E0, F0), no
    // surrogates (ED), nothing above U+10FFFF (F4).
    if (more > 0) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) ||
          (c == 0xF0 && second < 0x90) || (c == 0xF4 && second > 0x8F)) {
        return false;
      }
    }
    i += more + 1;
  }
  return true;
}

// Splits a line into words and quoted texts; a '#' outside quotes ends the line.
std::variant<std::vector<Token>, LineError> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    Token token;
    if (line[i] == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\') {
          if (i >= line.size() || (line[i] != '"' && line[i] != '\\'))
            return LineError{"only \\\" and \\\\ may follow a backslash in a text"};
          token.text += line[i++];
          continue;
        }
        token.text += c;
      }
      if (!closed) return LineError{"a text is missing its closing quote"};
      if (i < line.size() && !IsBlank(line[i]) && line[i] != '#')
        return LineError{"a text must be followed by a blank"};
      if (!IsUtf8(token.text)) return LineError{"a text is not valid UTF-8"};
    } else {
      while (i < line.size() && !IsBlank(line[i]) && line[i] != '#') {
        if (line[i] == '"') return LineError{"a quote inside a word"};
        token.text += line[i++];
      }
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

// Reads the words of one line in order, with the checks every action shares. The first
// fault is kept; once there is one, every later read gives an empty value, and the line is
// refused as a whole.
class Words {
 public:
  explicit Words(const std::vector<Token>& tokens) : tokens_(tokens) {}

  const std::string& Verb() const { return tokens_[0].text; }
  const std::optional<std::string>& error() const { return error_; }

  void Fail(std::string message) {
    if (!error_) error_ = std::move(message);
  }

  std::optional<Token> Next(const char* what) {
    if (error_) return std::nullopt;
    if (next_ >= tokens_.size()) {
      Fail(std::string("missing ") + what);
      return std::nullopt;
    }
    return tokens_[next_++];
  }
  std::string Word(const char* what) {
    const auto token = Next(what);
    if (!token) return {};
    if (token->quoted) Fail(std::string("expected ") + what + ", found a text");
    return token->text;
  }
  int Number(const char* what, bool allowNegative) {
    const std::string word = Word(what);
    if (error_) return 0;
    int value = 0;
    const char* last = word.data() + word.size();
    const auto [end, fault] = std::from_chars(word.data(), last, value);
    if (word.empty() || fault != std::errc() || end != last || (!allowNegative && value < 0))
      Fail(std::string("expected ") + what + ", found '" + word + "'");
    return value;
  }
  // Control and dialog ids are the numbers the windows carry as object names.
  std::string Id(const char* what) {
    std::string word = Word(what);
    if (!error_ && (word.empty() || word.find_first_not_of("0123456789") != std::string::npos))
      Fail(std::string("expected ") + what + ", found '" + word + "'");
    return word;
  }
  std::string Text(const char* what) {
    const auto token = Next(what);
    if (!token) return {};
    if (!token->quoted)
      Fail(std::string("expected ") + what + " in double quotes, found '" + token->text + "'");
    return token->text;
  }
  // TEXT, or the bare word `cancel`.
  std::optional<std::string> TextOrCancel() {
    const auto token = Next("a text or cancel");
    if (!token || token->quoted) return token ? std::optional(token->text) : std::nullopt;
    if (token->text != "cancel") Fail("expected a text or cancel, found '" + token->text + "'");
    return std::nullopt;
  }
  bool AtEnd() const { return next_ >= tokens_.size(); }
  void End() {
    if (!error_ && next_ < tokens_.size())
      Fail("unexpected '" + tokens_[next_].text + "' at the end of the line");
  }

 private:
  const std::vector<Token>& tokens_;
  size_t next_ = 1;
  std::optional<std::string> error_;
};

PromptAnswer ParseAnswer(Words& words) {
  const std::string word = words.Word("an answer");
  if (word == "ok") return PromptAnswer::Ok;
  if (word == "cancel") return PromptAnswer::Cancel;
  if (word == "yes") return PromptAnswer::Yes;
  if (word == "no") return PromptAnswer::No;
  words.Fail("expected ok, cancel, yes or no, found '" + word + "'");
  return PromptAnswer::Ok;
}

ScrollAction ParseScroll(Words& words) {
  const std::string kind = words.Word("lineup, linedown, pageup, pagedown or thumb");
  if (kind == "lineup") return {ScrollKind::LineUp, 0};
  if (kind == "linedown") return {ScrollKind::LineDown, 0};
  if (kind == "pageup") return {ScrollKind::PageUp, 0};
  if (kind == "pagedown") return {ScrollKind::PageDown, 0};
  if (kind == "thumb") return {ScrollKind::Thumb, words.Number("a position", true)};
  words.Fail("expected lineup, linedown, pageup, pagedown or thumb, found '" + kind + "'");
  return {};
}

// `shot "FILE"` or `shot "FILE" screen`.
ShotAction ParseShot(Words& words) {
  ShotAction shot{words.Text("the picture's file name"), false};
  if (!words.AtEnd()) {
    if (words.Word("screen") != "screen") words.Fail("expected screen after the file name");
    shot.wholeScreen = true;
  }
  return shot;
}

// An action outside a dialog block; a DialogBlock comes back empty, to be filled.
Action ParseAction(Words& words) {
  const std::string& verb = words.Verb();
  if (verb == "command") return CommandAction{words.Number("a command id", false)};
  if (verb == "click" || verb == "move") {
    const int x = words.Number("X", true);
    const int y = words.Number("Y", true);
    if (verb == "click") return ClickAction{x, y};
    return MoveAction{x, y};
  }
  if (verb == "drag") {
    DragAction drag;
    drag.x1 = words.Number("X1", true);
    drag.y1 = words.Number("Y1", true);
    drag.x2 = words.Number("X2", true);
    drag.y2 = words.Number("Y2", true);
    return drag;
  }
  if (verb == "scroll") return ParseScroll(words);
  if (verb == "select") {
    const int id = words.Number("a list id", false);
    return SelectAction{id, words.Number("an entry number", false)};
  }
  if (verb == "slide") {
    const int id = words.Number("a slider id", false);
    return SlideAction{id, words.Number("a slider value", true)};
  }
  if (verb == "wait") return WaitAction{words.Number("milliseconds", false)};
  if (verb == "answer") return AnswerAction{ParseAnswer(words)};
  if (verb == "file") return FileAction{words.TextOrCancel()};
  if (verb == "print") return PrintAction{words.TextOrCancel()};
  if (verb == "shot") return ParseShot(words);
  if (verb == "dialog") return DialogBlock{words.Id("a dialog id"), {}, false, 0};
  if (verb == "end" || verb == "set" || verb == "press" || verb == "pick") {
    words.Fail("'" + verb + "' belongs inside a dialog block");
  } else {
    words.Fail("unknown action '" + verb + "'");
  }
  return CommandAction{};
}

// A line inside a dialog block; returns true for its `end` line.
bool ParseDialogLine(Words& words, int line, DialogBlock& block) {
  const std::string& verb = words.Verb();
  DialogStep step;
  step.line = line;
  if (verb == "end") {
    const std::string how = words.Word("ok or cancel");
    if (how != "ok" && how != "cancel") words.Fail("expected ok or cancel, found '" + how + "'");
    block.endOk = how == "ok";
    block.endLine = line;
    return true;
  }
  if (verb == "set") {
    step.kind = DialogStep::Kind::Set;
    step.control = words.Id("a control id");
    step.text = words.Text("the text");
  } else if (verb == "press") {
    step.kind = DialogStep::Kind::Press;
    step.control = words.Id("a control id");
  } else if (verb == "pick") {
    step.kind = DialogStep::Kind::Pick;
    step.control = words.Id("a control id");
    step.number = words.Number("an entry number", false);
  } else if (verb == "wait") {
    step.kind = DialogStep::Kind::Wait;
    step.number = words.Number("milliseconds", false);
  } else if (verb == "shot") {
    const ShotAction shot = ParseShot(words);
    step.kind = DialogStep::Kind::Shot;
    step.text = shot.path;
    step.number = shot.wholeScreen ? 1 : 0;
  } else {
    words.Fail("'" + verb +
               "' cannot stand inside a dialog block (expected set, press, pick, wait, shot or "
               "end)");
  }
  block.steps.push_back(std::move(step));
  return false;
}

ParsedScript Failure(int line, const std::string& message) {
  ParsedScript parsed;
  parsed.errorLine = line;
  parsed.error = "line " + std::to_string(line) + ": " + message;
  return parsed;
}

}  // namespace

ParsedScript ParseReplayScript(std::string_view text) {
  // A byte-order mark is what some editors put in front of UTF-8; it is not part of line 1.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  ReplayScript script;
  std::optional<ScriptLine> open;  // the dialog block being read
  int lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    auto tokenized = Tokenize(line);
    if (auto* error = std::get_if<LineError>(&tokenized))
      return Failure(lineNumber, error->message);
    const auto& tokens = std::get<std::vector<Token>>(tokenized);
    if (tokens.empty()) continue;
    if (tokens[0].quoted) return Failure(lineNumber, "a line must start with an action");
    Words words(tokens);
    if (open) {
      const bool ended = ParseDialogLine(words, lineNumber, std::get<DialogBlock>(open->action));
      words.End();
      if (words.error()) return Failure(lineNumber, *words.error());
      if (ended) {
        script.lines.push_back(std::move(*open));
        open.reset();
      }
      continue;
    }
    Action action = ParseAction(words);
    words.End();
    if (words.error()) return Failure(lineNumber, *words.error());
    if (std::holds_alternative<DialogBlock>(action)) {
      open = ScriptLine{lineNumber, std::move(action)};
    } else {
      script.lines.push_back({lineNumber, std::move(action)});
    }
  }
  if (open) {
    return Failure(open->line, "dialog " + std::get<DialogBlock>(open->action).id +
                                   " has no 'end ok' or 'end cancel'");
  }
  ParsedScript parsed;
  parsed.script = std::move(script);
  return parsed;
}

ParsedScript LoadReplayScript(const std::string& path) {
  std::string text;
  if (path == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    if (std::cin.bad()) {
      ParsedScript failed;
      failed.error = "cannot read the script from standard input";
      return failed;
    }
  } else {
    std::error_code ignored;
    std::ifstream file(path, std::ios::binary);
    if (!file || std::filesystem::is_directory(path, ignored)) {
      ParsedScript failed;
      failed.error = "cannot read " + path + ": " +
                     (file ? std::string("it is a folder") : std::strerror(errno));
      return failed;
    }
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
      ParsedScript failed;
      failed.error = "cannot read " + path;
      return failed;
    }
  }
  return ParseReplayScript(text);
}

std::string QuoteText(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n') {
      quoted += "\\n";
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  return quoted;
}

std::string_view AnswerName(interaction::PromptAnswer answer) {
  switch (answer) {
    case PromptAnswer::Ok:
      return "ok";
    case PromptAnswer::Cancel:
      return "cancel";
    case PromptAnswer::Yes:
      return "yes";
    case PromptAnswer::No:
      return "no";
  }
  return "ok";
}

}  // namespace pendra2::ui::replay
