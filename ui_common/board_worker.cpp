#include "ui_common/board_worker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <thread>

#include "device/board_choice.h"
#include "device/reply_timeout.h"

namespace pendra2::ui {
namespace {

using Clock = BoardWorker::Clock;

// Timed work wakes a little early and naps out the rest, so it starts within tens of
// microseconds of its due time rather than a scheduler tick late.
constexpr auto kEarlyWake = std::chrono::microseconds(1500);
constexpr auto kNap = std::chrono::microseconds(200);

void NapUntil(Clock::time_point due) {
  // Bounded whatever the clock did, so a late tick never holds the board for long.
  const auto until = std::min(due, Clock::now() + 2 * kEarlyWake);
  for (auto now = Clock::now(); now < until; now = Clock::now()) {
    std::this_thread::sleep_for(std::min<Clock::duration>(until - now, kNap));
  }
}

}  // namespace

BoardWorker::BoardWorker(device::Transport& transport, std::optional<int> replyTimeoutMs)
    : transport_(transport), replyTimeoutMs_(replyTimeoutMs) {
  poll_.setSingleShot(true);
  connect(&poll_, &QTimer::timeout, this, &BoardWorker::RequestRefresh);
  thread_.reset(QThread::create([this] { Loop(); }));
  thread_->setObjectName(QStringLiteral("board"));
  thread_->start();
}

BoardWorker::~BoardWorker() {
  poll_.stop();
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    background_.clear();
    tick_ = nullptr;
    // A look at the board may be sitting out a reply wait; the user's requests still go out.
    if (runningAbandonable_) transport_.Interrupt();
  }
  wake_.notify_all();
  thread_->wait();
  transport_.Resume();
}

void BoardWorker::Send(std::function<void(device::Board&)> job) {
  PostUser(std::move(job), {});
}

void BoardWorker::ChooseBoard(std::string path) {
  const bool asks = refreshAsksAutoMode_;
  PostUser(
      [this, path = std::move(path), asks](device::Board& board) {
        board.ChooseBoard(path);
        Refresh(board, asks);
      },
      {});
}

void BoardWorker::TakeBoards(const device::Board& board, BoardStatus& status) {
  status.boards.clear();
  for (const device::AttachedBoard& a : device::AttachedBoards(board.boardsSeen())) {
    status.boards.push_back({a.number, a.name, a.interface.path});
  }
  status.chosenPath = board.chosenPath();
  status.foundPath = board.found() ? board.link().devicePath : std::string();
}

void BoardWorker::PostUser(std::function<void(device::Board&)> run, std::function<void()> deliver) {
  ++userPending_;
  Enqueue(Job{std::move(run), std::move(deliver), false, true, false});
}

void BoardWorker::Discover() {
  Enqueue(Job{[](device::Board& board) { board.FindBoard(); }, [this] { discovered_ = true; },
              false, false, true});
}

void BoardWorker::CloseChannels() {
  StopIdlePoll();
  {
    const std::lock_guard lock(mutex_);
    background_.clear();
    if (runningAbandonable_) transport_.Interrupt();
  }
  Send([](device::Board& board) { board.CloseChannels(); });
}

void BoardWorker::Enqueue(Job job) {
  {
    const std::lock_guard lock(mutex_);
    if (job.background) {
      background_.push_back(std::move(job));
    } else {
      user_.push_back(std::move(job));
      // The user goes first: a background query waiting for its reply gives way at once.
      if (runningBackground_ && interruptible_) transport_.Interrupt();
    }
  }
  wake_.notify_all();
}

void BoardWorker::RequestRefresh() {
  if (refreshPending_) return;
  refreshPending_ = true;
  const bool asks = refreshAsksAutoMode_;
  Enqueue(Job{[this, asks](device::Board& board) { Refresh(board, asks); }, {}, true, false, true});
}

void BoardWorker::StartIdlePoll(int absentMs, int presentMs) {
  absentPollMs_ = absentMs;
  presentPollMs_ = presentMs;
  RestartPoll();
}

void BoardWorker::RestartPoll() {
  if (absentPollMs_ <= 0) return;
  poll_.start(status_.present() ? presentPollMs_ : absentPollMs_);
}

void BoardWorker::StartTicker(Clock::time_point due, Tick tick) {
  {
    const std::lock_guard lock(mutex_);
    tick_ = std::move(tick);
    due_ = due;
    ++tickerGeneration_;
  }
  wake_.notify_all();
}

void BoardWorker::StopTicker(std::function<void(device::Board&)> then) {
  {
    const std::lock_guard lock(mutex_);
    tick_ = nullptr;
    ++tickerGeneration_;
  }
  if (then) Send(std::move(then));
}

