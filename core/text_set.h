// A set of texts that it does not own, for the passes that look for names
// and pins met before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "core/text.h"

namespace korvanel {

// Texts held as views, which must outlive the set, in the order in which
// they were first added. Linear probing over a power-of-two table of 32-bit
// positions that grows when half full: a few bytes a text beside its view.
class TextViewSet {
 public:
  // The position of the text equal to `text`, which is added when there was
  // none, and whether it was added.
  std::pair<std::size_t, bool> insert(TextView text);
  bool contains(TextView text) const;
  const std::deque<TextView>& texts() const { return texts_; }

 private:
  static constexpr std::uint32_t kEmptySlot = 0;
  // The slot that holds `text`, or the empty slot where it would go.
  std::size_t slotFor(TextView text) const;
  void grow();

  // A deque, so that growing never holds two copies of a million views.
  std::deque<TextView> texts_;
  // Position + 1 of the text in each slot.
  std::vector<std::uint32_t> slots_;
};

}  // namespace korvanel
