// Comparing two netlists: each kind of difference reported in its section,
// a hand-edited board reported exactly, and a board converted into every
// writable format equivalent to its source but for what the format cannot
// carry.
#include "core/compare.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/driver.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

const std::string kBoard = std::string(KORVANEL_EXAMPLES_DIR) + "/board.tel";

// "GND: U1.7 U2.7; VCC: U1.14 | U1 74HC04 SOIC14; R1 10K 0603": nets, then
// parts as reference, part name and package.
Netlist netlistOf(const std::string& description) {
  Netlist netlist;
  const std::size_t bar = description.find('|');
  std::istringstream nets(description.substr(0, bar));
  for (std::string net; std::getline(nets, net, ';');) {
    std::istringstream words(net);
    std::string word;
    if (!(words >> word)) continue;
    NetlistNet& added = netlist.nets.emplace_back();
    added.name = text(word.substr(0, word.size() - 1));
    while (words >> word) added.pins.push_back(text(word));
  }
  if (bar == std::string::npos) return netlist;
  std::istringstream parts(description.substr(bar + 1));
  for (std::string part; std::getline(parts, part, ';');) {
    std::istringstream words(part);
    std::string reference, partName, package;
    if (words >> reference >> partName >> package)
      netlist.parts.push_back({text(reference), text(partName), text(package)});
  }
  return netlist;
}

struct CompareCase {
  const char* name;
  const char* a;
  const char* b;
  bool ignoreCase;
  const char* report;
};

class Comparing : public ::testing::TestWithParam<CompareCase> {};

