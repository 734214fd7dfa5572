#include "flowchart/transfer.h"

#include "flowchart/recompute.h"

namespace pendra2::flowchart {

TransferResult Transfer(FlowProgram& program, GenerationSource& board,
                        interaction::BoardImageWriter& writer) {
  // imageSize keeps the oversize total even when the last recompute refused the steps.
  if (program.imageSize > kImageBytes - 1) return {TransferStep::kTooLarge, kTooLargeMessage};
  const std::optional<uint8_t> generation = board.QueryGeneration();
  if (!generation) return {TransferStep::kNoAnswer, kTransferFailedMessage};
  if (!interaction::GenerationAcceptsProgram(*generation)) {
    return {TransferStep::kRefused, kGenerationRefusedMessage};
  }
  Recompute(program);
  const bool sent = writer.WriteImage(program.image);
  if (!sent) return {TransferStep::kFailed, kTransferFailedMessage};
  return {};
}

}  // namespace pendra2::flowchart
