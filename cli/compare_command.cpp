#include "cli/compare_command.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/detect_command.h"
#include "core/compare.h"
#include "formats/builtin_formats.h"

namespace korvanel::cli {
namespace {

constexpr int kExitEquivalent = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCapacity = 3;
constexpr int kExitUnreadable = 4;

using Json = nlohmann::ordered_json;

// The driver's messages become lines on standard error.
class StandardErrorHost : public Host {
 public:
  void showMessage(const Text& message) override { std::cerr << toUtf8(message) << std::endl; }
  void showProgress() override {}
  void setProgressValue(int) override {}
  void setProgressStatus(const Text&) override {}
  void enableProgressOk() override {}
  void hideProgress() override {}
};

int exitStatusOfRead(const RunResult& read) {
  switch (read.outcome) {
    case RunOutcome::Finished: return kExitEquivalent;
    case RunOutcome::FormatMismatch:
    case RunOutcome::Refused: return kExitDifferent;
    case RunOutcome::NoModule: return kExitUsage;
    case RunOutcome::CapacityExceeded: return kExitCapacity;
    case RunOutcome::Failed: break;
  }
  std::cerr << "korvanel-cli: " << read.failure << std::endl;
  return kExitUnreadable;
}

Json texts(const std::vector<Text>& list) {
  Json array = Json::array();
  for (const Text& text : list) array.push_back(toUtf8(text));
  return array;
}

Json netsJson(const std::vector<NetlistNet>& nets) {
  Json array = Json::array();
  for (const NetlistNet& net : nets) array.push_back({{"name", toUtf8(net.name)}, {"pins", texts(net.pins)}});
  return array;
}

Json partsJson(const std::vector<NetlistPart>& parts) {
  Json array = Json::array();
  for (const NetlistPart& part : parts) {
    array.push_back({{"reference", toUtf8(part.reference)},
                     {"part_name", toUtf8(part.partName)},
                     {"package", toUtf8(part.package)}});
  }
  return array;
}

Json comparisonJson(const NetlistComparison& comparison, const CompareOptions& options) {
  Json document;
  document["a"] = {{"file", options.fileA}, {"format", options.formatA}};
  document["b"] = {{"file", options.fileB}, {"format", options.formatB}};
  document["equivalent"] = comparison.equivalent();
  document["nets_in_both"] = comparison.netCount;
  document["nets_only_in_a"] = netsJson(comparison.netsOnlyInA);
  document["nets_only_in_b"] = netsJson(comparison.netsOnlyInB);
  Json& renamed = document["renamed_nets"] = Json::array();
  for (const auto& net : comparison.renamedNets) {
    renamed.push_back({{"name_a", toUtf8(net.nameA)}, {"name_b", toUtf8(net.nameB)}, {"pins", texts(net.pins)}});
  }
  Json& changed = document["changed_nets"] = Json::array();
  for (const auto& net : comparison.changedNets) {
    changed.push_back({{"name_a", toUtf8(net.nameA)},
                       {"name_b", toUtf8(net.nameB)},
                       {"pins_only_in_a", texts(net.pinsOnlyInA)},
                       {"pins_only_in_b", texts(net.pinsOnlyInB)}});
  }
  Json& moved = document["moved_pins"] = Json::array();
  for (const auto& pin : comparison.movedPins) {
    moved.push_back({{"pin", toUtf8(pin.pin)}, {"net_a", toUtf8(pin.netA)}, {"net_b", toUtf8(pin.netB)}});
  }
  document["parts_compared"] = comparison.partsCompared;
  document["packages_compared"] = comparison.packagesCompared;
  document["parts_in_both"] = comparison.partCount;
  document["parts_only_in_a"] = partsJson(comparison.partsOnlyInA);
  document["parts_only_in_b"] = partsJson(comparison.partsOnlyInB);
  Json& changedParts = document["changed_parts"] = Json::array();
  for (const auto& part : comparison.changedParts) {
    changedParts.push_back({{"reference", toUtf8(part.reference)},
                            {"part_name_a", toUtf8(part.partNameA)},
                            {"part_name_b", toUtf8(part.partNameB)},
                            {"package_a", toUtf8(part.packageA)},
                            {"package_b", toUtf8(part.packageB)}});
  }
  return document;
}

}  // namespace

CLI::App* addCompareCommand(CLI::App& app, CompareOptions& options) {
  CLI::App* command = app.add_subcommand(
      "compare",
      "Compare the connectivity of A and B, each read by the reader of its format; exit 0 when equivalent, "
      "1 when they differ");
  command->add_option("--format-a", options.formatA, "Format name of A (exact text), or auto to recognise it")
      ->required();
  command->add_option("--format-b", options.formatB, "Format name of B (exact text), or auto to recognise it")
      ->required();
  command->add_flag("--ignore-case", options.ignoreCase, "Compare names, references and pins regardless of case");
  command->add_flag("--json", options.json, "Write the comparison as one JSON document");
  command->add_option("--parts-a", options.partsA, "Parts file of an \"MM-COLMO_NEO & MM2\" A");
  command->add_option("--parts-b", options.partsB, "Parts file of an \"MM-COLMO_NEO & MM2\" B");
  command->add_option("--encoding", options.encoding, "Encoding of both files (default cp932)")
      ->check(CLI::IsMember({"cp932", "utf-8"}));
  command->add_option("A", options.fileA, "First netlist")->required();
  command->add_option("B", options.fileB, "Second netlist")->required();
  return command;
}

int runCompare(const CompareOptions& givenOptions) {
  CompareOptions options = givenOptions;
  for (const auto& [format, file] : {std::pair{&options.formatA, &options.fileA}, {&options.formatB, &options.fileB}}) {
    if (const int status = resolveAutoFormat(*format, *file, options.encoding); status != 0) return status;
  }
  const Encoding encoding = options.encoding == "utf-8" ? Encoding::Utf8 : Encoding::Cp932;
  StandardErrorHost host;
  Netlist a;
  Netlist b;
  const RunResult readA =
      readNetlist(fromUtf8(options.formatA), ReaderArguments{options.fileA, fromUtf8(options.partsA)}, encoding, host,
                  builtinFormats(), a);
  if (readA.outcome != RunOutcome::Finished) return exitStatusOfRead(readA);
  const RunResult readB =
      readNetlist(fromUtf8(options.formatB), ReaderArguments{options.fileB, fromUtf8(options.partsB)}, encoding, host,
                  builtinFormats(), b);
  if (readB.outcome != RunOutcome::Finished) return exitStatusOfRead(readB);

  const NetlistComparison comparison = compareNetlists(a, b, ComparisonOptions{options.ignoreCase});
  if (options.json) {
    std::cout << comparisonJson(comparison, options).dump(2) << "\n";
  } else {
    std::cout << toUtf8(comparisonReport(comparison));
  }
  return comparison.equivalent() ? kExitEquivalent : kExitDifferent;
}

}  // namespace korvanel::cli
