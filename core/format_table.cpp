#include "core/format_table.h"

#include <algorithm>
#include <set>

namespace korvanel {

const FormatEntry* FormatTable::find(TextView name) const {
  const auto found =
      std::find_if(entries_.begin(), entries_.end(), [&](const FormatEntry& entry) { return entry.name == name; });
  return found == entries_.end() ? nullptr : &*found;
}

namespace {

// The first of `names` that each module found by `findModule` serves.
template <typename FindModule>
std::vector<Text> firstNamePerModule(const std::vector<Text>& names, FindModule&& findModule) {
  std::vector<Text> firstNames;
  std::set<decltype(findModule(names.front()))> seen;
  for (const Text& name : names) {
    const auto module = findModule(name);
    if (module != nullptr && seen.insert(module).second) firstNames.push_back(name);
  }
  return firstNames;
}

}  // namespace

std::vector<Text> FormatTable::firstNamePerReader() const {
  return firstNamePerModule(inputNames_, [this](const Text& name) { return findReader(name); });
}

std::vector<Text> FormatTable::firstNamePerWriter() const {
  return firstNamePerModule(outputNames_, [this](const Text& name) { return findWriter(name); });
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
