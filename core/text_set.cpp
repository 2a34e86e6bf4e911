#include "core/text_set.h"

#include <bit>
#include <functional>
#include <limits>
#include <new>

namespace korvanel {

namespace {

std::size_t hashOf(TextView text) { return std::hash<TextView>{}(text); }

}  // namespace

std::uint32_t TextViewSet::tagOf(std::size_t hash) const {
  if (positionBits_ >= 32) return 0;
  // The top bits of the hash: the low ones choose the slot.
  return static_cast<std::uint32_t>(hash >> (std::numeric_limits<std::size_t>::digits - (32 - positionBits_)))
         << positionBits_;
}

std::uint32_t TextViewSet::positionMask() const {
  return positionBits_ >= 32 ? ~0U : (1U << positionBits_) - 1;
}

std::size_t TextViewSet::slotFor(TextView text, std::size_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const std::uint32_t positionMask = this->positionMask();
  const std::uint32_t tag = tagOf(hash);
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = slots_[slot];
    if (entry == kEmptySlot) return slot;
    if ((entry & ~positionMask) == tag && texts_[(entry & positionMask) - 1] == text) return slot;
  }
}

void TextViewSet::grow() {
  slots_.assign(slots_.empty() ? 16 : 2 * slots_.size(), kEmptySlot);
  positionBits_ = static_cast<unsigned>(std::countr_zero(slots_.size()));
  for (std::size_t position = 0; position < texts_.size(); ++position) {
    const std::size_t hash = hashOf(texts_[position]);
    slots_[slotFor(texts_[position], hash)] = tagOf(hash) | static_cast<std::uint32_t>(position + 1);
  }
}

std::pair<std::size_t, bool> TextViewSet::insert(TextView text) {
  if (2 * (texts_.size() + 1) > slots_.size()) grow();
  const std::size_t hash = hashOf(text);
  const std::size_t slot = slotFor(text, hash);
  if (slots_[slot] != kEmptySlot) return {(slots_[slot] & positionMask()) - 1, false};
  // Input is at most 1 GiB, so never this many texts; memory runs out first.
  if (texts_.size() + 1 >= std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
  texts_.push_back(text);
  slots_[slot] = tagOf(hash) | static_cast<std::uint32_t>(texts_.size());
  return {texts_.size() - 1, true};
}

bool TextViewSet::contains(TextView text) const {
  return !slots_.empty() && slots_[slotFor(text, hashOf(text))] != kEmptySlot;
}

}  // namespace korvanel
