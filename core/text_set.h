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
// slots that grows when half full: a few bytes a text beside its view. A
// table of 2^k slots holds fewer than 2^(k-1) texts, so a slot keeps the
// position in its low k bits and the top bits of the text's hash above
// them: a probe that meets another text's slot rarely has to look at the
// text itself.
class TextViewSet {
 public:
  // The position of the text equal to `text`, which is added when there was
  // none, and whether it was added.
  std::pair<std::size_t, bool> insert(TextView text);
  bool contains(TextView text) const;
  const std::deque<TextView>& texts() const { return texts_; }

 private:
  static constexpr std::uint32_t kEmptySlot = 0;
  // The slot that holds `text`, whose hash is `hash`, or the empty slot
  // where it would go.
  std::size_t slotFor(TextView text, std::size_t hash) const;
  // The bits of `hash` kept beside a position in a slot.
  std::uint32_t tagOf(std::size_t hash) const;
  std::uint32_t positionMask() const;
  void grow();

  // A deque, so that growing never holds two copies of a million views.
  std::deque<TextView> texts_;
  // Position + 1 of the text in each slot (its low positionBits_ bits),
  // with the tag of its hash above it.
  std::vector<std::uint32_t> slots_;
  unsigned positionBits_ = 0;
};

}  // namespace korvanel
