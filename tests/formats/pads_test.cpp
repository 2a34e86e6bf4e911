#include "formats/pads.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using Reader = void (*)(const ConversionContext&, const std::filesystem::path&, Text&);
using Writer = void (*)(const ConversionContext&, const std::filesystem::path&);

// The two forms, for the cases they share.
struct Form {
  const char* name;
  Reader reader;
  Writer writer;
  const char* header;
};

const Form kPads2000{"PADS2000", mnpa2in, mnpa2out, "*PADS2000*"};
const Form kPadsPcb{"PADSPCB", mnpapin, mnpapout, "*PADS-PCB*"};

std::string formName(const ::testing::TestParamInfo<Form>& info) { return info.param.name; }

// A written file: the form's first line and then `rest`.
std::string fileOf(const Form& form, const std::string& rest) { return form.header + ("\r\n" + rest); }

class PadsTest : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) with `form` and returns the status.
  std::string read(const Form& form, const std::string& input) {
    writeBytes("input.net", input);
    Text status;
    form.reader(context, path("input.net"), status);
    return toUtf8(status);
  }

  // Writes the intermediate files with `form` and returns the output's bytes.
  std::string write(const Form& form, const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    form.writer(context, path("output.net"));
    return readBytes("output.net");
  }
};

class PadsBothForms : public PadsTest, public ::testing::WithParamInterface<Form> {};

const std::string kExampleFile =
    "*PART*\r\n"
    "U1     74LS00\r\n"
    "R10    10K\r\n"
    "\r\n"
    "*NET*\r\n"
    "*SIGNAL* GND\r\n"
    "U1.7 R10.2\r\n"
    "*END*\r\n";
const std::string kExampleParts = "74LS00! 74LS00; U1: ? \r\n10K! 10K; R10: ? \r\n\r\n";
const std::string kExampleNets = "GND; 2: U1.7, R10.2, \r\n\r\n";

TEST_P(PadsBothForms, ReadsTheExampleIntoTheIntermediateFiles) {
  EXPECT_EQ(read(GetParam(), fileOf(GetParam(), kExampleFile)), "good");
  EXPECT_EQ(readBytes("parts.tmp"), kExampleParts);
  EXPECT_EQ(readBytes("net.tmp"), kExampleNets);
  EXPECT_TRUE(host.events.empty());
}

TEST_P(PadsBothForms, WritesTheExampleVerbatim) {
  EXPECT_EQ(write(GetParam(), kExampleParts, kExampleNets), fileOf(GetParam(), kExampleFile));
}

TEST_P(PadsBothForms, LineEndsCrLfLfAndLoneCrReadAlike) {
  const std::string body[] = {"*PART*", "U1 74LS00", "*NET*", "*SIGNAL* GND", "U1.7 U1.14", "*END*"};
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    std::string input;
    for (const std::string& line : body) input += line + lineEnd;
    ASSERT_EQ(read(GetParam(), input), "good") << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readBytes("parts.tmp"), "74LS00! 74LS00; U1: ? \r\n\r\n");
    EXPECT_EQ(readBytes("net.tmp"), "GND; 2: U1.7, U1.14, \r\n\r\n");
  }
}

TEST_P(PadsBothForms, JapaneseTextRoundTripsThroughCp932) {
  writeCp932("input.net", "*PART*\r\nR1 抵抗 ｒ\r\n*NET*\r\n*SIGNAL* 電源\r\nR1.1\r\n*END*\r\n");
  Text status;
  GetParam().reader(context, path("input.net"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "抵抗Ｒ! 抵抗Ｒ; R1: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: R1.1, \r\n\r\n");
}

TEST_P(PadsBothForms, WithoutNetKeywordTheStatusIsBadAndOnlyThePartsAreWritten) {
  for (const std::string input : {"*PART*\r\nu1 74ls00\r\n", "*PART*\r\nU1 74LS00\r\n\r\n\r\n"}) {
    host.events.clear();
    std::filesystem::remove(path("net.tmp"));
    EXPECT_EQ(read(GetParam(), input), "bad");
    EXPECT_EQ(readBytes("parts.tmp"), "74LS00! 74LS00; U1: ? \r\n\r\n");
    EXPECT_FALSE(exists("net.tmp"));
    EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  }
}

TEST_P(PadsBothForms, ABadInputLeavesAnEarlierNetFileAlone) {
  writeBytes("net.tmp", "EARLIER; 1: U1.1, \r\n\r\n");
  EXPECT_EQ(read(GetParam(), ""), "bad");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "EARLIER; 1: U1.1, \r\n\r\n");
}

