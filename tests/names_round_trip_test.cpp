// Names that a format takes as syntax go through every writable format and
// back: every net comes back distinct, under its own name or the new name
// that the run reported, with every pin on it.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/driver.h"
#include "core/records.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

// One output name per writer.
std::vector<Text> writableFormats() {
  const FormatTable& formats = builtinFormats();
  std::vector<Text> names;
  std::set<Writer> seen;
  for (const Text& name : formats.outputNames()) {
    const Writer writer = formats.findWriter(name);
    if (writer != nullptr && formats.findReader(name) != nullptr && seen.insert(writer).second) {
      names.push_back(name);
    }
  }
  return names;
}

// Net names that some format reads as syntax: every printable character but
// the intermediate form's own delimiters, inside, in front and alone, real
// board names, names that differ only in case, keywords and comments of the
// formats.
std::vector<Text> hostileNetNames() {
  std::vector<Text> names = {u"Net-(C1-Pad1)", u"unconnected-(U1-Pad5)", u"/VPP{slash}MCLR", u"gnd", u"GND",
                             u"NET",           u"END",                   u"$END",            u"SIGNAL", u"%NET",
                             u"*NET",          u".NET",                  u"NETS",            u"電源",
                             // comment openers and closers of the formats
                             u"A/*B",          u"A*/B",                  u"A//B",            u"A--B"};
  for (const char16_t character : TextView(u"!\"#$%&'()*+-./<=>?@[\\]^_`{|}~")) {
    names.push_back(Text(u"A") + character + u"B");
    names.push_back(Text(1, character) + u"N");
  }
  return names;
}

using NetsByName = std::map<Text, std::multiset<Text>>;

NetsByName netsOf(const std::filesystem::path& netFile, bool upperCase) {
  NetsByName nets;
  NetRecord net;
  for (const TextView line : readRecordLines(netFile, Encoding::Cp932)) {
    mrk1net(net, line);
    auto& pins = nets[upperCase ? toUpper(net.get(kNetName)) : net.get(kNetName)];
    for (long long pin = 0; pin < pinCount(net); ++pin) pins.insert(toUpper(net.get(kFirstPin + pin)));
  }
  return nets;
}

class NamesRoundTrip : public testing::ScratchTest {
 protected:
  // Writes the intermediate files in `written/`, runs the writer of `format`
  // and then its reader into `read/`.
  void roundTrip(const Text& format, const std::string& parts, const std::string& nets) {
    std::filesystem::create_directories(path("written"));
    std::filesystem::create_directories(path("read"));
    writeBytes("written/parts.tmp", cp932(parts));
    writeBytes("written/net.tmp", cp932(nets));
    const ConversionContext writing{path("written"), Encoding::Cp932, host, u"Telesis"};
    const ConversionContext reading{path("read"), Encoding::Cp932, host, format};
    const WriterArguments output{path("out.net"), text(path("out.prt").string())};
    ASSERT_EQ(runWriterOnly(format, output, writing, builtinFormats()).outcome, RunOutcome::Finished);
    const RunResult read =
        runReaderOnly(format, ReaderArguments{path("out.net"), text(path("out.prt").string())}, reading,
                      builtinFormats());
    ASSERT_EQ(read.outcome, RunOutcome::Finished) << read.failure;
  }

  static std::string cp932(const std::string& utf8) { return testing::cp932(utf8); }
};

class NamesThroughEachFormat : public NamesRoundTrip, public ::testing::WithParamInterface<Text> {};

