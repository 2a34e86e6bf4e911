#include "core/format_table.h"

#include <algorithm>

namespace korvanel {

const FormatEntry* FormatTable::find(TextView name) const {
  const auto found =
      std::find_if(entries_.begin(), entries_.end(), [&](const FormatEntry& entry) { return entry.name == name; });
  return found == entries_.end() ? nullptr : &*found;
}

Reader FormatTable::findReader(TextView name) const {
  const FormatEntry* entry = find(name);
  return entry ? entry->reader : nullptr;
}

Writer FormatTable::findWriter(TextView name) const {
  const FormatEntry* entry = find(name);
  return entry ? entry->writer : nullptr;
}

const FormatLimits* FormatTable::findWriterLimits(TextView name) const {
  const FormatEntry* entry = find(name);
  return entry ? entry->writerLimits : nullptr;
}

bool FormatTable::hasCompanionPartsFile(TextView name) const {
  const FormatEntry* entry = find(name);
  return entry != nullptr && entry->hasCompanionPartsFile;
}

}  // namespace korvanel