TEST_P(PadsBothForms, InvalidBytesFail) {
  writeBytes("input.net", "*PART*\r\n\x81\x20\r\n");
  Text status;
  EXPECT_THROW(GetParam().reader(context, path("input.net"), status), FileError);
  EXPECT_THROW(GetParam().reader(context, path("absent.net"), status), FileError);
}

std::string netWithPins(int pins) {
  std::string lines = "*SIGNAL* BIG\r\n";
  for (int pin = 1; pin <= pins; ++pin) lines += "U" + std::to_string(pin) + (pin % 8 == 0 ? ".1\r\n" : ".1 ");
  return lines + "X.1\r\n";
}

TEST_P(PadsBothForms, NetsHoldAtMostNineteenThousandNineHundredNinetyNinePins) {
  EXPECT_EQ(read(GetParam(), "*PART*\r\n*NET*\r\n" + netWithPins(19998) + "*END*\r\n"), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 12), "BIG; 19999: ");
  EXPECT_THROW(read(GetParam(), "*PART*\r\n*NET*\r\n" + netWithPins(19999) + "*END*\r\n"), CapacityError);
}

TEST_P(PadsBothForms, PadsTheReferenceToColumnEightOrFollowsItWithOneSpace) {
  EXPECT_EQ(
      write(GetParam(), "X! 10K; R: ? \r\nX! 10K; ABCDEF: ? \r\nX! 10K; ABCDEFG: ? \r\nX! 10K; ABCDEFGHIJ: ? \r\n\r\n",
            "\r\n"),
      fileOf(GetParam(),
             "*PART*\r\nR      10K\r\nABCDEF 10K\r\nABCDEFG 10K\r\nABCDEFGHIJ 10K\r\n\r\n*NET*\r\n*END*\r\n"));
}

TEST_P(PadsBothForms, CountsJapaneseCharactersAsOneColumnEach) {
  writeCp932("parts.tmp", "X! 抵抗; 抵抗器: ? \r\n\r\n");
  writeCp932("net.tmp", "\r\n");
  GetParam().writer(context, path("output.net"));
  EXPECT_EQ(readCp932("output.net"), fileOf(GetParam(), "*PART*\r\n抵抗器    抵抗\r\n\r\n*NET*\r\n*END*\r\n"));
}

TEST_P(PadsBothForms, SkipsEveryEmptyPartsLineButStopsTheNetsAtTheFirst) {
  EXPECT_EQ(write(GetParam(), "A! A; U1: ? \r\n\r\nB! B; U2: ? \r\n\r\n", "N1; 1: U1.1, \r\n\r\nN2; 1: U2.1, \r\n"),
            fileOf(GetParam(), "*PART*\r\nU1     A\r\nU2     B\r\n\r\n*NET*\r\n*SIGNAL* N1\r\nU1.1\r\n*END*\r\n"));
}

TEST_P(PadsBothForms, WithNothingToWriteKeepsTheSectionKeywordsAndReplacesTheOutput) {
  writeBytes("output.net", std::string(500, 'X'));
  EXPECT_EQ(write(GetParam(), "\r\n", "\r\n"), fileOf(GetParam(), "*PART*\r\n\r\n*NET*\r\n*END*\r\n"));
}

// An empty line is an empty pin to PADS2000, so there a net without pins gets
// no pin line; PADSPCB keeps the empty line.
TEST_P(PadsBothForms, EmptyPinsGetNoSeparatorAndANetWithoutPinsNoPinOfItsOwn) {
  const std::string pinLineOfB = GetParam().reader == mnpa2in ? "" : "\r\n";
  EXPECT_EQ(write(GetParam(), "\r\n", "A; 3: U1.1, , U2.1, \r\nB; 0: \r\n\r\n"),
            fileOf(GetParam(), "*PART*\r\n\r\n*NET*\r\n*SIGNAL* A\r\nU1.1 U2.1\r\n*SIGNAL* B\r\n" + pinLineOfB +
                                   "*END*\r\n"));
}

