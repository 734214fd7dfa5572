#pragma once
// A libsmf file owned as a unique_ptr. smf_delete alone takes time quadratic in a track's
// events (each event is searched for in its track's array as it goes): a large file would
// keep the user waiting for seconds after its last use. The handle takes the events out of
// their tracks first, then lets smf_delete free the rest.

// smf.h includes glib.h inside its extern "C" block, where glib's C++ templates may not
// stand: glib comes first, so that its include guard leaves it out there.
#include <glib.h>
#include <smf.h>

#include <memory>

namespace pendra2::melody::exchange {

struct SmfRelease {
  void operator()(smf_t* smf) const;
};

using SmfHandle = std::unique_ptr<smf_t, SmfRelease>;

}  // namespace pendra2::melody::exchange
