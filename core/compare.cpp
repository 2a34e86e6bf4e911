#include "core/compare.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <unordered_map>

#include "core/context.h"
#include "core/errors.h"
#include "core/interruption.h"
#include "core/records.h"

namespace korvanel {
namespace {

// ---------------------------------------------------------------------------
// Reading

// A directory of one read's own for its intermediate files, removed when the
// read ends (and on interruption).
class PrivateWorkingDirectory {
 public:
  PrivateWorkingDirectory() {
    static std::mt19937_64 generator{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0;; ++attempt) {
      path_ = base / ("korvanel-compare-" + std::to_string(generator() % 1000000000ULL));
      std::error_code error;
      if (std::filesystem::create_directory(path_, error)) break;
      if (error || attempt == 100) {
        throw FileError(base.string() + ": cannot make a private working directory: " + error.message());
      }
    }
    guard_.emplace(path_);
  }
  ~PrivateWorkingDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  PrivateWorkingDirectory(const PrivateWorkingDirectory&) = delete;
  PrivateWorkingDirectory& operator=(const PrivateWorkingDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::optional<WorkingDirectoryGuard> guard_;
};

// ---------------------------------------------------------------------------
// Matching

// A pin as compared (its key) and as the file spells it (in the netlist
// compared, which outlives the comparison).
struct SidePin {
  Text key;
  const Text* spelling;
};

// One net of one side: the nets of one name joined, the pins sorted by key
// without repeats.
struct SideNet {
  const Text* name;
  Text nameKey;
  std::vector<SidePin> pins;
  // The index of the matched net of the other side.
  std::optional<std::size_t> partner;
};

using KeyOf = std::function<Text(TextView)>;

// The nets of a netlist, those of one name joined into the first of them. A
// net without a name stays a net of its own.
std::vector<SideNet> sideNets(const Netlist& netlist, const KeyOf& keyOf) {
  std::vector<SideNet> nets;
  // Never moved once made, so that the map's views stay valid.
  nets.reserve(netlist.nets.size());
  std::unordered_map<TextView, std::size_t> netOfName;
  netOfName.reserve(netlist.nets.size());
  for (const NetlistNet& net : netlist.nets) {
    Text nameKey = keyOf(net.name);
    std::size_t index = nets.size();
    const auto named = net.name.empty() ? netOfName.end() : netOfName.find(nameKey);
    if (named != netOfName.end()) {
      index = named->second;
    } else {
      nets.push_back(SideNet{&net.name, std::move(nameKey), {}, std::nullopt});
      if (!net.name.empty()) netOfName.emplace(nets.back().nameKey, index);
    }
    for (const Text& pin : net.pins) nets[index].pins.push_back(SidePin{keyOf(pin), &pin});
  }
  // A pin listed twice in a net is one connection; its first spelling stays.
  for (SideNet& net : nets) {
    std::stable_sort(net.pins.begin(), net.pins.end(),
                     [](const SidePin& first, const SidePin& second) { return first.key < second.key; });
    const auto repeated =
        std::unique(net.pins.begin(), net.pins.end(),
                    [](const SidePin& first, const SidePin& second) { return first.key == second.key; });
    net.pins.erase(repeated, net.pins.end());
  }
  return nets;
}

// The net of each pin (the first net that holds it), keyed by views of the
// pins' keys.
using NetOfPin = std::unordered_map<TextView, std::size_t>;

NetOfPin netOfEachPin(const std::vector<SideNet>& nets) {
  NetOfPin netOfPin;
  std::size_t pins = 0;
  for (const SideNet& net : nets) pins += net.pins.size();
  netOfPin.reserve(pins);
  for (std::size_t index = 0; index < nets.size(); ++index) {
    for (const SidePin& pin : nets[index].pins) netOfPin.emplace(pin.key, index);
  }
  return netOfPin;
}

std::size_t pinSetHash(const SideNet& net) {
  std::size_t hash = net.pins.size();
  for (const SidePin& pin : net.pins) hash = hash * 1000003u ^ std::hash<TextView>{}(pin.key);
  return hash;
}

bool samePins(const SideNet& first, const SideNet& second) {
  return std::equal(first.pins.begin(), first.pins.end(), second.pins.begin(), second.pins.end(),
                    [](const SidePin& one, const SidePin& other) { return one.key == other.key; });
}

void matchNets(std::vector<SideNet>& netsA, std::size_t a, std::vector<SideNet>& netsB, std::size_t b) {
  netsA[a].partner = b;
  netsB[b].partner = a;
}

// Nets of the same pins are one net, whatever their names; among several
// candidates the one of the same name is taken first.
void matchByPins(std::vector<SideNet>& netsA, std::vector<SideNet>& netsB) {
  std::unordered_map<std::size_t, std::vector<std::size_t>> netsOfHash;
  for (std::size_t b = 0; b < netsB.size(); ++b) {
    if (!netsB[b].pins.empty()) netsOfHash[pinSetHash(netsB[b])].push_back(b);
  }
  for (std::size_t a = 0; a < netsA.size(); ++a) {
    if (netsA[a].pins.empty()) continue;
    const auto candidates = netsOfHash.find(pinSetHash(netsA[a]));
    if (candidates == netsOfHash.end()) continue;
    std::optional<std::size_t> chosen;
    for (const std::size_t b : candidates->second) {
      if (netsB[b].partner || !samePins(netsA[a], netsB[b])) continue;
      if (!chosen) chosen = b;
      if (netsB[b].nameKey == netsA[a].nameKey) {
        chosen = b;
        break;
      }
    }
    if (chosen) matchNets(netsA, a, netsB, *chosen);
  }
}

// Nets left over of the same name are one net whose pins changed.
void matchByName(std::vector<SideNet>& netsA, std::vector<SideNet>& netsB) {
  std::unordered_map<TextView, std::size_t> netOfName;
  for (std::size_t b = 0; b < netsB.size(); ++b) {
    if (!netsB[b].partner && !netsB[b].name->empty()) netOfName.emplace(netsB[b].nameKey, b);
  }
  for (std::size_t a = 0; a < netsA.size(); ++a) {
    if (netsA[a].partner || netsA[a].name->empty()) continue;
    const auto named = netOfName.find(netsA[a].nameKey);
    if (named != netOfName.end() && !netsB[named->second].partner) matchNets(netsA, a, netsB, named->second);
  }
}

// A net left over that shares most of its pins with a net left over on the
// other side, and holds most of that net's pins, is that net renamed and
// changed.
void matchByMostPins(std::vector<SideNet>& netsA, std::vector<SideNet>& netsB, const NetOfPin& netOfPinB) {
  for (std::size_t a = 0; a < netsA.size(); ++a) {
    if (netsA[a].partner || netsA[a].pins.empty()) continue;
    std::unordered_map<std::size_t, std::size_t> sharedPins;
    for (const SidePin& pin : netsA[a].pins) {
      const auto net = netOfPinB.find(pin.key);
      if (net != netOfPinB.end() && !netsB[net->second].partner) ++sharedPins[net->second];
    }
    for (const auto& [b, shared] : sharedPins) {
      if (2 * shared > netsA[a].pins.size() && 2 * shared > netsB[b].pins.size()) {
        matchNets(netsA, a, netsB, b);
        break;
      }
    }
  }
}

std::vector<Text> spellings(const std::vector<SidePin>& pins) {
  std::vector<Text> spelled;
  spelled.reserve(pins.size());
  for (const SidePin& pin : pins) spelled.push_back(*pin.spelling);
  return spelled;
}

NetlistNet spelledNet(const SideNet& net) { return NetlistNet{*net.name, spellings(net.pins)}; }

// The pins of `first` that `second` lacks, both sorted by key.
std::vector<SidePin> pinsMissingFrom(const SideNet& first, const SideNet& second) {
  std::vector<SidePin> missing;
  std::set_difference(first.pins.begin(), first.pins.end(), second.pins.begin(), second.pins.end(),
                      std::back_inserter(missing),
                      [](const SidePin& one, const SidePin& other) { return one.key < other.key; });
  return missing;
}

// Whether a pin missing from a matched net stands in another matched net on
// the other side: then it moved.
bool movedToAnotherNet(const SidePin& pin, const NetOfPin& netOfPinOther, const std::vector<SideNet>& otherNets) {
  const auto net = netOfPinOther.find(pin.key);
  return net != netOfPinOther.end() && otherNets[net->second].partner.has_value();
}

void compareNets(const Netlist& a, const Netlist& b, const KeyOf& keyOf, NetlistComparison& comparison) {
  std::vector<SideNet> netsA = sideNets(a, keyOf);
  std::vector<SideNet> netsB = sideNets(b, keyOf);
  const NetOfPin netOfPinA = netOfEachPin(netsA);
  const NetOfPin netOfPinB = netOfEachPin(netsB);
  matchByPins(netsA, netsB);
  matchByName(netsA, netsB);
  matchByMostPins(netsA, netsB, netOfPinB);

  for (const SideNet& netA : netsA) {
    if (!netA.partner) {
      comparison.netsOnlyInA.push_back(spelledNet(netA));
      continue;
    }
    ++comparison.netCount;
    const SideNet& netB = netsB[*netA.partner];
    const bool sameName = netA.nameKey == netB.nameKey;
    if (samePins(netA, netB)) {
      if (!sameName) comparison.renamedNets.push_back({*netA.name, *netB.name, spellings(netA.pins)});
      continue;
    }
    NetlistComparison::ChangedNet changed{*netA.name, *netB.name, {}, {}};
    for (const SidePin& pin : pinsMissingFrom(netA, netB)) {
      if (movedToAnotherNet(pin, netOfPinB, netsB)) {
        comparison.movedPins.push_back({*pin.spelling, *netA.name, *netsB[netOfPinB.at(pin.key)].name});
      } else {
        changed.pinsOnlyInA.push_back(*pin.spelling);
      }
    }
    for (const SidePin& pin : pinsMissingFrom(netB, netA)) {
      if (!movedToAnotherNet(pin, netOfPinA, netsA)) changed.pinsOnlyInB.push_back(*pin.spelling);
    }
    const bool pinsAddedOrRemoved = !changed.pinsOnlyInA.empty() || !changed.pinsOnlyInB.empty();
    if (pinsAddedOrRemoved || !sameName) comparison.changedNets.push_back(std::move(changed));
  }
  for (const SideNet& netB : netsB) {
    if (!netB.partner) comparison.netsOnlyInB.push_back(spelledNet(netB));
  }
}

void compareParts(const Netlist& a, const Netlist& b, const KeyOf& keyOf, NetlistComparison& comparison) {
  comparison.partsCompared = a.parts.empty() == b.parts.empty();
  if (a.parts.empty() || b.parts.empty()) return;
  const auto givesPackages = [&](const Netlist& netlist) {
    return std::any_of(netlist.parts.begin(), netlist.parts.end(), [&](const NetlistPart& part) {
      return !part.package.empty() && keyOf(part.package) != keyOf(part.partName);
    });
  };
  comparison.packagesCompared = givesPackages(a) && givesPackages(b);
  // The first part of each reference counts; a repeated reference is the
  // duplicate check's business.
  const auto firstOfEachReference = [&](const Netlist& netlist) {
    std::unordered_map<Text, std::size_t> partOfReference;
    for (std::size_t index = 0; index < netlist.parts.size(); ++index) {
      partOfReference.emplace(keyOf(netlist.parts[index].reference), index);
    }
    return partOfReference;
  };
  const std::unordered_map<Text, std::size_t> partsA = firstOfEachReference(a);
  const std::unordered_map<Text, std::size_t> partsB = firstOfEachReference(b);
  for (std::size_t index = 0; index < a.parts.size(); ++index) {
    const NetlistPart& partA = a.parts[index];
    const Text reference = keyOf(partA.reference);
    if (partsA.at(reference) != index) continue;
    const auto inB = partsB.find(reference);
    if (inB == partsB.end()) {
      comparison.partsOnlyInA.push_back(partA);
      continue;
    }
    ++comparison.partCount;
    const NetlistPart& partB = b.parts[inB->second];
    const bool samePackage = !comparison.packagesCompared || keyOf(partA.package) == keyOf(partB.package);
    if (keyOf(partA.partName) != keyOf(partB.partName) || !samePackage) {
      comparison.changedParts.push_back(
          {partA.reference, partA.partName, partB.partName, partA.package, partB.package});
    }
  }
  for (std::size_t index = 0; index < b.parts.size(); ++index) {
    const Text reference = keyOf(b.parts[index].reference);
    if (partsB.at(reference) == index && !partsA.contains(reference)) comparison.partsOnlyInB.push_back(b.parts[index]);
  }
}

// ---------------------------------------------------------------------------
// Report

void appendLine(Text& out, TextView line) {
  out += line;
  out += u'\n';
}

void appendPins(Text& out, const std::vector<Text>& pins) {
  for (const Text& pin : pins) {
    out += u' ';
    out += pin;
  }
}

template <typename Item, typename AppendItem>
void appendSection(Text& out, TextView heading, const std::vector<Item>& items, AppendItem&& appendItem) {
  if (items.empty()) return;
  out += heading;
  out += u" (" + decimalText(static_cast<long long>(items.size())) + u"):\n";
  for (const Item& item : items) {
    out += u"  ";
    appendItem(item);
    out += u'\n';
  }
}

// A name as the report shows it: an empty name stands out as such.
Text shownName(const Text& name) { return name.empty() ? Text(u"(no name)") : name; }

// What was left out of the comparison; empty when nothing was.
Text partsNote(const NetlistComparison& comparison) {
  if (!comparison.partsCompared) return u"parts not compared, since only one of the netlists holds parts";
  if (!comparison.packagesCompared) return u"packages not compared, since one of the netlists gives none of its own";
  return {};
}

}  // namespace

Netlist loadIntermediateFiles(const ConversionContext& context) {
  Netlist netlist;
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    NetlistNet& loaded = netlist.nets.emplace_back();
    loaded.name = net.get(kNetName);
    const long long count = pinCount(net);
    for (long long pin = 0; pin < count; ++pin) loaded.pins.push_back(net.get(kFirstPin + pin));
  }
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    for (const int element : {kPartName, kReference, kOtherInformation, kAdditionalText}) part.at(element).clear();
    mprk1in(part, line);
    netlist.parts.push_back(NetlistPart{part.get(kReference), part.get(kPartName), part.get(kOtherInformation)});
  }
  return netlist;
}

