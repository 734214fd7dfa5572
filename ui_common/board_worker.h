#pragma once
// The board on a thread of its own. Every exchange a GUI program has with the board runs
// there, so no window ever waits for a reply: a window asks, goes on drawing, and is told
// the answer on its own thread. What the user asked for runs in the order asked, each
// operation whole (a transfer's requests are never split by anything else); looks at the
// board in the background (a repaint's refresh, the idle poll) give way to the user, and at
// most one of them is ever outstanding.
//
// The board link and the transport belong to the worker's thread from construction on; the
// windows only ever see the last BoardStatus it reported.

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "device/board.h"
#include "device/transport.h"

class QThread;

namespace pendra2::ui {

// A board attached at the last look, as a window lists it.
struct BoardEntry {
  int number = 0;
  std::string name;  // short, and distinct among the boards listed with it
  std::string path;
  friend bool operator==(const BoardEntry&, const BoardEntry&) = default;
};

// What a window knows of the board.
struct BoardStatus {
  bool listUnavailable = false;  // the platform could not list the HID interfaces
  bool found = false;            // the last discovery found a board
  // It answered the last exchange it was asked for (or has not been asked yet); false once
  // it failed to answer, until it answers again.
  bool answering = true;
  std::optional<bool> autoModeOn;  // what its last auto-mode reply said
  // Why its last exchange failed, when it did.
  device::LinkFailure lastFailure = device::LinkFailure::kNone;
  // Every board attached at the last look, in the platform's order.
  std::vector<BoardEntry> boards;
  // The board the user chose (by path), for as long as the program runs; empty: the first
  // one found, as with a single board.
  std::string chosenPath;
  // The board the buttons act on, when one was found.
  std::string foundPath;

  // The board buttons are shown for a board that is there and answers.
  bool present() const { return found && answering; }
  friend bool operator==(const BoardStatus&, const BoardStatus&) = default;
};

// The idle poll of the editors: a board that is plugged in or answers again shows within a
// second; one that is there is looked at now and then, to notice that it went.
inline constexpr int kIdlePollAbsentMs = 500;
inline constexpr int kIdlePollPresentMs = 2000;

class BoardWorker final : public QObject {
  Q_OBJECT

 public:
  using Clock = std::chrono::steady_clock;
  // Timed work on the worker's thread (a note-by-note playback): called when due, returns
  // when it is due next, or nothing to end.
  using Tick = std::function<std::optional<Clock::time_point>(device::Board&)>;

  // `replyTimeoutMs` empty: the program's setting (PENDRA2_REPLY_TIMEOUT_MS or 2 s).
  explicit BoardWorker(device::Transport& transport,
                       std::optional<int> replyTimeoutMs = std::nullopt);
  // Lets the user's last requests go out, closes the board's channels and ends the thread.
  ~BoardWorker() override;
  BoardWorker(const BoardWorker&) = delete;
  BoardWorker& operator=(const BoardWorker&) = delete;

  // A user's exchange: `job` runs on the worker after everything the user asked before, then
  // `done` runs on this thread with what it returned, unless `context` is gone by then.
  template <typename Job, typename Done>
  void Ask(QObject* context, Job job, Done done) {
    using Result = std::invoke_result_t<Job&, device::Board&>;
    auto result = std::make_shared<std::optional<Result>>();
    const QPointer<QObject> alive(context);
    PostUser([job = std::move(job), result](device::Board& board) mutable { *result = job(board); },
             [result, done = std::move(done), alive, hasContext = context != nullptr]() mutable {
               if (!hasContext || alive) done(std::move(**result));
             });
  }
  // A user's exchange whose result nobody needs (a note, a run).
  void Send(std::function<void(device::Board&)> job);
  // From now on the board buttons act on the board at `path` alone (empty: the first one
  // found again); a fresh look follows at once. A chosen board that goes away is no board
  // until it comes back or another is chosen.
  void ChooseBoard(std::string path);

