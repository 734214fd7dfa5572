#include "ui_common/replay/replay_session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <type_traits>

#include "ui_common/replay/screen_shot.h"

namespace pendra2::ui::replay {
namespace {

// Delivers one mouse event to `window` itself at client position `at`.
void SendMouse(QWidget& window, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  const QPointF local(at);
  QMouseEvent event(type, local, QPointF(window.mapTo(window.window(), at)),
                    QPointF(window.mapToGlobal(at)), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &event);
}

}  // namespace

ReplaySession::ReplaySession(std::ostream& out, std::ostream& err) : err_(err), context_(out) {}

void ReplayContext::WaitForBoard() const {
  if (!boardBusy) return;
  const QDeadlineTimer deadline(60000);
  while (boardBusy() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  }
}

ReplaySession::~ReplaySession() = default;

void ReplaySession::ReportTitle(const QString& title, const QObject* window) {
  auto [it, added] = titles_.try_emplace(window, title);
  if (!added && it->second == title) return;
  it->second = title;
  context_.Print("title " + QuoteText(title.toStdString()));
}

void ReplaySession::WatchTitle(QWidget* window) {
  if (window == nullptr) return;
  titles_[window] = window->windowTitle();
  window->installEventFilter(this);
  // A window that goes away must not leave its caption to one that reuses its address.
  connect(window, &QObject::destroyed, this, [this](QObject* gone) { titles_.erase(gone); });
}

bool ReplaySession::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::WindowTitleChange && titles_.contains(watched)) {
    if (auto* window = qobject_cast<QWidget*>(watched)) ReportTitle(window->windowTitle(), window);
  }
  return false;
}

int ReplaySession::Run(ReplayTarget& target, const ReplayScript& script) {
  for (const ScriptLine& line : script.lines) {
    context_.WaitForBoard();
    RunLine(target, line);
    // Whatever the action set going (repaints, posted work) settles before the next one.
    QCoreApplication::processEvents();
    if (context_.failed()) break;
  }
  // What the last lines started ends too, with the messages it shows.
  context_.WaitForBoard();
  FailOnLeftovers();
  if (!context_.failed()) return kReplayDone;
  err_ << "replay: " << context_.failure() << '\n' << std::flush;
  return kReplayWentOtherwise;
}

int ReplaySession::RunInEventLoop(ReplayTarget& target, const ReplayScript& script) {
  int status = kReplayDone;
  QTimer::singleShot(0, this, [&] {
    status = Run(target, script);
    QCoreApplication::exit(status);
  });
  QCoreApplication::exec();
  return status;
}

void ReplaySession::RunLine(ReplayTarget& target, const ScriptLine& line) {
  std::visit(
      [&](const auto& action) {
        using T = std::decay_t<decltype(action)>;
        if constexpr (std::is_same_v<T, CommandAction>) {
          if (!target.Command(action.id))
            context_.Fail(line.line, "no window handles command " + std::to_string(action.id));
        } else if constexpr (std::is_same_v<T, DragAction>) {
          QPointer<QWidget> window = target.PointerWindow();
          if (!window) {
            context_.Fail(line.line, "the program has no window to drag in");
            return;
          }
          const QPoint from(action.x1, action.y1), to(action.x2, action.y2);
          SendMouse(*window, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
          // Through the rows or columns between, as a hand moves the mouse.
          constexpr int kMoves = 8;
          for (int i = 1; i <= kMoves && window; ++i) {
            SendMouse(*window, QEvent::MouseMove, from + (to - from) * i / kMoves, Qt::NoButton,
                      Qt::LeftButton);
          }
          if (window)
            SendMouse(*window, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        } else if constexpr (std::is_same_v<T, ClickAction> || std::is_same_v<T, MoveAction>) {
          QPointer<QWidget> window = target.PointerWindow();
          if (!window) {
            context_.Fail(line.line, "the program has no window to click in");
            return;
          }
          const QPoint at(action.x, action.y);
          if constexpr (std::is_same_v<T, ClickAction>) {
            SendMouse(*window, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            if (window)
              SendMouse(*window, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
          } else {
            SendMouse(*window, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
          }
        } else if constexpr (std::is_same_v<T, ScrollAction>) {
          target.Scroll(action.kind, action.position);
        } else if constexpr (std::is_same_v<T, SelectAction>) {
          if (!target.Select(action.id, action.index))
            context_.Fail(line.line, "the program has no list " + std::to_string(action.id) +
                                         " with an entry " + std::to_string(action.index));
        } else if constexpr (std::is_same_v<T, SlideAction>) {
          if (const auto refused = target.Slide(action.id, action.value))
            context_.Fail(line.line, *refused);
        } else if constexpr (std::is_same_v<T, WaitAction>) {
          RunEventsFor(action.ms);
        } else if constexpr (std::is_same_v<T, AnswerAction>) {
          context_.answers.push_back({action.answer, line.line});
        } else if constexpr (std::is_same_v<T, FileAction>) {
          context_.files.push_back({action.path, line.line});
        } else if constexpr (std::is_same_v<T, PrintAction>) {
          context_.prints.push_back({action.path, line.line});
        } else if constexpr (std::is_same_v<T, ShotAction>) {
          if (const auto failure = TakeScreenShot(action.path, action.wholeScreen))
            context_.Fail(line.line, *failure);
        } else if constexpr (std::is_same_v<T, DialogBlock>) {
          context_.dialogs.push_back({&action, line.line});
        }
      },
      line.action);
}

// An answer the script queued that no box ever asked for means the session went otherwise
// than the script says; the earliest such line is named.
void ReplaySession::FailOnLeftovers() {
  if (context_.failed()) return;
  int line = 0;
  std::string what;
  const auto consider = [&](int queuedLine, const std::string& description) {
    if (line == 0 || queuedLine < line) {
      line = queuedLine;
      what = description;
    }
  };
  if (!context_.answers.empty())
    consider(context_.answers.front().line,
             "answer " + std::string(AnswerName(context_.answers.front().value)) +
                 " was queued, but no message box asked for it");
  if (!context_.files.empty())
    consider(context_.files.front().line, "a file answer was queued, but no file dialog opened");
  if (!context_.prints.empty())
    consider(context_.prints.front().line, "a print answer was queued, but no print dialog opened");
  if (!context_.dialogs.empty())
    consider(context_.dialogs.front().line,
             "dialog " + context_.dialogs.front().value->id + " was queued, but never opened");
  if (line != 0) context_.Fail(line, what);
}

}  // namespace pendra2::ui::replay
