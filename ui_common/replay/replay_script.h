#pragma once
// A recorded session for `--replay`: what the user did, one action per line, read and
// checked in full before anything runs, so a mistyped script never half-runs a session.
// Plain C++: the parser knows nothing of windows.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "interaction/prompter.h"

namespace pendra2::ui::replay {

enum class ScrollKind { LineUp, LineDown, PageUp, PageDown, Thumb };

struct CommandAction {
  int id = 0;
};
struct ClickAction {
  int x = 0, y = 0;
};
struct MoveAction {
  int x = 0, y = 0;
};
// The left button pressed at X1 Y1, the mouse moved with it held, released at X2 Y2.
struct DragAction {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
struct ScrollAction {
  ScrollKind kind = ScrollKind::LineDown;
  int position = 0;  // only for Thumb, carried unclamped
};
struct SelectAction {
  int id = 0;
  int index = 0;
};
// The user moved slider ID to VALUE (the value is checked against the slider's range when
// the line runs).
struct SlideAction {
  int id = 0;
  int value = 0;
};
struct WaitAction {
  int ms = 0;
};
struct AnswerAction {
  interaction::PromptAnswer answer = interaction::PromptAnswer::Ok;
};
// The path a file or print dialog gives back; nothing for `cancel`.
struct FileAction {
  std::optional<std::string> path;
};
struct PrintAction {
  std::optional<std::string> path;
};
// A picture of what the user sees, for guides: the program's own windows, or with `screen`
// the whole screen (other programs' windows too, when there is a real display).
struct ShotAction {
  std::string path;
  bool wholeScreen = false;
};

// One line inside a `dialog` block.
struct DialogStep {
  enum class Kind { Set, Press, Pick, Wait, Shot };
  Kind kind = Kind::Press;
  int line = 0;
  std::string control;  // object name of the control (Set, Press, Pick)
  std::string text;     // Set; Shot: the picture's path
  int number = 0;       // Pick: entry index; Wait: milliseconds; Shot: 1 for the whole screen
};

struct DialogBlock {
  std::string id;  // object name of the dialog expected to open
  std::vector<DialogStep> steps;
  bool endOk = false;  // `end ok` or `end cancel`
  int endLine = 0;
};

using Action = std::variant<CommandAction, ClickAction, MoveAction, DragAction, ScrollAction,
                            SelectAction, SlideAction, WaitAction, AnswerAction, FileAction,
                            PrintAction, ShotAction, DialogBlock>;

struct ScriptLine {
  int line = 0;  // 1-based line number in the script, for messages
  Action action;
};

struct ReplayScript {
  std::vector<ScriptLine> lines;
};

// A script, or the reason it cannot run ("line 7: ...").
struct ParsedScript {
  std::optional<ReplayScript> script;
  std::string error;
  int errorLine = 0;  // 0 when the file itself could not be read
  bool ok() const { return script.has_value(); }
};

ParsedScript ParseReplayScript(std::string_view text);

// Reads and parses FILE; "-" reads standard input.
ParsedScript LoadReplayScript(const std::string& path);

// TEXT as the script and the transcript write it: in double quotes, with \" and \\, and a
// line break as \n so that every event stays on one line.
std::string QuoteText(std::string_view text);

std::string_view AnswerName(interaction::PromptAnswer answer);

}  // namespace pendra2::ui::replay
