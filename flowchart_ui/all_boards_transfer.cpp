#include "flowchart_ui/all_boards_transfer.h"

#include <QCoreApplication>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "device/board_choice.h"
#include "device/board_generation.h"
#include "device/each_board.h"
#include "device/link_image_writer.h"
#include "flowchart/recompute.h"
#include "flowchart/transfer.h"
#include "ui_common/all_boards_dialog.h"

namespace pendra2::flowchart_ui {
namespace {

namespace fc = pendra2::flowchart;

// How one board's transfer went; kUnreachable for a board that could not be opened (or had
// gone by the time its turn came).
enum class Went { kSent, kUnreachable, kNoAnswer, kRefused, kFailed };

QString Said(Went went) {
  switch (went) {
    case Went::kSent:
      return QStringLiteral("完了");
    case Went::kUnreachable:
      return QStringLiteral("接続できません");
    case Went::kNoAnswer:
      return QStringLiteral("応答がありません");
    case Went::kRefused:
      return QStringLiteral("古いバージョンのため中止");
    case Went::kFailed:
      break;
  }
  return QStringLiteral("転送に失敗しました");
}

Went FromStep(fc::TransferStep step) {
  switch (step) {
    case fc::TransferStep::kSent:
      return Went::kSent;
    case fc::TransferStep::kNoAnswer:
      return Went::kNoAnswer;
    case fc::TransferStep::kRefused:
      return Went::kRefused;
    default:
      return Went::kFailed;
  }
}

bool Usable(const device::Board& board) {
  const device::BoardLink& link = board.link();
  return board.found() && link.responding && link.writeChannel != device::kNoHandle &&
         link.readChannel != device::kNoHandle;
}

}  // namespace

interaction::UserMessage TransferToAllBoards(QWidget* owner, ui::BoardWorker& worker,
                                             fc::FlowProgram& program) {
  // Too large wins over every board question, as for the transfer button.
  if (program.imageSize > fc::kImageBytes - 1) return fc::kTooLargeMessage;
  // The boards attached now are the ones written; one plugged in meanwhile is left alone.
  const std::vector<device::AttachedBoard> boards = worker.AskAndWait([](device::Board& board) {
    board.FindBoard();
    return device::AttachedBoards(board.boardsSeen());
  });
  if (boards.empty()) return kNoBoardsMessage;

  std::vector<std::string> names;
  for (const auto& b : boards) names.push_back(b.name);
  ui::AllBoardsDialog dialog(owner, names);
  dialog.show();
  QPointer<ui::AllBoardsDialog> shown(&dialog);
  const auto tell = [shown](auto what) {
    QMetaObject::invokeMethod(
        shown, [shown, what] { what(*shown); }, Qt::QueuedConnection);
  };
  const auto source = std::make_shared<const fc::FlowProgram>(program);
  const std::vector<Went> went = worker.AskAndWait([&boards, source, tell](device::Board& board) {
    std::vector<Went> result(boards.size(), Went::kUnreachable);
    device::ForEachBoard(
        board.transport(), boards, board.replyTimeoutMs(), [&](std::size_t n, device::Board& one) {
          if (Usable(one)) {
            // Each board's transfer recomputes a copy of its own.
            auto copy = std::make_unique<fc::FlowProgram>(*source);
            device::BoardGeneration generation(one);
            device::LinkImageWriter writer(one, [tell, n](int block) {
              tell([n, block](ui::AllBoardsDialog& d) { d.SetBlocks(n, block + 1); });
            });
            result[n] = FromStep(fc::Transfer(*copy, generation, writer).step);
          }
          tell([n, w = result[n]](ui::AllBoardsDialog& d) {
            d.SetDone(n, Said(w), w == Went::kSent);
          });
        });
    return result;
  });
  // The rows' last words are drawn before the dialog goes.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  dialog.hide();

  int sent = 0;
  std::string failures;
  bool recomputed = false;
  for (std::size_t n = 0; n < boards.size(); ++n) {
    recomputed = recomputed || went[n] == Went::kSent || went[n] == Went::kFailed;
    if (went[n] == Went::kSent) {
      ++sent;
    } else {
      failures += "\n" + boards[n].name + ": " + Said(went[n]).toStdString();
    }
  }
  // The program as a transfer leaves it, so the image shown and saved is the image sent.
  if (recomputed) fc::Recompute(program);
  const std::string caption = "すべてのボードに転送";
  if (failures.empty()) {
    return {QStringLiteral("%1台すべてのマイコンに転送しました。").arg(sent).toStdString(), caption,
            interaction::PromptIcon::Information};
  }
  return {QStringLiteral("%1台のうち%2台のマイコンに転送しました。\n\n転送できなかったマイコン:")
                  .arg(boards.size())
                  .arg(sent)
                  .toStdString() +
              failures,
          caption, interaction::PromptIcon::Warning};
}

}  // namespace pendra2::flowchart_ui
