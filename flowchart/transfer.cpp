#include "flowchart/transfer.h"

#include "flowchart/recompute.h"

namespace pendra2::flowchart {

TransferResult Transfer(FlowProgram& program, int32_t& transferBusy, GenerationSource& board,
                        interaction::BoardImageWriter& writer) {
  // imageSize keeps the oversize total even when the last recompute refused the steps.
  if (program.imageSize > kImageBytes - 1) return {TransferStep::kTooLarge, kTooLargeMessage};
  const std::optional<uint8_t> generation = board.QueryGeneration();
  if (!generation) return {TransferStep::kNoAnswer, kTransferFailedMessage};
  if (*generation < '3') return {TransferStep::kRefused, kGenerationRefusedMessage};
  Recompute(program);
  transferBusy = 2;
  const bool sent = writer.WriteImage(program.image);
  transferBusy = 0;
  if (!sent) return {TransferStep::kFailed, kTransferFailedMessage};
  return {};
}

}  // namespace pendra2::flowchart
