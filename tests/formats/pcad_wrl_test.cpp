#include "formats/pcad_wrl.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

std::string blanks(std::size_t count) { return std::string(count, ' '); }

const std::string kHeader =
    "%\r\n"
    "% NODE                    REF. DESIGNATOR-PIN\r\n"
    "% ----                    -------------------\r\n"
    "%\r\n";

class PcadWrlTest : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status, which starts as "unset".
  std::string read(const std::string& input) {
    writeBytes("input.wrl", input);
    Text status = u"unset";
    mnpwrin(context, path("input.wrl"), status);
    return toUtf8(status);
  }

  // Writes net.tmp, runs the writer and returns the output's bytes.
  std::string write(const std::string& nets) {
    writeBytes("net.tmp", nets);
    mnpwrout(context, path("output.wrl"));
    return readBytes("output.wrl");
  }
};

TEST_F(PcadWrlTest, ReadsNetsOverContinuationLinesAndSkipsTheHeader) {
  const std::string input = kHeader +
                            "  gnd                     U1-7                u2-7\r\n" +
                            blanks(26) + "C1-2\r\n" +
                            "  VCC                     R-1-2               -5V\r\n";
  EXPECT_EQ(read(input), "unset");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 3: U1.7, U2.7, C1.2, \r\nVCC; 2: R.1-2, -5V, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

struct ReadCase {
  const char* name;
  const char* input;
  const char* expected;
};

class PcadWrlLines : public PcadWrlTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(PcadWrlLines, GiveTheirNets) {
  ASSERT_EQ(read(GetParam().input), "unset");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PcadWrlLines,
    ::testing::Values(
        ReadCase{"NameBeyondColumn25IsReadWhole", "  ABCDEFGHIJKLMNOPQRSTUVWXYZ U1-1",
                 "ABCDEFGHIJKLMNOPQRSTUVWXYZ; 1: U1.1, \r\n\r\n"},
        ReadCase{"NameAloneOnItsLine", "  GND\r\n      U1-7 U2-7", "GND; 2: U1.7, U2.7, \r\n\r\n"},
        ReadCase{"NameWithoutPinsGetsNoneOfThePreviousNet", "  A  U1-1 U2-1\r\n  B\r\n  C  U3-1",
                 "A; 2: U1.1, U2.1, \r\nB; 0: \r\nC; 1: U3.1, \r\n\r\n"},
        ReadCase{"NameBeginningInColumn1", "GND   U1-1", "GND; 1: U1.1, \r\n\r\n"},
        ReadCase{"WordWithinColumns1And2IsAPin", "X GND U1-1", "GND; 2: X, U1.1, \r\n\r\n"},
        ReadCase{"LinesTooShortForColumn3Continue", "  A U1-1\r\nX\r\n  \r\n      U2-1",
                 "A; 3: U1.1, X, U2.1, \r\n\r\n"},
        ReadCase{"PinsBeforeTheFirstNetAreLeftOut", "      U9-9\r\n  A U1-1", "A; 1: U1.1, \r\n\r\n"},
        ReadCase{"CommentOnlyWithPercentInColumn1", "  A U1-1\r\n % C\r\n%  B U2-1", "A; 3: U1.1, %, C, \r\n\r\n"},
        ReadCase{"OnlyTheFirstInnerDashTurns", "  N -5V R-1-2 U1--3", "N; 3: -5V, R.1-2, U1.-3, \r\n\r\n"},
        ReadCase{"LoneCrLineEnds", "  A U1-1\r      U2-1\r  B U3-1", "A; 2: U1.1, U2.1, \r\nB; 1: U3.1, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  std::string input;
};

class PcadWrlBad : public PcadWrlTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(PcadWrlBad, InputWithoutANetWithPinsIsBad) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, PcadWrlBad,
                         ::testing::Values(BadCase{"Empty", ""}, BadCase{"OnlyComments", "%\r\n% NODE\r\n%\r\n"},
                                           BadCase{"NamesWithoutPins", "  A\r\n  B\r\n"},
                                           BadCase{"PinsWithoutNet", "      U1-1 U2-2 U3-3\r\n"},
                                           BadCase{"BinaryGarbage", std::string("\x01\x02\x00\x7f\x1b", 5)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PcadWrlTest, InvalidBytesFailBeforeAnyFileIsWritten) {
  writeBytes("parts.tmp", "old parts");
  EXPECT_THROW(read("  A U1-1 \xff\xff\r\n"), FileError);
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
}

TEST_F(PcadWrlTest, NetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) {
    std::string input = "  BIG";
    for (int pin = 1; pin <= count; ++pin) input += " P-" + std::to_string(pin);
    return input;
  };
  ASSERT_EQ(read(netWithPins(19999)), "unset");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

TEST_F(PcadWrlTest, WritesTheHeaderAndTwoPinsALine) {
  EXPECT_EQ(write("GND; 3: U1.7, U2.7, C1.2, \r\n\r\n"),
            kHeader + "  GND" + blanks(21) + "U1-7" + blanks(16) + "U2-7\r\n" + blanks(26) + "C1-2\r\n\r\n");
}

struct LayoutCase {
  const char* name;
  const char* netLine;
  std::string written;
};

class PcadWrlLayout : public PcadWrlTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(PcadWrlLayout, PutsPinsInColumns27And47) {
  EXPECT_EQ(write(std::string(GetParam().netLine) + "\r\n\r\n"), kHeader + GetParam().written + "\r\n");
}

const std::string kName23 = "ABCDEFGHIJKLMNOPQRSTUVW";

INSTANTIATE_TEST_SUITE_P(
    Layout, PcadWrlLayout,
    ::testing::Values(
        LayoutCase{"OnePin", "N; 1: U1.1, ", "  N" + blanks(23) + "U1-1\r\n"},
        LayoutCase{"NoPins", "NC; 0: ", "  NC" + blanks(22) + "\r\n"},
        LayoutCase{"FourPins", "N; 4: A.1, B.2, C.3, D.4, ",
                   "  N" + blanks(23) + "A-1" + blanks(17) + "B-2\r\n" + blanks(26) + "C-3" + blanks(17) + "D-4\r\n"},
        LayoutCase{"Name23", "ABCDEFGHIJKLMNOPQRSTUVW; 1: U1.1, ", "  " + kName23 + " U1-1\r\n"},
        LayoutCase{"Name24", "ABCDEFGHIJKLMNOPQRSTUVWX; 1: U1.1, ", "  " + kName23 + "X U1-1\r\n"},
        LayoutCase{"Name30", "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234; 1: U1.1, ",
                   "  " + kName23 + "XYZ1234 U1-1\r\n"},
        LayoutCase{"Pin19", "N; 2: U123456789012345.78, U2.1, ",
                   "  N" + blanks(23) + "U123456789012345-78 U2-1\r\n"},
        LayoutCase{"Pin20StillGetsABlank", "N; 2: U1234567890123456.78, U2.1, ",
                   "  N" + blanks(23) + "U1234567890123456-78 U2-1\r\n"},
        LayoutCase{"EveryDotTurns", "N; 1: A.B.2, ", "  N" + blanks(23) + "A-B-2\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PcadWrlTest, WrittenFileReadsBackToTheSameNets) {
  const std::string nets =
      "GND; 5: U1.7, U2.7, C1.2, R1.1, LONGREFERENCE12345678.1, \r\n"
      "ABCDEFGHIJKLMNOPQRSTUVWXYZ; 2: U1234567890123456789.1, U2.-5V, \r\n"
      "N1; 1: U3.3, \r\n\r\n";
  ASSERT_EQ(read(write(nets)), "unset");
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

// The writer's own heading makes a netlist of a board without connections.
TEST_F(PcadWrlTest, TheWritersHeadingWithoutNetsIsAnEmptyNetlist) {
  const std::pair<std::string, std::string> inputs[] = {
      {kHeader, "\r\n"},
      {"%\r\n%   node  ref. designator-pin\r\n", "\r\n"},
      {kHeader + "  A\r\n  B\r\n", "A; 0: \r\nB; 0: \r\n\r\n"}};
  for (const auto& [input, nets] : inputs) {
    EXPECT_EQ(read(input), "unset");
    EXPECT_EQ(readBytes("parts.tmp"), "\r\n\r\n");
    EXPECT_EQ(readBytes("net.tmp"), nets);
  }
  EXPECT_TRUE(host.events.empty());
}

TEST_F(PcadWrlTest, BoardsWithoutNetsOrWithoutPinsReadBack) {
  for (const std::string nets : {"\r\n", "NC; 0: \r\n\r\n"}) {
    ASSERT_EQ(read(write(nets)), "unset");
    EXPECT_EQ(readBytes("net.tmp"), nets);
  }
}

// What the limits say a field carries is what the reader gives back.
enum class Field { netName, reference, pinName };

struct LimitsCase {
  const char* name;
  Field field;
  const char* text;
  bool carried;
};

class PcadWrlLimits : public PcadWrlTest, public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(PcadWrlLimits, AgreeWithTheReader) {
  const LimitsCase& limitsCase = GetParam();
  std::string fields[] = {"N", "U1", "1"};
  fields[static_cast<int>(limitsCase.field)] = limitsCase.text;
  const auto& [net, reference, pin] = fields;
  const std::string nets =
      "VCC; 1: R9.1, \r\n" + net + "; 2: R9.2, " + reference + "." + pin + ", \r\nGND; 1: R9.3, \r\n\r\n";
  EXPECT_EQ(read(write(nets)) == "unset" && readBytes("net.tmp") == nets, limitsCase.carried);
  const FieldLimits* limits[] = {&kPcadWrlLimits.netName, &kPcadWrlLimits.reference, &kPcadWrlLimits.pinName};
  EXPECT_EQ(limits[static_cast<int>(limitsCase.field)]->carries(testing::text(limitsCase.text)), limitsCase.carried);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PcadWrlLimits,
    ::testing::Values(LimitsCase{"NetNameKiCad", Field::netName, "NET-(C10-PAD1)", true},
                      LimitsCase{"NetNameBraces", Field::netName, "/VPP{SLASH}MCLR", true},
                      LimitsCase{"NetNameComment", Field::netName, "%NET", true},
                      LimitsCase{"NetNameEmpty", Field::netName, "", false},
                      LimitsCase{"ReferenceTa101", Field::reference, "TA-101", false},
                      LimitsCase{"ReferenceWithParentheses", Field::reference, "U(1)", true},
                      LimitsCase{"ReferenceEmpty", Field::reference, "", false},
                      LimitsCase{"PinNameWithDash", Field::pinName, "A-1", true},
                      LimitsCase{"PinNameWithDot", Field::pinName, "A.1", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvanel
