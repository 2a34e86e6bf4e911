#include "core/capacity.h"

#include <string>

#include "core/errors.h"

namespace korvanel {
namespace {

thread_local bool liftedForThisRun = false;

}  // namespace

bool capacityLimitsLifted() { return liftedForThisRun; }

CapacityLimitsLifted::CapacityLimitsLifted(bool lift) : previous_(liftedForThisRun) {
  if (lift) liftedForThisRun = true;
}

CapacityLimitsLifted::~CapacityLimitsLifted() { liftedForThisRun = previous_; }

void ensureRoomInList(std::size_t used, std::size_t capacity, std::string_view what) {
  if (used >= capacity && !liftedForThisRun) {
    throw CapacityError("more than " + std::to_string(capacity) + " " + std::string(what));
  }
}

}  // namespace korvanel
