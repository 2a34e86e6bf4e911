// The fixed tables of a run. By default every list has the bound that the
// program has always had (a net record holds elements 0 to 20000, the sort
// 20,001 nets, the part check 1,001 references ...), and passing it is a
// capacity failure. A run may lift the bounds for boards beyond them: then
// only memory bounds the tables, and a net record holds up to ten million
// pins, so that even a corrupt pin count ends in a clear failure.
#pragma once

#include <cstddef>
#include <string_view>

namespace korvanel {

// Whether the run in progress on this thread has lifted the bounds.
bool capacityLimitsLifted();

// Lifts the bounds for as long as it lives (when `lift` is true).
class CapacityLimitsLifted {
 public:
  explicit CapacityLimitsLifted(bool lift);
  ~CapacityLimitsLifted();
  CapacityLimitsLifted(const CapacityLimitsLifted&) = delete;
  CapacityLimitsLifted& operator=(const CapacityLimitsLifted&) = delete;

 private:
  bool previous_;
};

// The last index of a net record when the bounds are lifted.
inline constexpr std::size_t kLiftedRecordLastIndex = 10'000'000;

// Throws CapacityError when a list of `capacity` places already holds `used`
// entries and another one is to be added, unless the bounds are lifted.
void ensureRoomInList(std::size_t used, std::size_t capacity, std::string_view what);

}  // namespace korvanel
