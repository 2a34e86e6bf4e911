#include "formats/sfx.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

const std::string kHeader =
    "#\r\n"
    "#---------- header -------------------------------------\r\n"
    "#\r\n"
    "\t*TITLE\t\t''\r\n"
    "\t*DATE\t\t''\r\n"
    "\t*REVISION\t''\r\n"
    "\t*DATABASE\t''\r\n"
    "\t*POWER\t\t''\r\n"
    "\t*GROUND\t\t''\r\n"
    "\t*TYPE\t\t''\r\n"
    "#\r\n"
    "#---------- part -------------------------------------\r\n"
    "#\r\n"
    "    *PARTS *REFNO *PARTSNAME *PARTSNUM *PACKAGE *VALUE *RATING *TOLERANCE *CELL *GROUP *OFFSET *ANGLE "
    "*SYMBOL *SPEC *SWITCH *ADD1 *ADD2 *ADD3 *ADD4 *ADD5 *ADD6 *ADD7 *ADD8 \r\n";

const std::string kNetSection =
    "#\r\n"
    "#---------- net --------------------------------------\r\n"
    "#\r\n"
    "    *NET ''\r\n"
    "#\t name -- pin1 ---------- pin2 ---------- pin3 ---------- pin4 ----------\r\n";

std::string header(const std::string& name) {
  return "\t'" + name + "'\t*WIDTH= 0.200\t*NETATTR= 'NetClass {Default_Net_Class} PatternWidth {0.20}'\r\n";
}

std::string emptyFields(int count) {
  std::string fields;
  for (int field = 0; field < count; ++field) fields += "\t''";
  return fields;
}

class SfxTest : public testing::ScratchTest {
 protected:
  std::string read(const std::string& input) {
    writeBytes("input.sfx", input);
    Text status = u"unset";
    mnsfxin(context, path("input.sfx"), status);
    return toUtf8(status);
  }

  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mnsfxout(context, path("output.sfx"));
    return readBytes("output.sfx");
  }
};

TEST_F(SfxTest, WritesHeaderPartsAndTheNetOfTheExample) {
  EXPECT_EQ(write("DIP14! 74HC00; U1: ? \r\n\r\n", "GND; 5: U1.7, U2.7, C1.2, C2.2, C3.2, \r\n\r\n"),
            kHeader + "\t'U1'\t'74HC00'\t''\t'DIP14'" + emptyFields(18) + "\r\n" + kNetSection + header("GND") +
                "\t\t'U1'/'7'\t'U2'/'7'\t'C1'/'2'\t'C2'/'2'\r\n"
                "\t\t'C3'/'2'\r\n"
                "\r\n");
}

struct LayoutCase {
  const char* name;
  const char* netLine;
  const char* written;
};

