#include "device/link_error.h"

namespace pendra2::device {

std::string Describe(const LinkError& error) {
  std::string what;
  switch (error.reason) {
    case LinkFailure::kNone:
      return "no failure";
    case LinkFailure::kNoBoard:
      what = "no board can be reached";
      break;
    case LinkFailure::kWriteFailed:
      what = "the request could not be sent to the board";
      break;
    case LinkFailure::kNoAnswer:
      what = "the board did not answer";
      break;
    case LinkFailure::kReadFailed:
      what = "the board's reply could not be read";
      break;
    case LinkFailure::kBusy:
      what = "another program kept the board busy for too long";
      break;
  }
  if (!error.detail.empty()) what += " (" + error.detail + ")";
  return what;
}

}  // namespace pendra2::device
