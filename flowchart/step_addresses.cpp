#include "flowchart/step_addresses.h"

#include <algorithm>

namespace pendra2::flowchart {
namespace {

bool InImage(int address) {
  return address >= 0 && address < kImageBytes;
}

}  // namespace

StepAddresses MapStepAddresses(const FlowProgram& program) {
  StepAddresses map;
  map.owner.fill(-1);
  map.first.fill(-1);
  // A damaged file may claim any count; only the table's slots exist.
  const int count = std::clamp<int>(program.count, 0, kStepSlots);
  for (int i = 1; i < count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const int start = program.endAddress[at - 1];
    const bool end = i == count - 1;
    if ((!end && program.steps[at].size <= 0) || !InImage(start)) continue;
    const int stop = end ? start + 1 : std::max(program.endAddress[at], start + 1);
    map.first[at] = static_cast<int16_t>(start);
    if (!end) map.traced[static_cast<std::size_t>(start)] = static_cast<int16_t>(i);
    for (int a = start; a < stop && InImage(a); ++a) {
      map.owner[static_cast<std::size_t>(a)] = static_cast<int16_t>(i);
    }
  }
  return map;
}

std::bitset<kImageBytes> BreakpointAddresses(const StepAddresses& map,
                                             const std::bitset<kStepSlots>& marked) {
  std::bitset<kImageBytes> at;
  for (std::size_t i = 0; i < map.first.size(); ++i) {
    if (marked[i] && map.first[i] >= 0) at[static_cast<std::size_t>(map.first[i])] = true;
  }
  return at;
}

}  // namespace pendra2::flowchart
