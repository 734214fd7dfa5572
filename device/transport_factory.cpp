#include "device/transport_factory.h"

#include <cstdlib>

#include "device/hidapi_transport.h"
#include "device/virtual_transport.h"

namespace pendra2::device {

std::unique_ptr<Transport> MakeTransport() {
  if (const char* names = std::getenv("PENDRA2_VIRTUAL_BOARDS")) {
    return std::make_unique<VirtualTransport>(VirtualTransport::ParseNames(names));
  }
  return std::make_unique<HidapiTransport>();
}

}  // namespace pendra2::device