// Written files read back as what was written, also with nothing to write.
TEST_P(PadsBothForms, BoardsWithoutNetsOrWithRealNamesReadBack) {
  const std::pair<std::string, std::string> boards[] = {
      {"DIP14! DIP14; TA-101: ? \r\n\r\n", "\r\n"},
      {"\r\n", "\r\n"},
      {"*NETX! *NETX; *PARTX: ? \r\n\r\n",
       "NET-(C10-PAD1); 2: TA-101.1, *ENDX.2, \r\n/VPP{SLASH}MCLR; 1: *SIGNAL*.1, \r\nNC; 0: \r\n*END*; 1: *END*.1, "
       "\r\n*SIGNAL*A; 1: *PART*, \r\n\r\n"}};
  for (const auto& [parts, nets] : boards) {
    writeBytes("back.net", write(GetParam(), parts, nets));
    Text status;
    GetParam().reader(context, path("back.net"), status);
    EXPECT_EQ(toUtf8(status), "good");
    EXPECT_EQ(readBytes("parts.tmp"), parts);
    EXPECT_EQ(readBytes("net.tmp"), nets);
  }
}

TEST_P(PadsBothForms, AnEmptyPinAtAWrapPointKeepsTheRestOfTheNetOnThatLine) {
  std::string net = "N; 17: ";
  std::string pins;
  for (int pin = 1; pin <= 17; ++pin) {
    const std::string name = pin == 9 ? "" : "P" + std::to_string(pin) + ".1";
    net += name + ", ";
    if (!name.empty()) pins += (pins.empty() ? "" : " ") + name;
  }
  EXPECT_EQ(write(GetParam(), "\r\n", net + "\r\n\r\n"),
            fileOf(GetParam(), "*PART*\r\n\r\n*NET*\r\n*SIGNAL* N\r\n" + pins + "\r\n*END*\r\n"));
}

TEST_P(PadsBothForms, ANetLineBeyondTheParserCapacityFails) {
  std::string net = "BIG; 19999: ";
  for (int pin = 0; pin < 19999; ++pin) net += "U" + std::to_string(pin) + ".1, ";
  EXPECT_THROW(write(GetParam(), "\r\n", net + "\r\n\r\n"), CapacityError);
}

