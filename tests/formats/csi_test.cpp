#include "formats/csi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

const std::string kTrailer = ".EODNET\r\n.WID\r\n.DEFWID 0.00 mil\r\n.EODWID\r\n.end of file\r\n";

class CsiTest : public testing::ScratchTest {
 protected:
  std::string read(const std::string& input) {
    writeBytes("input.csi", input);
    Text status = u"unset";
    mncsiin(context, path("input.csi"), status);
    return toUtf8(status);
  }

  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    context.inputFormatName = u"PADSPCB";
    mncsiout(context, path("output.csi"));
    return readBytes("output.csi");
  }
};

TEST_F(CsiTest, WritesHeaderPartsNetsAndTrailer) {
  EXPECT_EQ(write("DIP14! 74HC00; U1: ? \r\n! C100; C1: X? \r\n\r\n", "GND; 2: U1.7, C1.2, \r\nNC; 0: \r\n\r\n"),
            "* PADSPCB ===> CSI Netlist Ver 1.0\r\n"
            ".COM\r\n"
            "U1\t74HC00\t***\r\n"
            "C1\tC100\t***\r\n"
            ".EODCOM\r\n"
            ".NET\r\n"
            "SIGNAL:\tGND 0 {\r\n"
            "\tU1 7 0\r\n"
            "\tC1 2 0\r\n"
            "}\r\n"
            "SIGNAL:\tNC 0 {\r\n"
            "}\r\n" +
                kTrailer + "\r\n");
}

struct PinCase {
  const char* name;
  const char* netLine;
  const char* written;
};

class CsiPinLines : public CsiTest, public ::testing::WithParamInterface<PinCase> {};

