#pragma once

#include <memory>

#include "device/transport.h"

namespace pendra2::device {

// The virtual boards named in PENDRA2_VIRTUAL_BOARDS when it is set, else the real HID
// interfaces. One per process, made at start.
std::unique_ptr<Transport> MakeTransport();

}  // namespace pendra2::device
