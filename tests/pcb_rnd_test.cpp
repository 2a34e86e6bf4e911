// Netlists that Korvanel writes go through pcb-rnd, run headless in its batch
// mode, and come back with the same nets. Skipped where pcb-rnd is not
// installed (scripts/setup installs it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "core/driver.h"
#include "core/records.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;
using NetsByName = std::map<Text, std::multiset<Text>>;

bool pcbRndInstalled() {
  static const bool installed = std::system("command -v pcb-rnd > /dev/null 2>&1") == 0;
  return installed;
}

class PcbRnd : public testing::ScratchTest {
 protected:
  PcbRnd() { context.encoding = Encoding::Utf8; }

  void SetUp() override {
    if (!pcbRndInstalled()) GTEST_SKIP() << "pcb-rnd is not installed: the checks against it are skipped";
  }

  // Runs pcb-rnd's batch mode in the scratch directory on `actions`, one
  // action a line.
  void runPcbRnd(const std::string& actions) {
    writeBytes("actions.txt", actions);
    const std::string command =
        "cd '" + directory.string() + "' && pcb-rnd --gui batch < actions.txt > pcb-rnd.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readBytes("pcb-rnd.log");
  }

  // The nets of a file as the reader of `format` gives them.
  NetsByName netsOf(const Text& format, const std::string& file) {
    const RunResult read = runReaderOnly(format, ReaderArguments{path(file), {}}, context, builtinFormats());
    EXPECT_EQ(read.outcome, RunOutcome::Finished) << file << " " << read.failure;
    return netsInNetFile();
  }

  NetsByName netsInNetFile() const {
    NetsByName nets;
    NetRecord net;
    for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
      mrk1net(net, line);
      auto& pins = nets[net.get(kNetName)];
      for (long long pin = 0; pin < pinCount(net); ++pin) pins.insert(net.get(kFirstPin + pin));
    }
    return nets;
  }
};

// A board with the names that real designs have: KiCad's own net names,
// names that differ only in case, a Japanese name, a pin name with "-". (pcb-rnd
// takes a reference's "-" for the end of it; the tEDAx writer reports such
// references.)
const std::string kParts = "0603! 100n; C1: ? \r\n0603! 10k; R1: ? \r\nSOIC14! 74HC04; U1: ? \r\n"
                           "HDR2! CONN; J1: ? \r\nTO92! 2SC1815; TR101: ? \r\n\r\n";
const std::string kNets =
    "Net-(C1-Pad1); 2: C1.1, R1.2, \r\nunconnected-(U1-Pad5); 1: U1.5, \r\n/VPP{slash}MCLR; 2: U1.4, J1.1-A, \r\n"
    "gnd; 2: U1.7, C1.2, \r\nGND; 3: J1.2-A, TR101.E, R1.1, \r\n電源; 2: U1.14, TR101.C, \r\n\r\n";

struct LoadCase {
  const char* name;
  const char16_t* format;
  // The actions that load the file "korvanel.net" into pcb-rnd's netlist.
  const char* loadActions;
  // What the file needs before pcb-rnd loads it, as a sed expression.
  const char* edit;
};

class PcbRndLoads : public PcbRnd, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(PcbRndLoads, TheNetlistKorvanelWritesWithTheSameNets) {
  writeBytes("parts.tmp", kParts);
  writeBytes("net.tmp", kNets);
  const NetsByName written = netsInNetFile();
  const RunResult write =
      runWriterOnly(GetParam().format, WriterArguments{path("korvanel.net"), {}}, context, builtinFormats());
  ASSERT_EQ(write.outcome, RunOutcome::Finished) << write.failure;
  if (*GetParam().edit != '\0') {
    ASSERT_EQ(std::system(("sed -i '" + std::string(GetParam().edit) + "' '" + path("korvanel.net").string() + "'").c_str()),
              0);
  }
  runPcbRnd(std::string(GetParam().loadActions) + "\nSaveTedax(netlist, pcb-rnd.tdx)\n");
  EXPECT_EQ(netsOf(u"tEDAx", "pcb-rnd.tdx"), written) << readBytes("pcb-rnd.log");
}

INSTANTIATE_TEST_SUITE_P(
    Formats, PcbRndLoads,
    ::testing::Values(LoadCase{"Tedax", u"tEDAx", "LoadTedaxFrom(netlist, korvanel.net)", ""},
                      // pcb-rnd reads only version "D", whose lists are the same.
                      LoadCase{"KiCad", u"KiCad", "LoadEeschemaFrom(korvanel.net)", "1s/(version \"E\")/(version D)/"}),
    [](const auto& info) { return std::string(info.param.name); });

// pcb-rnd imports a PADS netlist that Korvanel wrote and saves its netlist in
// tEDAx; Korvanel reads that back with the nets of the original board.
TEST_F(PcbRnd, WritesTedaxThatReadsBackWithTheNetsOfAPadsNetlistItImported) {
  const std::string board = std::string(KORVANEL_EXAMPLES_DIR) + "/board.tel";
  context.encoding = Encoding::Cp932;
  const NetsByName original = netsOf(u"Telesis", board);
  ASSERT_EQ(original.size(), 29u);
  ConversionFields fields;
  fields.inputPath = text(board);
  fields.outputPath = text(path("board.asc").string());
  fields.inputFormat = u"Telesis";
  fields.outputFormat = u"PADSPCB";
  const RunResult convert = runConversion(fields, host, RunSettings{directory, directory, Encoding::Cp932, false},
                                          builtinFormats());
  ASSERT_EQ(convert.outcome, RunOutcome::Finished) << convert.failure;
  runPcbRnd("LoadPadsNetFrom(board.asc)\nSaveTedax(netlist, board.tdx)\n");
  EXPECT_EQ(netsOf(u"tEDAx", "board.tdx"), original) << readBytes("pcb-rnd.log");
}

}  // namespace
}  // namespace korvanel