TEST_P(CsiPinLines, SplitAtTheFirstDot) {
  EXPECT_EQ(write("\r\n", std::string(GetParam().netLine) + "\r\n\r\n"),
            std::string("* PADSPCB ===> CSI Netlist Ver 1.0\r\n.COM\r\n.EODCOM\r\n.NET\r\n") + GetParam().written +
                "}\r\n" + kTrailer + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Layout, CsiPinLines,
                         ::testing::Values(PinCase{"TwoDotsKeepTheSecond", "N; 1: U1.A.1, ",
                                                   "SIGNAL:\tN 0 {\r\n\tU1 A.1 0\r\n"},
                                           PinCase{"RealBoardNames", "Net-(C1-Pad1); 2: TA-101.-5V, C1.1, ",
                                                   "SIGNAL:\tNet-(C1-Pad1) 0 {\r\n\tTA-101 -5V 0\r\n\tC1 1 0\r\n"},
                                           PinCase{"PinsWithoutReferenceOrNumberAreLeftOut",
                                                   "N; 4: U17, U1., .5, R1.2, ", "SIGNAL:\tN 0 {\r\n\tR1 2 0\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ReadCase {
  const char* name;
  std::string input;
  const char* parts;
  const char* nets;
};

class CsiReadRules : public CsiTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(CsiReadRules, GivePartsAndNets) {
  ASSERT_EQ(read(GetParam().input), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets);
  EXPECT_TRUE(host.events.empty());
}

std::string csiNets(const std::string& nets) { return ".COM\r\n.EODCOM\r\n.NET\r\n" + nets; }

INSTANTIATE_TEST_SUITE_P(
    Rules, CsiReadRules,
    ::testing::Values(
        ReadCase{"PartFields",
                 "u1 c100 ***\r\n.COM\r\n* R9 X Y\r\nR1\t1K\tA B ***\r\nC1 C100\r\n.EODCOM x y z\r\n.NETWORK\r\n",
                 "! C100; U1: ? \r\nB! 1K; R1: ? \r\n\r\n", "\r\n"},
        ReadCase{"NetsOfTheWriter", csiNets("SIGNAL:\tgnd 0 {\r\n\tu1 7 0\r\n\tC1 2 0\r\n}\r\n") + kTrailer, "\r\n",
                 "GND; 2: U1.7, C1.2, \r\n\r\n"},
        ReadCase{"TabsEndFields", csiNets("SIGNAL:\tA\t0 {\r\n\tU1\t7\t0\r\n}\r\n"), "\r\n", "A; 1: U1.7, \r\n\r\n"},
        ReadCase{"LoneReferenceGivesNoPin", csiNets("SIGNAL:\tA 0 {\r\n\tU1\r\n\tU2 3 0\r\n}\r\n"), "\r\n",
                 "A; 1: U2.3, \r\n\r\n"},
        ReadCase{"BraceInsideAPin", csiNets("SIGNAL:\tA 0 {\r\n\tU}1 2 0\r\n\t{U2} } 0\r\n\tU3 3 0\r\n}\r\n"), "\r\n",
                 "A; 3: U}1.2, {U2}.}, U3.3, \r\n\r\n"},
        ReadCase{"NameAtTheEndOfItsLine", csiNets("SIGNAL:\t/VPP{slash}MCLR\r\n\tU1 1 0\r\n}\r\n"), "\r\n",
                 "/VPP{SLASH}MCLR; 1: U1.1, \r\n\r\n"},
        ReadCase{"PinsOnTheHeaderLineAreLost", csiNets("SIGNAL:\tA 0 { U1 1 0\r\n}\r\n"), "\r\n", "A; 0: \r\n\r\n"},
        ReadCase{"NetWithoutBraceEndsAtTheNextHeader",
                 csiNets("SIGNAL:\tA 0 {\r\n\tU1 1 0\r\nSIGNAL:\tB 0 {\r\n\tU2 2\r\n"), "\r\n",
                 "A; 1: U1.1, \r\nB; 1: U2.2, \r\n\r\n"},
        ReadCase{"NetWithoutBraceEndsAtTheTrailer", csiNets("SIGNAL:\tA 0 {\r\n\tU1 1 0\r\n") + kTrailer, "\r\n",
                 "A; 1: U1.1, \r\n\r\n"},
        ReadCase{"BraceWithoutNameGivesNoNet", csiNets("SIGNAL:\r\n}\r\n\tU1 1 0\r\n}\r\n"), "\r\n", "\r\n"},
        ReadCase{"LfOnly", ".COM\nTA-101 CAP ***\n.NET\nSIGNAL:\tunconnected-(U1-Pad5) 0 {\n\tU1 5 0\n}\n",
                 "! CAP; TA-101: ? \r\n\r\n", "UNCONNECTED-(U1-PAD5); 1: U1.5, \r\n\r\n"},
        ReadCase{"EndsAfterTheComLine", ".COM", "\r\n", "\r\n"},
        ReadCase{"EndsAfterTheEodcomLine", ".COM\r\nU1 A ***\r\n.EODCOM", "! A; U1: ? \r\n\r\n", "\r\n"},
        ReadCase{"EndsAfterAComment", ".COM\r\n* last", "\r\n", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  const char* input;
};

class CsiBad : public CsiTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(CsiBad, LeavesTheIntermediateFilesAlone) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, CsiBad,
                         ::testing::Values(BadCase{"Empty", ""}, BadCase{"PartsWithoutCom", "U1 A ***\r\n.EODCOM\r\n"},
                                           BadCase{"NetBeforeCom", ".NET\r\n.COM\r\n"},
                                           BadCase{"ComAfterOtherText", "X.COM\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CsiTest, WrittenFileReadsBackToTheSamePartsAndNets) {
  const std::string nets = "NET-(C1-PAD1); 3: U1.1, TA-101.-5V, U1.A.1, \r\nNC; 0: \r\nVCC; 1: U}1.2, \r\n\r\n";
  ASSERT_EQ(read(write("DIP14! 74HC00; U1: ? \r\n\r\n", nets)), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "! 74HC00; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

TEST_F(CsiTest, JapanesePartNamesPassThroughCp932) {
  writeCp932("input.csi", ".COM\r\nR1\t抵抗器\t***\r\n.NET\r\n");
  ASSERT_EQ(read(readBytes("input.csi")), "good");
  EXPECT_EQ(readCp932("parts.tmp"), "! 抵抗器; R1: ? \r\n\r\n");
}

TEST_F(CsiTest, NetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) {
    std::string pins;
    for (int pin = 1; pin <= count; ++pin) pins += "\tP " + std::to_string(pin) + " 0\r\n";
    return csiNets("SIGNAL:\tBIG 0 {\r\n" + pins + "}\r\n");
  };
  ASSERT_EQ(read(netWithPins(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

}  // namespace
}  // namespace korvanel