TEST_P(NamesThroughEachFormat, EveryNetComesBackDistinctWithItsPins) {
  const Text& format = GetParam();
  const FormatLimits* limits = builtinFormats().findWriterLimits(format);
  ASSERT_NE(limits, nullptr) << "the writer states what its format can carry";
  std::string nets;
  std::string parts;
  const std::vector<Text> names = hostileNetNames();
  for (std::size_t index = 0; index < names.size(); ++index) {
    const std::string reference = "R" + std::to_string(index + 1);
    nets += toUtf8(names[index]) + "; 2: " + reference + ".1, " + reference + ".2, \r\n";
    parts += "R0603! 10K; " + reference + ": ? \r\n";
  }
  roundTrip(format, parts, nets);
  // The names as written: the run renamed what the format cannot carry.
  const NetsByName written = netsOf(path("written/net.tmp"), limits->readerUpperCases);
  ASSERT_EQ(written.size(), names.size()) << "two nets were given one name";
  EXPECT_EQ(netsOf(path("read/net.tmp"), limits->readerUpperCases), written);
}

// A pin comes back as it was, or the run reports its reference or the pin
// in errlog.txt: an empty reference, a pin without a name, blanks around a
// "-" that some formats take as their separator, a reference ending in
// "-" where the pin separator is found from the end.
TEST_P(NamesThroughEachFormat, EveryPinComesBackOrIsReported) {
  const Text& format = GetParam();
  const FormatLimits* limits = builtinFormats().findWriterLimits(format);
  ASSERT_NE(limits, nullptr);
  const std::vector<std::string> pins = {".24",   "TP1",    "TP-1", "TA-101.1", "U1.A-B", "U1.",
                                         "-5V.1", "U2.A.B", ".",    "-.U",      "N-.1"};
  std::string nets;
  for (std::size_t index = 0; index < pins.size(); ++index) {
    nets += "N" + std::to_string(index) + "; 2: " + pins[index] + ", R" + std::to_string(index) + ".1, \r\n";
  }
  roundTrip(format, "DIP14! 74HC00; U1: ? \r\n\r\n", nets + "\r\n");
  const NetsByName back = netsOf(path("read/net.tmp"), limits->readerUpperCases);
  const std::string errorLog = exists("written/errlog.txt") ? readCp932("written/errlog.txt") : "";
  for (std::size_t index = 0; index < pins.size(); ++index) {
    const Text pin = text(pins[index]);
    const auto net = back.find(text("N" + std::to_string(index)));
    if (net != back.end() && net->second.contains(toUpper(pin))) continue;
    const std::string reference = pins[index].substr(0, pins[index].find('.'));
    EXPECT_TRUE(errorLog.find("ピン" + pins[index] + "は") != std::string::npos ||
                errorLog.find("リファレンス" + reference + "は") != std::string::npos)
        << pins[index] << " neither came back nor was reported";
  }
}

TEST_P(NamesThroughEachFormat, TheWritersOutputOfAnyIntermediateFilesReadsBack) {
  const std::string longName(300, 'N');
  const std::string longReference = "R" + std::string(200, '1');
  const struct {
    const char* what;
    std::string parts;
    std::string nets;
  } boards[] = {
      {"nothing", "\r\n", "\r\n"},
      {"parts but no nets", "R0603! 10K; R1: ? \r\n\r\n", "\r\n"},
      {"nets but no parts", "\r\n", "GND; 2: R1.1, R2.1, \r\n\r\n"},
      {"a net without a name", "\r\n", "; 2: R1.1, R2.1, \r\nGND; 1: R1.2, \r\n\r\n"},
      {"a net without pins", "\r\n", "NC; 0: \r\nGND; 2: R1.1, R2.1, \r\n\r\n"},
      {"empty part fields", "! ; R1: ? \r\n\r\n", "GND; 1: R1.1, \r\n\r\n"},
      {"the longest names", longName + "! " + longName + "; " + longReference + ": ? \r\n\r\n",
       longName + "; 2: " + longReference + "." + longName + ", R2.1, \r\n\r\n"},
  };
  for (const auto& board : boards) {
    SCOPED_TRACE(board.what);
    roundTrip(GetParam(), board.parts, board.nets);
  }
}

INSTANTIATE_TEST_SUITE_P(Writers, NamesThroughEachFormat, ::testing::ValuesIn(writableFormats()),
                         [](const auto& info) { return testing::testNameOf(toUtf8(info.param)); });

}  // namespace
}  // namespace korvanel
