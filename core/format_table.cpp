#include "core/format_table.h"

#include <algorithm>
#include <set>

namespace korvanel {

const FormatEntry* FormatTable::find(TextView name) const {
  const auto found =
      std::find_if(entries_.begin(), entries_.end(), [&](const FormatEntry& entry) { return entry.name == name; });
  return found == entries_.end() ? nullptr : &*found;
}

std::vector<Text> FormatTable::firstNamePerReader() const {
  std::vector<Text> names;
  std::set<Reader> seen;
  for (const Text& name : inputNames_) {
    const Reader reader = findReader(name);
    if (reader != nullptr && seen.insert(reader).second) names.push_back(name);
  }
  return names;
}

std::vector<Text> FormatTable::firstNamePerWriter() const {
  std::vector<Text> names;
  std::set<Writer> seen;
  for (const Text& name : outputNames_) {
    const Writer writer = findWriter(name);
    if (writer != nullptr && seen.insert(writer).second) names.push_back(name);
  }
  return names;
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
