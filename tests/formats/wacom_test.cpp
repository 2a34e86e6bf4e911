#include "formats/wacom.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

const std::string kIndent(11, ' ');

class WacomTest : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.net", input);
    Text status = u"unset";
    mnwacin(context, path("input.net"), status);
    return toUtf8(status);
  }
  // Writes net.tmp (bytes) and returns the written file.
  std::string write(const std::string& nets) {
    writeBytes("net.tmp", nets);
    context.inputFormatName = u"TANGO";
    mnwacout(context, path("output.net"));
    return readBytes("output.net");
  }
};

TEST_F(WacomTest, WritesTheExampleNetOfSevenPins) {
  EXPECT_EQ(write("GND; 7: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, U3.7, \r\n\r\n"),
            "* TANGO ===> WACOM SIMPLE NET\n\n"
            "GND : U1 - 7, U2 - 7, C1 - 2, C2 - 2, C3 - 2, C4 - 2, \n" +
                kIndent + "U3 - 7.\nEND\n\r\n");
}

struct Case {
  const char* name;
  std::string from;
  std::string to;
};
std::string caseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class WacomWriter : public WacomTest, public ::testing::WithParamInterface<Case> {};

TEST_P(WacomWriter, WritesTheNet) {
  EXPECT_EQ(write(GetParam().from + "\r\n\r\n"), "* TANGO ===> WACOM SIMPLE NET\n\n" + GetParam().to + "\nEND\n\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Layout, WacomWriter,
    ::testing::Values(
        Case{"OnePin", "A; 1: U1.1, ", "A : U1 - 1."},
        Case{"SixPinsFillOneLine", "A; 6: P.1, P.2, P.3, P.4, P.5, P.6, ",
             "A : P - 1, P - 2, P - 3, P - 4, P - 5, P - 6."},
        Case{"ThirteenPins", "A; 13: P.1, P.2, P.3, P.4, P.5, P.6, P.7, P.8, P.9, P.10, P.11, P.12, P.13, ",
             "A : P - 1, P - 2, P - 3, P - 4, P - 5, P - 6, \n" + kIndent +
                 "P - 7, P - 8, P - 9, P - 10, P - 11, P - 12, \n" + kIndent + "P - 13."},
        Case{"NoPinsStillEndsWithItsDot", "NC; 0: ", "NC : ."},
        Case{"EveryDotTurns", "A; 2: R.1.2, TA-101.1, ", "A : R - 1 - 2, TA-101 - 1."},
        Case{"NameBeginningWithAStarIsNoComment", "*RESET; 1: U1.1, ", " *RESET : U1 - 1."},
        Case{"Nameless", "; 1: U1.1, ", " : U1 - 1."}),
    caseName);

TEST_F(WacomTest, ReadsTheWrittenExampleBack) {
  EXPECT_EQ(read("* TANGO ===> WACOM SIMPLE NET\n\nGND : U1 - 7, U2 - 7, C1 - 2, C2 - 2, C3 - 2, C4 - 2, \n" +
                 kIndent + "U3 - 7.\nEND\n\r\n"),
            "good");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 7: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, U3.7, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

class WacomReader : public WacomTest, public ::testing::WithParamInterface<Case> {};

TEST_P(WacomReader, ReadsTheNets) {
  ASSERT_EQ(read(GetParam().from), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().to + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WacomReader,
    ::testing::Values(
        Case{"UpperCasedWithoutBlanksAndTabs", "gnd :\tu1 - 7 , u 2-7 .", "GND; 2: U1.7, U2.7, \r\n"},
        Case{"StarLaterInALineIsText", "* A : U9-9.\r\nA : *X-1, U1-1.", "A; 2: *X.1, U1.1, \r\n"},
        Case{"OnlyTheFirstInnerDashTurns", "N : -5V, R-1-2.", "N; 2: -5V, R.1-2, \r\n"},
        Case{"ADashAfterABlankSeparates", "N : TA-101 - 1, U1 - -5V, R - 1 - 2.",
             "N; 3: TA-101.1, U1.-5V, R.1-2, \r\n"},
        Case{"EmptyTokensEndNoPin", "A : U1-1,,U2-2, .", "A; 2: U1.1, U2.2, \r\n"},
        Case{"PinWithoutItsDelimiterIsDroppedWithItsLine", "A : U1-1, U2-2\r\nU3-3.", "A; 2: U1.1, U3.3, \r\n"},
        Case{"PinsOutsideANetAreLeftOut", "U9-9, U8-8.\r\nA : U1-1. U7-7, B : U2-2.\r\nEND",
             "A; 1: U1.1, \r\nB; 1: U2.2, \r\n"},
        Case{"NetWithoutItsDotIsDropped", "A : U1-1, B : U2-2.\r\nC : U3-3,", "B; 1: U2.2, \r\n"},
        Case{"NetWithoutPins", "NC : .\r\nA : U1-1.", "NC; 0: \r\nA; 1: U1.1, \r\n"},
        Case{"NamelessNet", " : U1-1.", "; 1: U1.1, \r\n"},
        Case{"OnePinNetsAlone", "A : U1-1.\r\nB : U2-2.", "A; 1: U1.1, \r\nB; 1: U2.2, \r\n"}),
    caseName);

TEST_F(WacomTest, LineEndsLfCrLfAndLoneCrReadAlike) {
  for (const std::string lineEnd : {"\n", "\r\n", "\r"}) {
    ASSERT_EQ(read("* HEADER" + lineEnd + "A : U1-1," + lineEnd + "  U2-2." + lineEnd + "END" + lineEnd), "good");
    EXPECT_EQ(readBytes("net.tmp"), "A; 2: U1.1, U2.2, \r\n\r\n");
  }
  // A LF also ends a line in a file that holds CRs.
  read("A : U1-1, U2-2\nU3-3.\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "A; 2: U1.1, U3.3, \r\n\r\n");
}

class WacomBad : public WacomTest, public ::testing::WithParamInterface<Case> {};

TEST_P(WacomBad, InputWithoutANetIsBadAndWritesNothing) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().from), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, WacomBad,
                         ::testing::Values(Case{"Empty", "", ""}, Case{"CommentsOnly", "* A : U1-1, U2-2.\r\n", ""},
                                           Case{"DelimitersButNoNet", "Version 3.5, built 2.1: see notes", ""},
                                           Case{"NetNeverEnded", "A : U1-1, U2-2,\r\nEND\r\n", ""}),
                         caseName);

TEST_F(WacomTest, NetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) {
    std::string input = "BIG :";
    for (int pin = 1; pin <= count; ++pin) input += " P-" + std::to_string(pin) + (pin < count ? "," : ".");
    return input;
  };
  ASSERT_EQ(read(netWithPins(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

TEST_F(WacomTest, WrittenNetsReadBackAsTheyWere) {
  const std::string nets =
      "NET-(C1-PAD1); 14: C1.1, C2.1, C3.1, C4.1, C5.1, C6.1, C7.1, C8.1, C9.1, C10.1, C11.1, C12.1, TA-101.-5V, "
      "U1.14, \r\n"
      "/VPP{SLASH}MCLR; 1: U1.1, \r\nUNCONNECTED-(U1-PAD5); 1: U1.5, \r\nNC; 0: \r\n*RESET; 2: U1.2, SW1.1, \r\n"
      "電源; 2: R1.1, 抵抗1.2, \r\n; 1: J1.1, \r\n\r\n";
  writeCp932("net.tmp", nets);
  mnwacout(context, path("output.net"));
  Text status;
  mnwacin(context, path("output.net"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readCp932("net.tmp"), nets);
}

}  // namespace
}  // namespace korvanel
