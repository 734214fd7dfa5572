#pragma once
// Alt+? and Alt+/ open each program's About box. '?' is a shifted key on both the Japanese
// and the US layout, so Alt+? arrives as Alt+Shift with either the '?' or the '/' key code
// depending on the platform's key mapping; every form is listed so that all of them work.

#include <QKeySequence>
#include <QList>

namespace pendra2::ui {

inline QList<QKeySequence> AboutShortcuts() {
  return {QKeySequence(Qt::ALT | Qt::Key_Question), QKeySequence(Qt::ALT | Qt::Key_Slash),
          QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Question),
          QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Slash)};
}

}  // namespace pendra2::ui