class SfxNetLayout : public SfxTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(SfxNetLayout, WritesFourPinsALine) {
  EXPECT_EQ(write("\r\n", std::string(GetParam().netLine) + "\r\n\r\n"),
            kHeader + kNetSection + GetParam().written + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Layout, SfxNetLayout,
    ::testing::Values(
        LayoutCase{"OnePinThenTheNextHeader", "A; 1: U1.1, \r\nB; 1: U2.1, ",
                   "\t'A'\t*WIDTH= 0.200\t*NETATTR= 'NetClass {Default_Net_Class} PatternWidth {0.20}'\r\n"
                   "\t\t'U1'/'1'\r\n"
                   "\t'B'\t*WIDTH= 0.200\t*NETATTR= 'NetClass {Default_Net_Class} PatternWidth {0.20}'\r\n"
                   "\t\t'U2'/'1'\r\n"},
        LayoutCase{"NoPinsEndsTheOpenedPinLine", "NC; 0: ",
                   "\t'NC'\t*WIDTH= 0.200\t*NETATTR= 'NetClass {Default_Net_Class} PatternWidth {0.20}'\r\n\t\r\n"},
        LayoutCase{"FourPinsFillOneLine", "N; 4: A.1, B.2, C.3, D.4, ",
                   "\t'N'\t*WIDTH= 0.200\t*NETATTR= 'NetClass {Default_Net_Class} PatternWidth {0.20}'\r\n"
                   "\t\t'A'/'1'\t'B'/'2'\t'C'/'3'\t'D'/'4'\r\n"},
        LayoutCase{"PiecesOfEveryDot", "Net-(C1-Pad1); 3: U17, U1.A.1, TA-101.-5V, ",
                   "\t'Net-(C1-Pad1)'\t*WIDTH= 0.200\t*NETATTR= 'NetClass {Default_Net_Class} PatternWidth {0.20}'\r\n"
                   "\t\t'U17'\t'U1'/'A'/'1'\t'TA-101'/'-5V'\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

std::string sfxFile(const std::string& parts, const std::string& nets) { return kHeader + parts + kNetSection + nets; }

struct ReadCase {
  const char* name;
  std::string input;
  const char* parts;
  const char* nets;
};

class SfxReadRules : public SfxTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SfxReadRules, GivePartsAndNets) {
  ASSERT_EQ(read(GetParam().input), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets);
  EXPECT_TRUE(host.events.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SfxReadRules,
    ::testing::Values(
        ReadCase{"PartNumberStaysOutOfThePackage",
                 sfxFile("\t'u1'\t'74hc00'\t'sn74'\t'dip 14'\t'v'\r\n\t'R1'\t''\t''\t'0603'\r\n", ""),
                 "DIP14! 74HC00; U1: ? \r\n0603! X; R1: ? \r\n\r\n", "\r\n"},
        ReadCase{"EmptyAndBareLinesListNoPart", sfxFile("\r\n  \t\r\n*END\r\n# 'U9' 'C'\r\n\t'U1'\r\n", ""),
                 "! ; U1: ? \r\n\r\n", "\r\n"},
        ReadCase{"OnePieceAndThreePiecePins",
                 sfxFile("", header("gnd") + "\t\t'U17'\t'U1'/'a'/'1'\t'C1'/'2'\t'-5V'\r\n\t\t'R1'/'2'\r\n"), "\r\n",
                 "GND; 5: U17, U1.A.1, C1.2, -5V, R1.2, \r\n\r\n"},
        ReadCase{"SlashInsideQuotesStays", sfxFile("", header("/VPP{slash}MCLR") + "\t\t'U1/2'/'3'\r\n"), "\r\n",
                 "/VPP{SLASH}MCLR; 1: U1/2.3, \r\n\r\n"},
        ReadCase{"FirstNetWithoutPinsIsKept",
                 sfxFile("", header("unconnected-(U1-Pad5)") + "\t\r\n" + header("B") + "\t\t'U2'/'1'\r\n"), "\r\n",
                 "UNCONNECTED-(U1-PAD5); 0: \r\nB; 1: U2.1, \r\n\r\n"},
        ReadCase{"StrayPinsAndNamelessNetsAreLeftOut",
                 sfxFile("", "\t\t'U9'/'9'\r\n" + header("A") + "\t\t'U1'/'1'\r\n" + header("") + "\t\t'U2'/'2'\r\n" +
                                 header("B") + "\t\t'U3'/'3'\r\n"),
                 "\r\n", "A; 1: U1.1, \r\nB; 1: U3.3, \r\n\r\n"},
        ReadCase{"CommentsKeywordsBareWordsAndEmptyPiecesAreNoPins",
                 sfxFile("", header("A") + "# 'U8'/'8'\r\n\t\t'U1'/'1' WORD '' ''/''\r\n*END 'X'\r\n"), "\r\n",
                 "A; 1: U1.1, \r\n\r\n"},
        ReadCase{"PinsOnTheHeaderLineAreIgnored", sfxFile("", "\t'A' *WIDTH 'U1'/'1'\r\n"), "\r\n", "A; 0: \r\n\r\n"},
        ReadCase{"LfOnlyLineEnds",
                 "*PARTS\n\t'TA-101'\t'Cap'\t''\t'C_0603'\n*NET ''\n\t'Net-(C1-Pad1)' *W\n\t\t'TA-101'/'1'\n",
                 "C_0603! CAP; TA-101: ? \r\n\r\n", "NET-(C1-PAD1); 1: TA-101.1, \r\n\r\n"},
        ReadCase{"FileEndsRightAfterParts", "*PARTS", "\r\n", "\r\n"},
        ReadCase{"FileEndsOnAComment", "*PARTS\r\n\t'U1'\t'A'\t''\t'B'\r\n# end", "B! A; U1: ? \r\n\r\n", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  const char* input;
};

class SfxBad : public SfxTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(SfxBad, LeavesTheIntermediateFilesAlone) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, SfxBad,
                         ::testing::Values(BadCase{"Empty", ""}, BadCase{"CommentsOnly", "#\r\n# *PARTS\r\n"},
                                           BadCase{"NetBeforeParts", "*NET ''\r\n*PARTS\r\n\t'A' *W\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SfxTest, WrittenFileReadsBackToTheSamePartsAndNets) {
  const std::string parts = "DIP14! 74HC00; U1: ? \r\nC_0603! CAP; TA-101: ? \r\n\r\n";
  const std::string nets =
      "NET-(C1-PAD1); 5: U1.1, TA-101.1, U17, U1.A.1, U1/2.3, \r\nNC; 0: \r\n/VPP{SLASH}MCLR; 1: U1.., \r\n\r\n";
  ASSERT_EQ(read(write(parts, nets)), "good");
  EXPECT_EQ(readBytes("parts.tmp"), parts);
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

TEST_F(SfxTest, JapanesePartNamesPassThroughCp932) {
  writeCp932("parts.tmp", "抵抗! 抵抗器; R1: ? \r\n\r\n");
  writeBytes("net.tmp", "\r\n");
  mnsfxout(context, path("output.sfx"));
  const std::string partLine = "\t'R1'\t'抵抗器'\t''\t'抵抗'\t''";
  EXPECT_EQ(readCp932("output.sfx").substr(kHeader.size(), partLine.size()), partLine);
  ASSERT_EQ(read(readBytes("output.sfx")), "good");
  EXPECT_EQ(readCp932("parts.tmp"), "抵抗! 抵抗器; R1: ? \r\n\r\n");
}

TEST_F(SfxTest, NetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) {
    std::string pins;
    for (int pin = 1; pin <= count; ++pin) pins += "\t'P'/'" + std::to_string(pin) + "'";
    return sfxFile("", header("BIG") + pins + "\r\n");
  };
  ASSERT_EQ(read(netWithPins(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

}  // namespace
}  // namespace korvanel
