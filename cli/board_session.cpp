#include "cli/board_session.h"

#include <cstdio>
#include <iostream>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "device/transport_factory.h"

namespace pendra2::cli {

int ConnectBoard(BoardSession& session, Streams io) {
  return ConnectBoard(session, device::MakeTransport(), io);
}

int ConnectBoard(BoardSession& session, std::unique_ptr<device::Transport> transport, Streams io) {
  session.board.reset();
  session.transport = std::move(transport);
  session.board = std::make_unique<device::Board>(*session.transport);
  const int result = session.board->FindBoard();
  if (result == device::kBoardFound) return kDone;
  if (result == device::kInterfaceListUnavailable) {
    io.err << "pendra2-cli: " << device::kInterfaceListCaption << ": " << device::kInterfaceListText
           << " (the list of HID interfaces cannot be read)\n";
  } else {
    io.err << "pendra2-cli: no Pendra2 board found\n";
  }
  return kNoBoard;
}

int WriteBoardImage(device::Board& board, std::span<const uint8_t, device::kImageBytes> image,
                    Streams io) {
  // The progress line only makes sense to a person watching a terminal.
#if defined(_WIN32)
  const bool terminal = &io.err == &std::cerr && _isatty(_fileno(stderr)) != 0;
#else
  const bool terminal = &io.err == &std::cerr && isatty(fileno(stderr)) == 1;
#endif
  const bool ok = board.WriteImage(image, [&](int block) {
    if (terminal) io.err << "\rwriting block " << block + 1 << "/8" << std::flush;
  });
  if (terminal) io.err << "\n";
  if (!ok) {
    io.err << "pendra2-cli: the transfer failed: the board did not answer; "
              "what the board holds now may be incomplete\n";
    return kBoardFailed;
  }
  return kDone;
}

}  // namespace pendra2::cli