RunResult readNetlist(TextView format, const ReaderArguments& arguments, Encoding encoding, Host& host,
                      const FormatTable& formats, Netlist& netlist) {
  try {
    const PrivateWorkingDirectory directory;
    const ConversionContext context{directory.path(), encoding, host, Text(format)};
    const RunResult read = runReaderOnly(format, arguments, context, formats);
    if (read.outcome != RunOutcome::Finished) return read;
    netlist = loadIntermediateFiles(context);
    return read;
  } catch (const CapacityError&) {
    host.showMessage(Text(kMessageCapacity));
    return {RunOutcome::CapacityExceeded, {}};
  } catch (const std::exception& error) {
    return {RunOutcome::Failed, error.what()};
  }
}

bool NetlistComparison::equivalent() const {
  return netsOnlyInA.empty() && netsOnlyInB.empty() && renamedNets.empty() && changedNets.empty() &&
         movedPins.empty() && partsOnlyInA.empty() && partsOnlyInB.empty() && changedParts.empty();
}

NetlistComparison compareNetlists(const Netlist& a, const Netlist& b, const ComparisonOptions& options) {
  const KeyOf keyOf = options.ignoreCase ? KeyOf([](TextView text) { return toUpper(text); })
                                         : KeyOf([](TextView text) { return Text(text); });
  NetlistComparison comparison;
  compareNets(a, b, keyOf, comparison);
  compareParts(a, b, keyOf, comparison);
  return comparison;
}

