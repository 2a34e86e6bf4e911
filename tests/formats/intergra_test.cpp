#include "formats/intergra.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

// A part name padded so that a blank stands in column 14, then the reference.
std::string partLine(const std::string& name, const std::string& reference) {
  return name + std::string(name.size() < 14 ? 14 - name.size() : 1, ' ') + reference;
}

class IntergraTest : public testing::ScratchTest {
 protected:
  std::string read(const std::string& input) {
    writeBytes("input.net", input);
    Text status = u"unset";
    mnintin(context, path("input.net"), status);
    return toUtf8(status);
  }
};

TEST_F(IntergraTest, ReadsAFileWithAnyLineEnds) {
  const std::vector<std::string> lines = {"INTERGRA NETLIST",
                                          "DESIGN NAME:  BOARD-1",
                                          "%part",
                                          partLine("74LS00", "U1"),
                                          partLine("CONN 20", "CN-1"),
                                          "%net",
                                          "GND U1-7 U2-7",
                                          "* U3-7",
                                          "VCC U1-14"};
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    std::string input;
    for (const std::string& line : lines) input += line + lineEnd;
    ASSERT_EQ(read(input), "good") << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readBytes("parts.tmp"), "74LS00! 74LS00; U1: ? \r\nCONN20! CONN20; CN-1: ? \r\n\r\n");
    EXPECT_EQ(readBytes("net.tmp"), "GND; 3: U1.7, U2.7, U3.7, \r\nVCC; 1: U1.14, \r\n\r\n");
  }
  EXPECT_TRUE(host.events.empty());
}

struct ReadCase {
  const char* name;
  std::string lines;
  std::string expected;
};

class IntergraParts : public IntergraTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IntergraParts, GiveTheirParts) {
  ASSERT_EQ(read("%PART\r\n" + GetParam().lines + "\r\n%NET\r\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().expected + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IntergraParts,
    ::testing::Values(ReadCase{"ShortName", partLine("R", "R1"), "R! R; R1: ? \r\n"},
                      ReadCase{"BlankBeforeColumn14EndsNothing", "74LS00 U1", ""},
                      ReadCase{"BlanksInsideTheNameAreDropped", "74 LS 00      U1    ", "74LS00! 74LS00; U1: ? \r\n"},
                      ReadCase{"LongNameEndsAtItsBlank", "SN74LS00NDIP14 U1",
                               "SN74LS00NDIP14! SN74LS00NDIP14; U1: ? \r\n"},
                      ReadCase{"TabsAreBlanks", "74LS00\t\t\t\t\t\t\t\tU1", "74LS00! 74LS00; U1: ? \r\n"},
                      ReadCase{"OneFieldGivesNoPart", "74LS00\r\n74LS00        ", ""},
                      ReadCase{"EveryLineStartsWithItsName", "CONNECTOR-20  \r\n" + partLine("74LS00", "U1"),
                               "74LS00! 74LS00; U1: ? \r\n"},
                      ReadCase{"BoardNames", partLine("r0603-10k", "TA-101"), "R0603-10K! R0603-10K; TA-101: ? \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class IntergraNets : public IntergraTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IntergraNets, GiveTheirNets) {
  ASSERT_EQ(read("%NET\r\n" + GetParam().lines), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expected + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IntergraNets,
    ::testing::Values(
        ReadCase{"NameAloneOnItsLine", "GND\r\n* U1-7 U2-7\r\n", "GND; 2: U1.7, U2.7, \r\n"},
        ReadCase{"NameAloneThenTheNextNet", "GND\r\nVCC U1-14\r\n", "GND; 0: \r\nVCC; 1: U1.14, \r\n"},
        ReadCase{"StarsAreDroppedAnywhere", "GND U1*-7 *U2-7\r\n** U3-7*\r\n", "GND; 3: U1.7, U2.7, U3.7, \r\n"},
        ReadCase{"FirstInnerDashTurns", "N U1-1 -12V R-1-2\r\n", "N; 3: U1.1, -12V, R.1-2, \r\n"},
        ReadCase{"TabsAreBlanks", "GND\tU1-7\t\tU2-7\r\n", "GND; 2: U1.7, U2.7, \r\n"},
        ReadCase{"EmptyLineEndsTheNet", "GND U1-7\r\n\r\n* U2-7\r\nVCC U1-14\r\n",
                 "GND; 1: U1.7, \r\nVCC; 1: U1.14, \r\n"},
        ReadCase{"StarLinesBeforeTheFirstNetAreDropped", "* U9-9\r\nGND U1-7\r\n", "GND; 1: U1.7, \r\n"},
        ReadCase{"LastNetWithoutLineEndIsKept", "GND U1-7\r\n* U2-7", "GND; 2: U1.7, U2.7, \r\n"},
        ReadCase{"NoNet", "", ""},
        ReadCase{"BoardNames", "Net-(C1-Pad1) C1-1 TA-101-2\r\n/VPP{slash}MCLR U1-1\r\nclk U1-2\r\nCLK U2-2\r\n",
                 "NET-(C1-PAD1); 2: C1.1, TA.101-2, \r\n/VPP{SLASH}MCLR; 1: U1.1, \r\nCLK; 1: U1.2, \r\nCLK; 1: U2.2, "
                 "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IntergraTest, JapaneseNamesReadInCp932) {
  writeCp932("input.net", "%PART\r\n抵抗" + std::string(12, ' ') + "R1\r\n%NET\r\n電源 R1-1\r\n");
  Text status;
  mnintin(context, path("input.net"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "抵抗! 抵抗; R1: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: R1.1, \r\n\r\n");
}

TEST_F(IntergraTest, WithoutNetLineTheStatusIsBadAndTheWorkingCopyStays) {
  EXPECT_EQ(read("%part\n" + partLine("74ls00", "u1") + "\n* U1-1"), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "74LS00! 74LS00; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "\r\n%PART\r\n" + partLine("74LS00", "U1") + "\r\n* U1-1\r\n");
}

TEST_F(IntergraTest, EmptyInputIsBad) {
  EXPECT_EQ(read(""), "bad");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "\r\n");
}

TEST_F(IntergraTest, ANetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) {
    std::string input = "%NET\r\nBIG";
    for (int pin = 1; pin <= count; ++pin) input += " P-" + std::to_string(pin);
    return input;
  };
  ASSERT_EQ(read(netWithPins(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

}  // namespace
}  // namespace korvanel