TEST_P(PadsBothForms, ReadingTheWrittenFileGivesBackThePartsAndNetsUpperCased) {
  std::string bigNet = "big; 20: ";
  std::string bigNetUpper = "BIG; 20: ";
  for (int pin = 1; pin <= 20; ++pin) {
    bigNet += "u" + std::to_string(pin) + ".1, ";
    bigNetUpper += "U" + std::to_string(pin) + ".1, ";
  }
  const std::string written = write(GetParam(), "dip14! 74hc00; u1: ? \r\n! 10k; resistor1: ? \r\n\r\n",
                                    "gnd; 2: u1.7, resistor1.2, \r\n" + bigNet + "\r\n\r\n");
  writeBytes("written.net", written);
  Text status;
  GetParam().reader(context, path("written.net"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "74HC00! 74HC00; U1: ? \r\n10K! 10K; RESISTOR1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 2: U1.7, RESISTOR1.2, \r\n" + bigNetUpper + "\r\n\r\n");
}

INSTANTIATE_TEST_SUITE_P(Forms, PadsBothForms, ::testing::Values(kPads2000, kPadsPcb), formName);

// Writer wrap points: 8 pins on the first line, 7 on each further one.
struct WrapCase {
  int pins;
  std::vector<int> pinsPerLine;
};

class PadsWriterWrap : public PadsTest, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(PadsWriterWrap, PutsEightPinsOnTheFirstLineAndSevenOnEachFurtherLine) {
  std::string net = "N; " + std::to_string(GetParam().pins) + ": ";
  for (int pin = 1; pin <= GetParam().pins; ++pin) net += "P" + std::to_string(pin) + ".1, ";
  std::string expected = "*SIGNAL* N\r\n";
  int pin = 1;
  for (const int onLine : GetParam().pinsPerLine) {
    for (int index = 0; index < onLine; ++index) {
      if (index > 0) expected += " ";
      expected += "P" + std::to_string(pin++) + ".1";
    }
    expected += "\r\n";
  }
  for (const Form& form : {kPads2000, kPadsPcb}) {
    EXPECT_EQ(write(form, "\r\n", net + "\r\n\r\n"), fileOf(form, "*PART*\r\n\r\n*NET*\r\n" + expected + "*END*\r\n"))
        << form.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Layout, PadsWriterWrap,
                         ::testing::Values(WrapCase{1, {1}}, WrapCase{7, {7}}, WrapCase{8, {8}}, WrapCase{9, {8, 1}},
                                           WrapCase{15, {8, 7}}, WrapCase{16, {8, 7, 1}}, WrapCase{22, {8, 7, 7}},
                                           WrapCase{23, {8, 7, 7, 1}}));

// Parts section rules, shared by both forms.
struct PartsCase {
  const char* name;
  const char* beforeNetKeyword;
  const char* expectedPartsFile;
};

class PadsPartsLines : public PadsTest, public ::testing::WithParamInterface<PartsCase> {};

TEST_P(PadsPartsLines, GiveTheirParts) {
  for (const Form& form : {kPads2000, kPadsPcb}) {
    ASSERT_EQ(read(form, std::string(GetParam().beforeNetKeyword) + "*NET*\r\n*END*\r\n"), "good") << form.name;
    EXPECT_EQ(readBytes("parts.tmp"), GetParam().expectedPartsFile) << form.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PadsPartsLines,
    ::testing::Values(
        PartsCase{"UpperCased", "*PART*\r\nu1 74ls00\r\n", "74LS00! 74LS00; U1: ? \r\n\r\n"},
        PartsCase{"WordsAfterTheReferenceRunTogether", "*PART*\r\nU1 74LS00 DIP14\r\n",
                  "74LS00DIP14! 74LS00DIP14; U1: ? \r\n\r\n"},
        PartsCase{"TabsAndBlanksAroundTheWords", "*PART*\r\n  U1\t\t74LS00  \r\n", "74LS00! 74LS00; U1: ? \r\n\r\n"},
        PartsCase{"AReferenceAloneTakesTheLastPartType", "*PART*\r\nU1 74LS00\r\nU2\r\n",
                  "74LS00! 74LS00; U1: ? \r\n74LS00! 74LS00; U2: ? \r\n\r\n"},
        PartsCase{"AReferenceAloneBeforeAnyPartTypeGivesNoPart", "*PART*\r\nU1\r\nU2 74LS00\r\n",
                  "74LS00! 74LS00; U2: ? \r\n\r\n"},
        PartsCase{"BlankLinesGiveNoPart", "*PART*\r\nU1 74LS00\r\n   \r\n\t\r\n", "74LS00! 74LS00; U1: ? \r\n\r\n"},
        PartsCase{"LinesBeforeThePartKeywordAreAHeader", "TITLE OF THE BOARD\r\nR1 10K\r\n*PART*\r\nU1 74LS00\r\n",
                  "74LS00! 74LS00; U1: ? \r\n\r\n"},
        PartsCase{"AFurtherPartKeywordKeepsThePartsAndAddsNone", "*PART*\r\nU1 74LS00\r\n*PART*\r\nU2 74LS04\r\n",
                  "74LS00! 74LS00; U1: ? \r\n74LS04! 74LS04; U2: ? \r\n\r\n"},
        PartsCase{"WithoutPartKeywordEveryLineIsAPartsLine", "U1 74LS00\r\n", "74LS00! 74LS00; U1: ? \r\n\r\n"},
        PartsCase{"NetKeywordAfterBlanks", "*PART*\r\nU1 74LS00\r\n  *net* and the rest\r\n",
                  "74LS00! 74LS00; U1: ? \r\n\r\n"},
        PartsCase{"NoParts", "*PART*\r\n", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PadsTest, RemarkLinesAreCommentsOnlyInPadsPcb) {
  const std::string input = "*REMARK* A B\r\n*PART*\r\nU1 74LS00\r\n*REMARK* NOTE\r\n*NET*\r\n*END*\r\n";
  read(kPadsPcb, input);
  EXPECT_EQ(readBytes("parts.tmp"), "74LS00! 74LS00; U1: ? \r\n\r\n");
  read(kPads2000, input);
  EXPECT_EQ(readBytes("parts.tmp"), "74LS00! 74LS00; U1: ? \r\nNOTE! NOTE; *REMARK*: ? \r\n\r\n");
}

// Nets section rules: the same input read by both forms.
struct NetsCase {
  const char* name;
  const char* afterNetKeyword;
  const char* expectedPads2000;
  const char* expectedPadsPcb;
};

class PadsNetLines : public PadsTest, public ::testing::WithParamInterface<NetsCase> {};

TEST_P(PadsNetLines, GiveTheirNets) {
  const std::string input = std::string("*PART*\r\n*NET*\r\n") + GetParam().afterNetKeyword;
  ASSERT_EQ(read(kPads2000, input), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expectedPads2000) << "PADS2000";
  ASSERT_EQ(read(kPadsPcb, input), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expectedPadsPcb) << "PADSPCB";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PadsNetLines,
    ::testing::Values(
        NetsCase{"PinsOverSeveralLines", "*SIGNAL* GND\r\nU1.7 U2.7\r\nU3.7\r\n*SIGNAL* VCC\r\nU1.14\r\n*END*\r\n",
                 "GND; 3: U1.7, U2.7, U3.7, \r\nVCC; 1: U1.14, \r\n\r\n",
                 "GND; 3: U1.7, U2.7, U3.7, \r\nVCC; 1: U1.14, \r\n\r\n"},
        NetsCase{"UpperCasedAndTabs", "*signal* gnd\r\nu1.7\tu2.7\r\n*end*\r\n", "GND; 2: U1.7, U2.7, \r\n\r\n",
                 "GND; 2: U1.7, U2.7, \r\n\r\n"},
        NetsCase{"TwoBlanksBetweenPins", "*SIGNAL* N\r\nU1.1  U2.1\r\n*END*\r\n", "N; 3: U1.1, , U2.1, \r\n\r\n",
                 "N; 2: U1.1, U2.1, \r\n\r\n"},
        NetsCase{"BlanksAtBothEndsOfALine", "*SIGNAL* N\r\n U1.1 U2.1 \r\n*END*\r\n", "N; 4: , U1.1, U2.1, , \r\n\r\n",
                 "N; 2: U1.1, U2.1, \r\n\r\n"},
        NetsCase{"EmptyLineInsideANet", "*SIGNAL* N\r\nU1.1\r\n\r\nU2.1\r\n*END*\r\n", "N; 3: U1.1, , U2.1, \r\n\r\n",
                 "N; 2: U1.1, U2.1, \r\n\r\n"},
        NetsCase{"NameRunsFromColumnTenBlanksIncluded",
                 "*SIGNAL* VCC 5V\r\nU1.1\r\n*SIGNAL*  LEAD\r\nU1.2\r\n*END*\r\n",
                 "VCC 5V; 1: U1.1, \r\n LEAD; 1: U1.2, \r\n\r\n", "VCC 5V; 1: U1.1, \r\n LEAD; 1: U1.2, \r\n\r\n"},
        NetsCase{"SignalLineWithoutName", "*SIGNAL*\r\nU1.1\r\n*SIGNAL* N\r\nU1.2\r\n*END*\r\n", "N; 1: U1.2, \r\n\r\n",
                 "N; 1: U1.2, \r\n\r\n"},
        NetsCase{"NetWithoutPins", "*SIGNAL* A\r\n*SIGNAL* B\r\nU1.1\r\n*END*\r\n", "A; 0: \r\nB; 1: U1.1, \r\n\r\n",
                 "A; 0: \r\nB; 1: U1.1, \r\n\r\n"},
        NetsCase{"PinsBeforeTheFirstSignalAreDropped", "U9.9\r\n*SIGNAL* A\r\nU1.1\r\n*END*\r\n",
                 "A; 1: U1.1, \r\n\r\n", "A; 1: U1.1, \r\n\r\n"},
        NetsCase{"EndWithoutAnySignalGivesNoNet", "U9.9\r\n\r\n*END*\r\n", "\r\n", "\r\n"},
        NetsCase{"EndAfterPinsOnItsLine", "*SIGNAL* A\r\nU1.1 *END*\r\n*SIGNAL* B\r\nU2.2\r\n", "A; 1: U1.1, \r\n\r\n",
                 "A; 1: U1.1, \r\n\r\n"},
        NetsCase{"InputEndingWithoutEndKeepsItsLastNet", "*SIGNAL* A\r\nU1.1\r\n*SIGNAL* B\r\nU2.1 U2.2",
                 "A; 1: U1.1, \r\nB; 2: U2.1, U2.2, \r\n\r\n", "A; 1: U1.1, \r\nB; 2: U2.1, U2.2, \r\n\r\n"},
        NetsCase{"NothingAfterNetKeyword", "", "\r\n", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// What the limits say a field carries is what the reader gives back.
enum class Field { netName, reference, pinName, partName };

struct LimitsCase {
  const char* name;
  Field field;
  const char* text;
  bool carriedByPads2000;
  bool carriedByPadsPcb;
};

class PadsLimits : public PadsTest, public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(PadsLimits, AgreeWithTheReader) {
  const LimitsCase& limitsCase = GetParam();
  std::string fields[] = {"N", "U1", "1", "74HC00"};
  fields[static_cast<int>(limitsCase.field)] = limitsCase.text;
  const auto& [net, reference, pin, partName] = fields;
  const std::string parts = partName + "! " + partName + "; " + reference + ": ? \r\n\r\n";
  const std::string nets = net + "; 2: " + reference + "." + pin + ", R9.2, \r\nVCC; 1: R9.1, \r\n\r\n";
  for (const auto& [form, limits, carried] : {std::tuple{kPads2000, &kPads2000Limits, limitsCase.carriedByPads2000},
                                              std::tuple{kPadsPcb, &kPadsPcbLimits, limitsCase.carriedByPadsPcb}}) {
    writeBytes("back.net", write(form, parts, nets));
    Text status;
    form.reader(context, path("back.net"), status);
    EXPECT_EQ(status == kStatusGood && readBytes("parts.tmp") == parts && readBytes("net.tmp") == nets, carried)
        << form.name;
    const FieldLimits* fieldLimits[] = {&limits->netName, &limits->reference, &limits->pinName, &limits->partName};
    EXPECT_EQ(fieldLimits[static_cast<int>(limitsCase.field)]->carries(testing::text(limitsCase.text)), carried)
        << form.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PadsLimits,
    ::testing::Values(LimitsCase{"NetNameKiCad", Field::netName, "NET-(C10-PAD1)", true, true},
                      LimitsCase{"NetNameKeyword", Field::netName, "*END*", true, true},
                      LimitsCase{"NetNameEmpty", Field::netName, "", false, false},
                      LimitsCase{"ReferenceWithDash", Field::reference, "TA-101", true, true},
                      LimitsCase{"ReferencePart", Field::reference, "*PART*", false, false},
                      LimitsCase{"ReferenceNet", Field::reference, "*NET*", false, false},
                      LimitsCase{"ReferenceRemark", Field::reference, "*REMARK*", true, false},
                      LimitsCase{"ReferenceEmpty", Field::reference, "", false, false},
                      LimitsCase{"PinNameEmpty", Field::pinName, "", true, true},
                      LimitsCase{"PinNameEnd", Field::pinName, "*END*", true, true},
                      LimitsCase{"PartNameNet", Field::partName, "*NET*", false, false},
                      LimitsCase{"PartNameBeginningWithNet", Field::partName, "*NET*X", true, true},
                      LimitsCase{"PartNameEmpty", Field::partName, "", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvanel
