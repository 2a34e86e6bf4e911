#include "formats/protel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

// Lines written with "\n" in the tables, given CR LF line ends.
std::string crlf(const std::string& lines) {
  std::string converted;
  for (const char character : lines) converted += character == '\n' ? std::string("\r\n") : std::string(1, character);
  return converted;
}

using ReadFunction = void (*)(const ConversionContext&, const std::filesystem::path&, Text&);

class ProtelTest : public testing::ScratchTest {
 protected:
  ProtelTest() { context.inputFormatName = u"PROTEL"; }

  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input, ReadFunction reader = mnproin) {
    writeBytes("input.net", input);
    Text status;
    reader(context, path("input.net"), status);
    return toUtf8(status);
  }

  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mnproout(context, path("output.net"));
    return readBytes("output.net");
  }
};

const std::string kWrittenExample =
    "PROTEL ===> D2 CAD NET LIST FILE\n\n[\nU1\nDIP14\n74HC00\n\n\n\n]\n(\nGND\nU1-7\nU2-7\n)\n\n";

struct ReadCase {
  const char* name;
  ReadFunction reader;
  std::string input;
  const char* parts;
  const char* nets;
};

class ProtelReading : public ProtelTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ProtelReading, GivesThePartsAndNets) {
  ASSERT_EQ(read(crlf(GetParam().input), GetParam().reader), "good");
  EXPECT_EQ(readBytes("parts.tmp"), crlf(GetParam().parts) + "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), crlf(GetParam().nets) + "\r\n");
  EXPECT_TRUE(host.events.empty());
}

const std::string kOneNet = "(\nN\nU1-1\n)\n";

INSTANTIATE_TEST_SUITE_P(
    PartBlocks, ProtelReading,
    ::testing::Values(
        ReadCase{"WrittenExample", mnproin, kWrittenExample, "DIP14! 74HC00; U1: ? \n", "GND; 2: U1.7, U2.7, \n"},
        ReadCase{"ThreeFieldBlockIsClosedByItsBracket", mnproin,
                 "[\nR1\nAXIAL0.4\n10K\n]\n[\nC1\nRAD0.1\n100N\nCERAMIC\n]\n" + kOneNet,
                 "AXIAL0.4! 10K; R1: ? \nRAD0.1! 100N; C1: CERAMIC? \n", "N; 1: U1.1, \n"},
        ReadCase{"MarksWithBlanksAroundThem", mnproin, "[ \nU1\nDIP14\n74HC00\n]\t\n  (  \nGND\nU1-7\n ) \n",
                 "DIP14! 74HC00; U1: ? \n", "GND; 1: U1.7, \n"},
        ReadCase{"FieldsAreWholeUpperCasedLines", mnproin,
                 "[\nu1\ndip 14\n74hc 00\nquad nand\nfifth line\n]\n" + kOneNet,
                 "DIP 14! 74HC 00; U1: QUAD NAND? \n", "N; 1: U1.1, \n"},
        ReadCase{"ABlockLeftOpenEndsAtTheNextOne", mnproin, "[\nU1\nDIP14\n74HC00\n[\nU2\nSO8\nLM358\n]\n" + kOneNet,
                 "DIP14! 74HC00; U1: ? \nSO8! LM358; U2: ? \n", "N; 1: U1.1, \n"},
        ReadCase{"EmptyBlocksGiveNoPart", mnproin, "[\n]\n[\n\n\n\n\n]\n" + kOneNet, "", "N; 1: U1.1, \n"},
        ReadCase{"ParenthesisInsideABlockIsAField", mnproin, "[\nU1\n(\n(NC)\n]\n" + kOneNet, "(! (NC); U1: ? \n",
                 "N; 1: U1.1, \n"},
        ReadCase{"DelimitersOfThePartsLineAreMadeSafe", mnproin,
                 "[\nR1\nResistor_SMD:R_0805\n10K!\n10K; 1% 0.1W\n]\n" + kOneNet,
                 "R_0805! 10K_; R1: 10K_ 1% 0.1W? \n", "N; 1: U1.1, \n"},
        ReadCase{"BracketsInsideAFieldStayInIt", mnproin, "[\nJ1\nHDR[2X5]\nBUS[0..7]\n]\n" + kOneNet,
                 "HDR[2X5]! BUS[0..7]; J1: ? \n", "N; 1: U1.1, \n"},
        ReadCase{"Protel2FieldsAfterKeywordsMakeOnePartPerBlock", mnpr2in,
                 "PROTEL NETLIST 2.0\n[\nDESIGNATOR\nU1\nPARTTYPE\n74HC00\nFOOTPRINT\n\"DIP14\"\nDESCRIPTION\n"
                 "\"Quad NAND\"\n]\n[\nPARTTYPE\nLM358\nDESIGNATOR\nU2\n]\n" +
                     kOneNet,
                 "DIP14! 74HC00; U1: QUADNAND? \n! LM358; U2: ? \n", "N; 1: U1.1, \n"},
        ReadCase{"Protel2BlockWithoutPartTypeGivesNoPart", mnpr2in, "[\nDESIGNATOR\nU1\nFOOTPRINT\nDIP14\n]\n" + kOneNet,
                 "", "N; 1: U1.1, \n"},
        ReadCase{"Protel2KeywordsOutsideBlocksAreIgnored", mnpr2in,
                 "PARTTYPE\nX\n[ \nPARTTYPE \n74HC00\nDESIGNATOR\nU1\n]  \nDESIGNATOR\nU9\n" + kOneNet,
                 "! 74HC00; U1: ? \n", "N; 1: U1.1, \n"},
        ReadCase{"Protel2ValueInParenthesesInsideABlock", mnpr2in, "[\nPARTTYPE\n(NC)\nDESIGNATOR\nU1\n]\n(GND\nU1-1\n)",
                 "! (NC; U1: ? \n", "GND; 1: U1.1, \n"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    NetBlocks, ProtelReading,
    ::testing::Values(
        ReadCase{"NameOnTheOpeningLine", mnproin, "(GND\nU1-7\n)\n( VCC\nU1-14\n)", "", "GND; 1: U1.7, \nVCC; 1: U1.14, \n"},
        ReadCase{"FirstWordOfAPinLineIsThePin", mnproin, "(\nNET 1\nU1-7 PIN7\nU2-7\tPIN7\n  U3-7\n)", "",
                 "NET1; 3: U1.7, U2.7, U3.7, \n"},
        ReadCase{"OnlyTheFirstInnerDashTurns", mnproin, "(\nN\nR-1-2\n-5V\nU1--5\nQ1-A-B\n)", "",
                 "N; 4: R.1-2, -5V, U1.-5, Q1.A-B, \n"},
        ReadCase{"NamesWithParentheses", mnproin,
                 "(\nNet-(C1-Pad1)\nC1-1\n)\n(\n/VPP{slash}MCLR\nU1-1\n)\n(\nunconnected-(U1-Pad5)\nU1-5\n)", "",
                 "NET-(C1-PAD1); 1: C1.1, \n/VPP{SLASH}MCLR; 1: U1.1, \nUNCONNECTED-(U1-PAD5); 1: U1.5, \n"},
        ReadCase{"NamesDifferingOnlyInCaseStayTwoNets", mnproin, "(\nVcc\nU1-1\n)\n(\nVCC\nU2-1\n)", "",
                 "VCC; 1: U1.1, \nVCC; 1: U2.1, \n"},
        ReadCase{"NetWithoutPins", mnproin, "(\nNC\n)", "", "NC; 0: \n"},
        ReadCase{"PinRightBeforeTheClosingParenthesisIsKept", mnproin, "(\nN\nU1-1\nU2-2)\n(\nM\nU3-3\n)", "",
                 "N; 2: U1.1, U2.2, \nM; 1: U3.3, \n"},
        ReadCase{"UnclosedNetIsDroppedAtTheNextOpening", mnproin, "(\nA\nU1-1\n(\nB\nU2-2\n)", "", "B; 1: U2.2, \n"},
        ReadCase{"UnclosedNetAtTheEndGivesNothing", mnproin, "(\nA\nU1-1\n)\n(\nB\nU2-2", "", "A; 1: U1.1, \n"},
        ReadCase{"BlockWithoutNameGivesNoNet", mnproin, "(\n\n)\n(\nA\nU1-1\n)", "", "A; 1: U1.1, \n"},
        ReadCase{"TextBetweenNetsIsIgnored", mnproin, "(\nA\nU1-1\n)\nREMARK (X)\n[\nU9\n]\n(\nB\nU2-2\n)", "",
                 "A; 1: U1.1, \nB; 1: U2.2, \n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProtelTest, LineEndsCrLfLfAndLoneCrReadAlike) {
  for (const ReadFunction reader : {mnproin, mnpr2in}) {
    const std::string input = reader == mnproin
                                  ? "[\nU1\nDIP14\n74HC00\n\n\n\n]\n(\nGND\nU1-7\n)\n"
                                  : "[\nDESIGNATOR\nU1\nFOOTPRINT\nDIP14\nPARTTYPE\n74HC00\n]\n(\nGND\nU1-7\n)\n";
    for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
      std::string withLineEnds;
      for (const char character : input) withLineEnds += character == '\n' ? lineEnd : std::string(1, character);
      ASSERT_EQ(read(withLineEnds, reader), "good") << ::testing::PrintToString(lineEnd);
      EXPECT_EQ(readBytes("parts.tmp"), "DIP14! 74HC00; U1: ? \r\n\r\n");
      EXPECT_EQ(readBytes("net.tmp"), "GND; 1: U1.7, \r\n\r\n");
    }
  }
}

TEST_F(ProtelTest, JapanesePartNamesReadThroughCp932) {
  writeCp932("input.net", "[\r\nR1\r\nチップ 1608\r\n抵抗\r\n]\r\n(\r\n電源\r\nR1-1\r\n)\r\n");
  Text status;
  mnproin(context, path("input.net"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "チップ 1608! 抵抗; R1: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: R1.1, \r\n\r\n");
}

struct BadCase {
  const char* name;
  ReadFunction reader;
  const char* input;
};

class ProtelBad : public ProtelTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(ProtelBad, LeavesBothIntermediateFilesUntouched) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(crlf(GetParam().input), GetParam().reader), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ProtelBad,
    ::testing::Values(BadCase{"Empty", mnproin, ""}, BadCase{"PartsOnly", mnproin, "[\nU1\nDIP14\n74HC00\n]\n"},
                      BadCase{"OpenBlockTakesTheParenthesisAsAField", mnproin, "[\nU1\n(\nN\nU1-1\n)\n"},
                      BadCase{"Protel2PartsOnly", mnpr2in, "[\nPARTTYPE\n74HC00\n]\n"},
                      BadCase{"Protel2OpenBlock", mnpr2in, "[\nPARTTYPE\n(\nGND\nU1-1\n)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProtelTest, NetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) {
    std::string input = "(\r\nBIG\r\n";
    for (int pin = 1; pin <= count; ++pin) input += "P-" + std::to_string(pin) + "\r\n";
    return input + ")\r\n";
  };
  ASSERT_EQ(read(netWithPins(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

TEST_F(ProtelTest, WritesTheExamplesVerbatim) {
  EXPECT_EQ(write("DIP14! 74HC00; U1: ? \r\n\r\n", "GND; 2: U1.7, U2.7, \r\n\r\n"), crlf(kWrittenExample));
}

struct LayoutCase {
  const char* name;
  const char* parts;
  const char* nets;
  const char* body;
};

class ProtelLayout : public ProtelTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ProtelLayout, WritesBlocksAfterTheHeader) {
  context.inputFormatName = u"Pcad(nlt)";
  EXPECT_EQ(write(crlf(GetParam().parts) + "\r\n", crlf(GetParam().nets) + "\r\n"),
            crlf(std::string("Pcad(nlt) ===> D2 CAD NET LIST FILE\n\n") + GetParam().body + "\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Layout, ProtelLayout,
    ::testing::Values(LayoutCase{"Empty", "", "", "(\n)\n"},
                      LayoutCase{"AdditionalTextIsNotWritten", "SO8! LM358; U2: DUAL? \n! 10K; R1: ? \n", "",
                                 "[\nU2\nSO8\nLM358\n\n\n\n]\n[\nR1\n\n10K\n\n\n\n]\n(\n)\n"},
                      LayoutCase{"OnlyTheFirstDotTurns", "", "N; 3: R.1.2, -5V.1, Q1.A-B, \n",
                                 "(\nN\nR-1.2\n-5V-1\nQ1-A-B\n)\n"},
                      LayoutCase{"NetWithoutPins", "", "NC; 0: \n", "(\nNC\n)\n"},
                      LayoutCase{"NamelessNetIsLeftOut", "", "; 1: U1.1, \nN; 1: U2.1, \n", "(\nN\nU2-1\n)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProtelTest, WrittenFileReadsBackToTheSameIntermediateFiles) {
  const std::string parts = "DIP14! 74HC00; U1: ? \r\nTO-92! 2SC1815; TA-101: ? \r\n! 10K; R1: ? \r\n\r\n";
  const std::string nets =
      "NET-(C1-PAD1); 3: C1.1, R.1.2, U1.-5, \r\n/VPP{SLASH}MCLR; 1: U1.1, \r\n"
      "UNCONNECTED-(U1-PAD5); 1: U1.5, \r\nNC; 0: \r\nGND; 3: U1.7, Q1.-, TP1.A-B, \r\n\r\n";
  writeBytes("written.net", write(parts, nets));
  Text status;
  mnproin(context, path("written.net"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), parts);
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

TEST(ProtelLimits, NameTheFieldsThatDoNotReadBack) {
  EXPECT_TRUE(kProtelLimits.netName.carries(u"NET-(C1-PAD1)"));
  EXPECT_FALSE(kProtelLimits.netName.carries(u"(A)"));
  EXPECT_FALSE(kProtelLimits.netName.carries(u""));
  EXPECT_FALSE(kProtelLimits.reference.carries(u"TA-101"));
  EXPECT_FALSE(kProtelLimits.pinName.carries(u"A)"));
  EXPECT_TRUE(kProtelLimits.pinName.carries(u"A-B"));
  EXPECT_FALSE(kProtelLimits.partName.carries(u"]"));
}

}  // namespace
}  // namespace korvanel
