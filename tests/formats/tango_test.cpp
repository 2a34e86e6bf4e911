#include "formats/tango.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace korvanel {
namespace {

// Lines written with "\n" in the tables, given CR LF line ends.
std::string crlf(const std::string& lines) {
  std::string converted;
  for (const char character : lines) converted += character == '\n' ? std::string("\r\n") : std::string(1, character);
  return converted;
}

const std::string kHeader = "\ntango\n\n\n\n\n\n\n";
const std::string kWrittenLayout = kHeader + "[\nU1\nDIP14\n74HC00\n\n\n\n]\n(\nGND\nU1,7\nU2,7\n)\n\n";

class TangoTest : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.net", input);
    Text status;
    mntanin(context, path("input.net"), status);
    return toUtf8(status);
  }

  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mntanout(context, path("output.net"));
    return readBytes("output.net");
  }
};

struct ReadCase {
  const char* name;
  std::string input;
  const char* parts;
  const char* nets;
};

class TangoReading : public TangoTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(TangoReading, GivesThePartsAndNets) {
  ASSERT_EQ(read(crlf(GetParam().input)), "good");
  EXPECT_EQ(readBytes("parts.tmp"), crlf(GetParam().parts) + "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), crlf(GetParam().nets) + "\r\n");
  EXPECT_TRUE(host.events.empty());
}

const std::string kOneNet = "(\nN\nU1-1\n)\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, TangoReading,
    ::testing::Values(
        ReadCase{"WrittenLayout", kWrittenLayout, "DIP14! 74HC00; U1: ? \n", "GND; 2: U1.7, U2.7, \n"},
        ReadCase{"FieldInParenthesesStaysInItsBlock", "[\nU1\n(NC)\n74HC00\n]\n" + kOneNet, "(NC! 74HC00; U1: ? \n",
                 "N; 1: U1.1, \n"},
        ReadCase{"FirstNetNamedOnItsOpeningLine", "[\nU1\nDIP14\n74HC00\n]\n\"(GND\nU1-7\n)\n(VCC\nU1-14\n)",
                 "DIP14! 74HC00; U1: ? \n", "GND; 1: U1.7, \nVCC; 1: U1.14, \n"},
        ReadCase{"AdditionalTextIsTheBlocksOwnLaterLines",
                 "[\nU1\nDIP14\n74HC00\n\nquad nand\n\ngate\n]\n[\nU2\nSO8\nLM358\n\n\n\n]\n" + kOneNet,
                 "DIP14! 74HC00; U1: QUADNAND GATE? \nSO8! LM358; U2: ? \n", "N; 1: U1.1, \n"},
        ReadCase{"BlockWithoutPartNameGivesNoPart", "[\nTP1\nPAD\n\n]\n[\nU1\nDIP14\n]\n" + kOneNet, "",
                 "N; 1: U1.1, \n"},
        ReadCase{"PartLinesLoseBlanksQuotesAndClosingParentheses", "[\n\"r 1\"\n0805 (smd)\n100 uF\n]\n" + kOneNet,
                 "0805(SMD! 100UF; R1: ? \n", "N; 1: U1.1, \n"},
        ReadCase{"MarksWithTrailingBlanksAndBracketsInsideFields",
                 "tango\n[ \nJ1\nHDR[2X5]\nBUS[0..7]\n] \n  (  \nN\nJ1-1\n)", "HDR[2X5]! BUS[0..7]; J1: ? \n",
                 "N; 1: J1.1, \n"},
        ReadCase{"BlocksAfterTheFirstNetAreNotParts", "[\nU1\nDIP14\n74HC00\n]\n" + kOneNet + "[\nU2\nSO8\nLM358\n]\n",
                 "DIP14! 74HC00; U1: ? \n", "N; 1: U1.1, \n"},
        ReadCase{"CommaSeparatesBeforeAnyDash", "(\nN\nU1,7\nU1-7\nR-1-2\nR,1-2\nTA-101,1\n-5V\nU1,IN-\n)", "",
                 "N; 7: U1.7, U1.7, R.1-2, R.1-2, TA-101.1, -5V, U1.IN-, \n"},
        ReadCase{"QuotesStayInNetNamesAndPins", "(\n\"Net-(C1-Pad1)\"\n\"C1-1\"\n)", "",
                 "\"NET-(C1-PAD1)\"; 1: \"C1.1\", \n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TangoTest, ReadsLfOnlyFilesAsWrittenByTools) {
  ASSERT_EQ(read("\ntango\n\n[\nC1\nRAD0.1\n100nF\n\n\n\n]\n(\nNet-(C1-Pad1)\nC1-1\n)\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "RAD0.1! 100NF; C1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "NET-(C1-PAD1); 1: C1.1, \r\n\r\n");
}

TEST_F(TangoTest, JapanesePartNamesReadThroughCp932) {
  writeCp932("input.net", "[\r\nR1\r\nチップ\r\n抵抗\r\n]\r\n(\r\n電源\r\nR1-1\r\n)\r\n");
  Text status;
  mntanin(context, path("input.net"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "チップ! 抵抗; R1: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: R1.1, \r\n\r\n");
}

class TangoBad : public TangoTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(TangoBad, LeavesBothIntermediateFilesUntouched) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(crlf(GetParam())), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, TangoBad,
                         ::testing::Values("", "\ntango\n[\nU1\nDIP14\n74HC00\n]\n", "[\nU1\n(NC)\n(\nN\nU1-1\n)\n",
                                           "NET (\nN\nU1-1\n)\n"));

TEST_F(TangoTest, WritesTheLayoutVerbatim) {
  EXPECT_EQ(write("DIP14! 74HC00; U1: ? \r\n\r\n", "GND; 2: U1.7, U2.7, \r\n\r\n"), crlf(kWrittenLayout));
}

struct LayoutCase {
  const char* name;
  const char* parts;
  const char* nets;
  const char* body;
};

class TangoLayout : public TangoTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(TangoLayout, WritesBlocksAfterTheHeader) {
  EXPECT_EQ(write(crlf(GetParam().parts) + "\r\n", crlf(GetParam().nets) + "\r\n"),
            crlf(kHeader + GetParam().body + "\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Layout, TangoLayout,
    ::testing::Values(LayoutCase{"Empty", "", "", "(\n)\n"},
                      LayoutCase{"AdditionalTextIsNotWritten", "SO8! LM358; U2: DUAL? \n", "",
                                 "[\nU2\nSO8\nLM358\n\n\n\n]\n(\n)\n"},
                      LayoutCase{"OnlyTheFirstDotTurns", "", "N; 3: R.1.2, TA-101.1, U1.IN-, \n",
                                 "(\nN\nR,1.2\nTA-101,1\nU1,IN-\n)\n"},
                      LayoutCase{"NetWithoutPins", "", "NC; 0: \n", "(\nNC\n)\n"},
                      LayoutCase{"NamelessNetIsLeftOut", "", "; 1: U1.1, \nN; 1: U2.1, \n", "(\nN\nU2,1\n)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TangoTest, WrittenFileReadsBackToTheSameIntermediateFiles) {
  const std::string parts = "DIP14! 74HC00; U1: ? \r\nTO-92! 2SC1815; TA-101: ? \r\nHDR[2X5]! BUS[0]; J1: ? \r\n\r\n";
  const std::string nets =
      "NET-(C1-PAD1); 3: C1.1, R.1.2, TA-101.1, \r\n/VPP{SLASH}MCLR; 1: U1.1, \r\n"
      "UNCONNECTED-(U1-PAD5); 1: U1.5, \r\nNC; 0: \r\nGND; 3: U1.IN-, R.1-2, -5V.1, \r\n\r\n";
  writeBytes("written.net", write(parts, nets));
  Text status;
  mntanin(context, path("written.net"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), parts);
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

TEST(TangoLimits, NameTheFieldsThatDoNotReadBack) {
  EXPECT_TRUE(kTangoLimits.netName.carries(u"UNCONNECTED-(U1-PAD5)"));
  EXPECT_FALSE(kTangoLimits.netName.carries(u"(A)"));
  EXPECT_TRUE(kTangoLimits.reference.carries(u"TA-101"));
  EXPECT_FALSE(kTangoLimits.partName.carries(u"100 UF"));
  EXPECT_FALSE(kTangoLimits.partName.carries(u""));
  EXPECT_TRUE(kTangoLimits.package.carries(u""));
}

}  // namespace
}  // namespace korvanel
