#pragma once
// The flowchart window's mouse cursors, made from our cursor artwork (CURDEL, CURINS,
// CURLIN, CURLEND; the hot spot is the arrow's tip).

#include <QCursor>
#include <map>

#include "flowchart/edit_session.h"

namespace pendra2::flowchart_ui {

class ToolCursors {
 public:
  ToolCursors();
  // The plain arrow for EditCursor::None (and for artwork that is missing).
  QCursor Get(flowchart::EditCursor cursor) const;

 private:
  std::map<flowchart::EditCursor, QCursor> cursors_;
};

}  // namespace pendra2::flowchart_ui