void BoardWorker::WaitIdle(int limitMs) {
  const QDeadlineTimer deadline(limitMs);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    bool idle = false;
    {
      const std::lock_guard lock(mutex_);
      idle = user_.empty() && background_.empty() && !running_;
    }
    if (idle && userPending_ == 0 && !refreshPending_) {
      QCoreApplication::processEvents();
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void BoardWorker::Loop() {
  // The board lives and dies on this thread, and with it every socket the transport opens.
  const auto board = replyTimeoutMs_ ? std::make_unique<device::Board>(transport_, *replyTimeoutMs_)
                                     : std::make_unique<device::Board>(transport_);
  std::unique_lock lock(mutex_);
  for (;;) {
    if (tick_ && Clock::now() + kEarlyWake >= due_) {
      Tick tick = tick_;
      const uint64_t generation = tickerGeneration_;
      const Clock::time_point due = due_;
      running_ = true;
      lock.unlock();
      NapUntil(due);
      const std::optional<Clock::time_point> next = tick(*board);
      lock.lock();
      running_ = false;
      if (generation == tickerGeneration_) {
        if (next) {
          due_ = *next;
        } else {
          tick_ = nullptr;
        }
      }
      continue;
    }
    std::deque<Job>* queue = !user_.empty()                         ? &user_
                             : (!background_.empty() && !stopping_) ? &background_
                                                                    : nullptr;
    if (queue != nullptr) {
      Job job = std::move(queue->front());
      queue->pop_front();
      running_ = true;
      runningBackground_ = job.background;
      runningAbandonable_ = job.abandonable;
      lock.unlock();
      RunJob(job, *board);
      lock.lock();
      running_ = false;
      runningBackground_ = false;
      runningAbandonable_ = false;
      interruptible_ = false;
      if (!stopping_) transport_.Resume();
      continue;
    }
    if (stopping_) break;
    if (tick_) {
      wake_.wait_until(lock, due_ - kEarlyWake);
    } else {
      wake_.wait(lock);
    }
  }
  lock.unlock();
  board->CloseChannels();
}

void BoardWorker::RunJob(Job& job, device::Board& board) {
  const uint64_t turnsBefore = board.turns();
  job.run(board);
  BoardStatus status;
  {
    const std::lock_guard lock(mutex_);
    if (!job.background) {
      workerStatus_.found = board.found();
      TakeBoards(board, workerStatus_);
      // A request that went out and came back, or one that did not: the board's buttons follow.
      if (board.turns() != turnsBefore) {
        const device::LinkError& error = board.lastError();
        workerStatus_.answering = error.ok();
        workerStatus_.lastFailure = error.reason;
        const device::Report& request = board.request();
        if (error.ok() && request[1] == device::letter::kAutoMode) {
          const auto arg = static_cast<device::AutoModeArg>(request[2]);
          workerStatus_.autoModeOn = arg == device::AutoModeArg::Query
                                         ? board.AutoModeIsOn()
                                         : arg == device::AutoModeArg::On;
        }
      }
    }
    status = workerStatus_;
  }
  Deliver(status, job);
}

void BoardWorker::Refresh(device::Board& board, bool asksAutoMode) {
  BoardStatus status;
  {
    const std::lock_guard lock(mutex_);
    status = workerStatus_;
  }
  const bool wasAnswering = status.found && status.answering;
  const int found = board.FindBoard();
  status.listUnavailable = found == device::kInterfaceListUnavailable;
  status.found = board.found();
  TakeBoards(board, status);
  if (!status.found) {
    status.answering = true;
    status.autoModeOn.reset();
    status.lastFailure = device::LinkFailure::kNone;
  } else if (!board.link().responding) {
    status.answering = false;
    status.lastFailure = device::LinkFailure::kNoAnswer;
  } else if (asksAutoMode || !wasAnswering) {
    // A board that failed to answer is asked again, so that one that answers again shows.
    bool askNow = false;
    {
      const std::lock_guard lock(mutex_);
      askNow = user_.empty();
      interruptible_ = askNow;
    }
    const bool answered = askNow && board.AutoMode(device::AutoModeArg::Query);
    bool gaveWay = !askNow;
    {
      const std::lock_guard lock(mutex_);
      interruptible_ = false;
      gaveWay = gaveWay || transport_.interrupted();
    }
    // Given way to the user: what the board would have said is not known.
    if (!gaveWay) {
      status.answering = answered;
      status.lastFailure = answered ? device::LinkFailure::kNone : board.lastError().reason;
      if (answered) status.autoModeOn = board.AutoModeIsOn();
    }
  }
  const std::lock_guard lock(mutex_);
  workerStatus_ = status;
}

void BoardWorker::Deliver(const BoardStatus& status, Job& job) {
  QMetaObject::invokeMethod(
      this,
      [this, status, background = job.background, counted = job.counted,
       deliver = std::move(job.deliver)] {
        if (background) refreshPending_ = false;
        if (counted) --userPending_;
        SetStatus(status);
        if (deliver) deliver();
        if (background) RestartPoll();
      },
      Qt::QueuedConnection);
}

void BoardWorker::SetStatus(const BoardStatus& status) {
  if (status == status_) return;
  status_ = status;
  emit StatusChanged(status_);
}

}  // namespace pendra2::ui
