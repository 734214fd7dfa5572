#pragma once
// The flowchart window's mouse cursors: which picture each tool shows, and the cursors made
// from our cursor artwork (their hot spot is the arrow's tip).

#include <QCursor>
#include <map>
#include <string>

#include "flowchart/stepcraft_state.h"

namespace pendra2::flowchart_ui {

// The cursor a tool command sets, and the one shown while the mouse moves with that tool;
// empty for the edit tool, which keeps the plain arrow. Only the loop tool differs: it
// picks the pair's start and then shows where the pair ends.
std::string CommandCursorName(flowchart::EditMode mode);
std::string MoveCursorName(flowchart::EditMode mode);

// CURDEL, CURINS, CURLIN and CURLEND, made once per window.
class ToolCursors {
 public:
  ToolCursors();
  // The arrow for an empty or unknown name.
  QCursor Get(const std::string& name) const;

 private:
  std::map<std::string, QCursor> cursors_;
};

}  // namespace pendra2::flowchart_ui
