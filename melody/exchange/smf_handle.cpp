#include "melody/exchange/smf_handle.h"

namespace pendra2::melody::exchange {

void SmfRelease::operator()(smf_t* smf) const {
  if (smf == nullptr) return;
  for (guint t = 0; smf->tracks_array != nullptr && t < smf->tracks_array->len; ++t) {
    auto* track = static_cast<smf_track_t*>(g_ptr_array_index(smf->tracks_array, t));
    GPtrArray* events = track->events_array;
    if (events == nullptr) continue;
    for (guint e = 0; e < events->len; ++e) {
      auto* event = static_cast<smf_event_t*>(g_ptr_array_index(events, e));
      // Detached, it is freed without being looked for in the track.
      event->track = nullptr;
      smf_event_delete(event);
    }
    g_ptr_array_set_size(events, 0);
    track->number_of_events = 0;
    track->next_event_number = -1;
  }
  smf_delete(smf);
}

}  // namespace pendra2::melody::exchange