  // Whether the platform can list the interfaces at all; known at once.
  bool ListAvailable() const { return transport_.ListAvailable(); }
  // The program's first look for the board: it runs before anything the user asks, but
  // nothing waits for it (a stuck board takes a while to be found out). Until it is told,
  // the windows do not know whether a board is there.
  void Discover();
  bool discovered() const { return discovered_; }
  // The program ends: background looks give way at once, and the channels close after what
  // the user asked for.
  void CloseChannels();

  // Runs a user's exchange and waits for it in a local event loop: windows repaint and timers
  // run meanwhile; the caller shows a modal dialog when no input may come in. For the cores'
  // contracts that give their answer at once (a transfer's generation question and write).
  template <typename Job>
  auto AskAndWait(Job job) -> std::invoke_result_t<Job&, device::Board&> {
    using Result = std::invoke_result_t<Job&, device::Board&>;
    std::optional<Result> answer;
    QEventLoop loop;
    // Told through the event loop, so never before exec() runs.
    Ask(nullptr, std::move(job), [&](Result r) {
      answer = std::move(r);
      loop.quit();
    });
    loop.exec();
    return std::move(*answer);
  }

  // A look at the board in the background: discovery and, when asked for (Stepcraft shows
  // the auto mode) or when the board last failed to answer, an auto-mode query. At most one
  // is outstanding; a request while one is outstanding is already served by it.
  void RequestRefresh();
  void SetRefreshAsksAutoMode(bool asks) { refreshAsksAutoMode_ = asks; }
  // Looks again by itself while nothing else does: every `absentMs` while no board answers
  // (so one that is plugged in or answers again shows within a second), every `presentMs`
  // while one does. Not started by default.
  void StartIdlePoll(int absentMs, int presentMs);
  void StopIdlePoll() { poll_.stop(); }

  // Timed work on the worker's thread, first due at `due`; replaces any running one.
  void StartTicker(Clock::time_point due, Tick tick);
  // Ends the timed work, then runs `then` on the worker (in order with the user's requests).
  void StopTicker(std::function<void(device::Board&)> then = {});

  const BoardStatus& status() const { return status_; }
  // User exchanges asked for and not yet told: a replayed session waits for them.
  bool busy() const { return userPending_ > 0; }
  // For tests: processes events until everything asked so far, refreshes too, has run and
  // been told (at most `limitMs`).
  void WaitIdle(int limitMs = 10000);

 signals:
  void StatusChanged(const pendra2::ui::BoardStatus& status);

 private:
  struct Job {
    std::function<void(device::Board&)> run;
    std::function<void()> deliver;  // on the GUI thread, after the status
    bool background = false;
    bool counted = true;  // a user's request that busy() reports
    // A look at the board the program may cut short when it ends (its result is not needed).
    bool abandonable = false;
  };

  void PostUser(std::function<void(device::Board&)> run, std::function<void()> deliver);
  void Enqueue(Job job);
  void Loop();
  void RunJob(Job& job, device::Board& board);
  void Refresh(device::Board& board, bool asksAutoMode);
  // The boards and the choice as the board link last saw them, into `status`.
  static void TakeBoards(const device::Board& board, BoardStatus& status);
  void Deliver(const BoardStatus& status, Job& job);
  void SetStatus(const BoardStatus& status);
  void RestartPoll();

  device::Transport& transport_;
  const std::optional<int> replyTimeoutMs_;
  std::unique_ptr<QThread> thread_;

  // Shared with the worker's thread, under mutex_.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> user_;
  std::deque<Job> background_;
  bool stopping_ = false;
  bool runningBackground_ = false;
  bool runningAbandonable_ = false;
  bool interruptible_ = false;  // the running background job waits for a reply
  bool running_ = false;
  Tick tick_;
  Clock::time_point due_{};
  uint64_t tickerGeneration_ = 0;
  BoardStatus workerStatus_;  // the status as the worker's thread knows it

  // The GUI thread's side.
  BoardStatus status_;
  int userPending_ = 0;
  bool refreshPending_ = false;
  bool discovered_ = false;
  bool refreshAsksAutoMode_ = false;
  QTimer poll_;
  int absentPollMs_ = 0;
  int presentPollMs_ = 0;
};

}  // namespace pendra2::ui
