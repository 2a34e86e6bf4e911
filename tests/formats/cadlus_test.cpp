#include "formats/cadlus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

class CadlusTest : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status, which starts as "unset".
  std::string read(const std::string& input) {
    writeBytes("input.net", input);
    Text status = u"unset";
    mnclpin(context, path("input.net"), status);
    return toUtf8(status);
  }
};

TEST_F(CadlusTest, ReadsNetsOverContinuationLinesAndSkipsTitles) {
  EXPECT_EQ(read("CADLUS-PC REVERSE NET\r\n"
                 "* comment\r\n"
                 " gnd u1-7 U2-7\r\n"
                 "    C1-2\r\n"
                 "\r\n"
                 " Net-(C1-Pad1) TA-101-1\r\n"),
            "unset");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 3: U1.7, U2.7, C1.2, \r\nNET-(C1-PAD1); 1: TA.101-1, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

struct ReadCase {
  const char* name;
  const char* input;
  const char* nets;
};

class CadlusLines : public CadlusTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(CadlusLines, GiveTheirNets) {
  ASSERT_EQ(read(GetParam().input), "unset");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CadlusLines,
    ::testing::Values(
        ReadCase{"RunsOfSpacesAndTrailingSpacesGiveNoPins", " A   U1-1    U2-1   \r\n     \r\n",
                 "A; 2: U1.1, U2.1, \r\n\r\n"},
        ReadCase{"TabSeparatesWords", " A\tU1-1\t\tU2-1\r\n \tU3-1\r\n", "A; 3: U1.1, U2.1, U3.1, \r\n\r\n"},
        ReadCase{"OnlyTheFirstInnerDashTurns", " N -5V R-1-2 U1--3", "N; 3: -5V, R.1-2, U1.-3, \r\n\r\n"},
        ReadCase{"NameBeyondColumn25IsReadWhole", " UNCONNECTED-(U1-PAD5)-LONG U1-5",
                 "UNCONNECTED-(U1-PAD5)-LONG; 1: U1.5, \r\n\r\n"},
        ReadCase{"NameAloneOnItsLine", " /VPP{slash}MCLR\r\n  U1-1\r\n  U2-1",
                 "/VPP{SLASH}MCLR; 2: U1.1, U2.1, \r\n\r\n"},
        ReadCase{"NameWithoutPinsGetsNoneOfThePreviousNet", " A U1-1 U2-1\r\n B\r\n C U3-1",
                 "A; 2: U1.1, U2.1, \r\nB; 0: \r\nC; 1: U3.1, \r\n\r\n"},
        ReadCase{"PinsBeforeTheFirstNetAreLeftOut", "  U9-9\r\n A U1-1", "A; 1: U1.1, \r\n\r\n"},
        ReadCase{"LinesNotBeginningWithASpaceAreSkipped", " A U1-1\r\n\tU2-1\r\nB U3-1\r\n ", "A; 1: U1.1, \r\n\r\n"},
        ReadCase{"NamesDifferingInCaseMeetInUpperCase", " Vcc U1-1\r\n VCC U2-1",
                 "VCC; 1: U1.1, \r\nVCC; 1: U2.1, \r\n\r\n"},
        ReadCase{"LfOnlyLineEnds", "TITLE\n A U1-1\n  U2-1\n B U3-1\n", "A; 2: U1.1, U2.1, \r\nB; 1: U3.1, \r\n\r\n"},
        ReadCase{"LoneCrLineEnds", " A U1-1\r  U2-1\r B U3-1", "A; 2: U1.1, U2.1, \r\nB; 1: U3.1, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  std::string input;
};

class CadlusBad : public CadlusTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(CadlusBad, InputWithoutANetWithPinsIsBad) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, CadlusBad,
                         ::testing::Values(BadCase{"Empty", ""}, BadCase{"TitlesOnly", "TITLE\r\nGND U1-1\r\n"},
                                           BadCase{"NamesWithoutPins", " A\r\n B\r\n"},
                                           BadCase{"PinsWithoutNet", "  U1-1 U2-2\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CadlusTest, JapaneseNetNamesPassThroughCp932) {
  writeCp932("input.net", " 電源 U1-1\r\n");
  Text status;
  mnclpin(context, path("input.net"), status);
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: U1.1, \r\n\r\n");
}

TEST_F(CadlusTest, NetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) {
    std::string input = " BIG";
    for (int pin = 1; pin <= count; ++pin) input += " P-" + std::to_string(pin);
    return input;
  };
  ASSERT_EQ(read(netWithPins(19999)), "unset");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

}  // namespace
}  // namespace korvanel
