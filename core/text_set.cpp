#include "core/text_set.h"

#include <functional>
#include <limits>
#include <new>

namespace korvanel {

std::size_t TextViewSet::slotFor(TextView text) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = std::hash<TextView>{}(text) & mask;
  while (slots_[slot] != kEmptySlot && texts_[slots_[slot] - 1] != text) slot = (slot + 1) & mask;
  return slot;
}

void TextViewSet::grow() {
  slots_.assign(slots_.empty() ? 16 : 2 * slots_.size(), kEmptySlot);
  for (std::size_t position = 0; position < texts_.size(); ++position) {
    slots_[slotFor(texts_[position])] = static_cast<std::uint32_t>(position + 1);
  }
}

std::pair<std::size_t, bool> TextViewSet::insert(TextView text) {
  if (2 * (texts_.size() + 1) > slots_.size()) grow();
  const std::size_t slot = slotFor(text);
  if (slots_[slot] != kEmptySlot) return {slots_[slot] - 1, false};
  // Input is at most 1 GiB, so never this many texts; memory runs out first.
  if (texts_.size() + 1 >= std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
  texts_.push_back(text);
  slots_[slot] = static_cast<std::uint32_t>(texts_.size());
  return {texts_.size() - 1, true};
}

bool TextViewSet::contains(TextView text) const { return !slots_.empty() && slots_[slotFor(text)] != kEmptySlot; }

}  // namespace korvanel