TEST_P(Comparing, ReportsEachDifferenceInItsSection) {
  const NetlistComparison comparison =
      compareNetlists(netlistOf(GetParam().a), netlistOf(GetParam().b), ComparisonOptions{GetParam().ignoreCase});
  EXPECT_EQ(toUtf8(comparisonReport(comparison)), GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(
    Netlists, Comparing,
    ::testing::Values(
        CompareCase{"Equivalent", "GND: U1.7 U2.7; VCC: U1.14 | U1 74HC04 SOIC14",
                    "VCC: U1.14; GND: U2.7 U1.7 | U1 74HC04 SOIC14", false,
                    "The netlists are equivalent: 2 nets and 1 parts.\n"},
        CompareCase{"OnlyOneSideGivesPackages", "GND: U1.7 | U1 74HC04 SOIC14", "GND: U1.7 | U1 74HC04 74HC04", false,
                    "The netlists are equivalent: 1 nets and 1 parts; packages not compared, since one of the netlists "
                    "gives none of its own.\n"},
        CompareCase{"OnlyOneSideHoldsParts", "GND: U1.7 | U1 74HC04 SOIC14", "GND: U1.7", false,
                    "The netlists are equivalent: 1 nets; parts not compared, since only one of the netlists holds "
                    "parts.\n"},
        CompareCase{"NetsOfOneNameAndRepeatedPinsAreOneNet", "GND: U1.7; GND: U2.7 U2.7", "GND: U1.7 U2.7", false,
                    "The netlists are equivalent: 1 nets and 0 parts.\n"},
        CompareCase{"NetsOnlyOnOneSide", "GND: U1.7; NC: U3.1", "GND: U1.7; SPARE: U4.2 U4.3", false,
                    "Nets only in A (1):\n  NC: U3.1\nNets only in B (1):\n  SPARE: U4.2 U4.3\n"},
        CompareCase{"RenamedByItsPins", "CLK: U1.3 U2.1", "CLOCK: U2.1 U1.3", false,
                    "Renamed nets (1):\n  CLK -> CLOCK: U1.3 U2.1\n"},
        CompareCase{"PinsAddedAndRemoved", "VCC: U1.14 R1.1", "VCC: U1.14 R9.1", false,
                    "Nets with pins added or removed (1):\n  VCC: only in A: R1.1; only in B: R9.1\n"},
        CompareCase{"RenamedAndChanged", "Net-(C1-Pad1): C1.1 R1.2 U1.3", "/VPP{slash}MCLR: U1.3 C1.1 R1.2 J1.1", false,
                    "Nets with pins added or removed (1):\n  Net-(C1-Pad1) -> /VPP{slash}MCLR: only in B: J1.1\n"},
        CompareCase{"PinMovedBetweenNets", "GND: U1.7 U2.7 C1.2; VCC: U1.14 C1.1",
                    "GND: U1.7 U2.7; VCC: U1.14 C1.1 C1.2", false,
                    "Pins moved to another net (1):\n  C1.2: GND -> VCC\n"},
        CompareCase{"CaseCountsUnlessIgnored", "gnd: U1.7 | U1 74hc04 SOIC14", "GND: U1.7 | U1 74HC04 SOIC14", false,
                    "Renamed nets (1):\n  gnd -> GND: U1.7\n"
                    "Parts whose part name or package differ (1):\n  U1: part name 74hc04 -> 74HC04, package SOIC14\n"},
        CompareCase{"CaseIgnored", "gnd: u1.7 | u1 74hc04 soic14", "GND: U1.7 | U1 74HC04 SOIC14", true,
                    "The netlists are equivalent: 1 nets and 1 parts.\n"},
        CompareCase{
            "PartsOnlyOnOneSideAndChanged", "N: U1.1 | U1 74HC04 SOIC14; TA-101 ボリューム VR9",
            "N: U1.1 | U1 74HC14 SOIC14; R1 10K 0603", false,
            "Parts only in A (1):\n  TA-101: part name ボリューム, package VR9\n"
            "Parts only in B (1):\n  R1: part name 10K, package 0603\n"
            "Parts whose part name or package differ (1):\n  U1: part name 74HC04 -> 74HC14, package SOIC14\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class ComparingFiles : public testing::ScratchTest {
 protected:
  Netlist read(const Text& format, const std::filesystem::path& file) {
    Netlist netlist;
    const RunResult result = readNetlist(format, ReaderArguments{file, text(file.string() + ".prt")}, Encoding::Cp932,
                                         host, builtinFormats(), netlist);
    EXPECT_EQ(result.outcome, RunOutcome::Finished) << toUtf8(format) << " " << result.failure;
    return netlist;
  }

  std::filesystem::path converted(const Text& format) {
    ConversionFields fields;
    fields.inputPath = text(kBoard);
    fields.outputPath = text(path("board.out").string());
    fields.inputFormat = u"Telesis";
    fields.outputFormat = format;
    fields.csvOrOutputParts = text(path("board.out.prt").string());
    fields.duplicateChecks = fields.singlePinCheck = false;
    EXPECT_EQ(runConversion(fields, host, RunSettings{directory, directory}, builtinFormats()).outcome,
              RunOutcome::Finished);
    return path("board.out");
  }
};

TEST_F(ComparingFiles, AHandEditedCopyIsReportedExactly) {
  std::string board = testing::readFileBytes(kBoard);
  const auto replace = [&](const std::string& from, const std::string& to) {
    const std::size_t at = board.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    board.replace(at, from.size(), to);
  };
  replace("SPARE_IO ; U5.22 U5.23", "SPARE_IO ; U5.22");  // U5.23 moves ...
  replace("MISO ; U5.2 J1.9", "MISO ; U5.2 J1.9 U5.23");  // ... to MISO
  replace("QH_CHAIN ;", "SERIAL_CHAIN ;");                // renamed
  replace("SW_TACT ! RESETSW ; SW1\r\n", "");             // SW1 removed
  writeBytes("edited.tel", board);
  const NetlistComparison comparison =
      compareNetlists(read(u"Telesis", kBoard), read(u"Telesis", path("edited.tel")), {});
  EXPECT_EQ(toUtf8(comparisonReport(comparison)),
            "Renamed nets (1):\n  QH_CHAIN -> SERIAL_CHAIN: U3.9 U4.14\n"
            "Pins moved to another net (1):\n  U5.23: SPARE_IO -> MISO\n"
            "Parts only in A (1):\n  SW1: part name RESETSW, package SW_TACT\n");
}

// What a writable format loses of board.tel.
enum class Loses {
  Nothing,
  // It carries no parts: they are not compared.
  Parts,
  // It carries no packages (the reader gives none, or the part name in
  // their place): they are not compared.
  Packages,
};

struct ConversionCase {
  const char* format;
  Loses loses;
};

class ConvertedBoards : public ComparingFiles, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(ConvertedBoards, CompareEquivalentToTheirSourceButForWhatTheFormatCannotCarry) {
  const Text format = text(GetParam().format);
  const Text readAs = format == u"CR5000(PC)" ? Text(u"CR5000") : format;
  const NetlistComparison comparison = compareNetlists(read(u"Telesis", kBoard), read(readAs, converted(format)), {});
  const Loses loses = GetParam().loses;
  EXPECT_EQ(comparison.partsCompared, loses != Loses::Parts);
  EXPECT_EQ(comparison.packagesCompared, loses != Loses::Packages);
  EXPECT_TRUE(comparison.equivalent()) << toUtf8(comparisonReport(comparison));
  EXPECT_EQ(comparison.netCount, 29u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryWritableFormat, ConvertedBoards,
    ::testing::Values(ConversionCase{"ACCEL", Loses::Nothing}, ConversionCase{"ALLEGRO", Loses::Nothing},
                      ConversionCase{"CADIX XID", Loses::Nothing}, ConversionCase{"CADVANCE", Loses::Nothing},
                      ConversionCase{"CR2000", Loses::Parts}, ConversionCase{"CR5000", Loses::Packages},
                      ConversionCase{"CR5000(PC)", Loses::Packages}, ConversionCase{"CSi", Loses::Packages},
                      ConversionCase{"D2 CAD", Loses::Parts}, ConversionCase{"Expedition PCB", Loses::Packages},
                      ConversionCase{"KiCad", Loses::Nothing}, ConversionCase{"MM-COLMO_NEO & MM2", Loses::Nothing},
                      ConversionCase{"MENTOR", Loses::Nothing}, ConversionCase{"MYPCB", Loses::Packages},
                      ConversionCase{"PADS2000", Loses::Packages}, ConversionCase{"PADSPCB", Loses::Packages},
                      ConversionCase{"Pcad(nlt)", Loses::Packages}, ConversionCase{"Pcad(wrl)", Loses::Parts},
                      ConversionCase{"PROTEL", Loses::Nothing}, ConversionCase{"TANGO", Loses::Nothing},
                      ConversionCase{"tEDAx", Loses::Nothing}, ConversionCase{"WACOM SIMPLE NET", Loses::Parts}),
    [](const auto& info) { return testing::testNameOf(info.param.format); });

}  // namespace
}  // namespace korvanel