Text comparisonReport(const NetlistComparison& comparison) {
  Text out;
  if (comparison.equivalent()) {
    out = u"The netlists are equivalent: " + decimalText(static_cast<long long>(comparison.netCount)) + u" nets";
    if (comparison.partsCompared)
      out += u" and " + decimalText(static_cast<long long>(comparison.partCount)) + u" parts";
    if (const Text note = partsNote(comparison); !note.empty()) out += u"; " + note;
    out += u".\n";
    return out;
  }
  const auto appendNet = [&](const NetlistNet& net) {
    out += shownName(net.name) + u':';
    appendPins(out, net.pins);
  };
  appendSection(out, u"Nets only in A", comparison.netsOnlyInA, appendNet);
  appendSection(out, u"Nets only in B", comparison.netsOnlyInB, appendNet);
  appendSection(out, u"Renamed nets", comparison.renamedNets, [&](const NetlistComparison::RenamedNet& net) {
    out += shownName(net.nameA) + u" -> " + shownName(net.nameB) + u':';
    appendPins(out, net.pins);
  });
  appendSection(out, u"Nets with pins added or removed", comparison.changedNets,
                [&](const NetlistComparison::ChangedNet& net) {
                  out += shownName(net.nameA);
                  if (net.nameB != net.nameA) out += u" -> " + shownName(net.nameB);
                  const bool removed = !net.pinsOnlyInA.empty();
                  const bool added = !net.pinsOnlyInB.empty();
                  if (!removed && !added) out += u" (only moved pins)";
                  if (removed) out += u": only in A:";
                  appendPins(out, net.pinsOnlyInA);
                  if (added) out += removed ? u"; only in B:" : u": only in B:";
                  appendPins(out, net.pinsOnlyInB);
                });
  appendSection(out, u"Pins moved to another net", comparison.movedPins, [&](const NetlistComparison::MovedPin& pin) {
    out += pin.pin + u": " + shownName(pin.netA) + u" -> " + shownName(pin.netB);
  });
  const auto appendPart = [&](const NetlistPart& part) {
    out += part.reference + u": part name " + part.partName + u", package " + part.package;
  };
  appendSection(out, u"Parts only in A", comparison.partsOnlyInA, appendPart);
  appendSection(out, u"Parts only in B", comparison.partsOnlyInB, appendPart);
  appendSection(out, u"Parts whose part name or package differ", comparison.changedParts,
                [&](const NetlistComparison::ChangedPart& part) {
                  out += part.reference + u": part name " + part.partNameA;
                  if (part.partNameB != part.partNameA) out += u" -> " + part.partNameB;
                  if (!comparison.packagesCompared) return;
                  out += u", package " + part.packageA;
                  if (part.packageB != part.packageA) out += u" -> " + part.packageB;
                });
  if (const Text note = partsNote(comparison); !note.empty()) appendLine(out, u"Note: " + note + u".");
  return out;
}

}  // namespace korvanel
