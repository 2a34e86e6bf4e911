#include "formats/d2cad.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

const std::string kHeader = "/*\r\n * TANGO ===> D2 CAD NET LIST FILE\r\n */\r\n\r\n$CCF\r\n{\r\n  NET {\r\n";
const std::string kFooter = "      }\r\n}";
const std::string kIndent(20, ' ');

class D2CadTest : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.ccf", input);
    Text status = u"unset";
    mnd2cin(context, path("input.ccf"), status);
    return toUtf8(status);
  }
  // Writes net.tmp (bytes) and returns the written file.
  std::string write(const std::string& nets) {
    writeBytes("net.tmp", nets);
    context.inputFormatName = u"TANGO";
    mnd2cout(context, path("output.ccf"));
    return readBytes("output.ccf");
  }
};

const std::string kExample = kHeader + "              GND : U1(7) , U2(7) , C1(2) , C2(2) , C3(2) , \r\n" + kIndent +
                             "C4(2) ;\r\n" + kFooter;

TEST_F(D2CadTest, WritesTheExampleFile) {
  EXPECT_EQ(write("GND; 6: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, \r\n\r\n"), kExample + "\r\n");
}

TEST_F(D2CadTest, ReadsTheExampleFile) {
  EXPECT_EQ(read(kExample), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 6: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

struct Case {
  const char* name;
  std::string from;
  std::string to;
};
std::string caseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class D2CadWriter : public D2CadTest, public ::testing::WithParamInterface<Case> {};

TEST_P(D2CadWriter, WritesTheNet) {
  EXPECT_EQ(write(GetParam().from + "\r\n\r\n"), kHeader + GetParam().to + "\r\n" + kFooter + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Layout, D2CadWriter,
    ::testing::Values(
        Case{"OnePin", "A; 1: U1.1, ", std::string(16, ' ') + "A : U1(1) ;"},
        Case{"FivePinsFillOneLine", "A; 5: P.1, P.2, P.3, P.4, P.5, ",
             std::string(16, ' ') + "A : P(1) , P(2) , P(3) , P(4) , P(5) ;"},
        Case{"ElevenPins", "A; 11: P.1, P.2, P.3, P.4, P.5, P.6, P.7, P.8, P.9, P.10, P.11, ",
             std::string(16, ' ') + "A : P(1) , P(2) , P(3) , P(4) , P(5) , \r\n" + kIndent +
                 "P(6) , P(7) , P(8) , P(9) , P(10) , \r\n" + kIndent + "P(11) ;"},
        Case{"NameOf17EndsInColumn17", "UNCONNECTED-(U1-P; 1: U1.5, ", "UNCONNECTED-(U1-P : U1(5) ;"},
        Case{"LongerNameIsNotCut", "UNCONNECTED-(U1-PAD5); 1: U1.5, ", "UNCONNECTED-(U1-PAD5) : U1(5) ;"},
        Case{"NoPinsStillEndsWithItsSemicolon", "NC; 0: ", std::string(15, ' ') + "NC : ;"},
        Case{"OnlyTheFirstDotSeparates", "A; 3: R.1.2, TA-101.1, U17, ",
             std::string(16, ' ') + "A : R(1.2) , TA-101(1) , U17 ;"}),
    caseName);

class D2CadReader : public D2CadTest, public ::testing::WithParamInterface<Case> {};

TEST_P(D2CadReader, ReadsTheNets) {
  ASSERT_EQ(read(GetParam().from), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().to + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, D2CadReader,
    ::testing::Values(
        Case{"UpperCasedWithoutBlanksAndTabs", "$ccf{ net {\r\n gnd\t: u1 (7) , u 2(7)\r\n ;}}",
             "GND; 2: U1.7, U2.7, \r\n"},
        Case{"LineCommentsBeginAWord", "* TITLE\r\n$CCF{NET{ *A : U9(9) ;\r\nA : U1(1) , */ X\r\n U2(2) ;}}",
             "A; 2: U1.1, U2.2, \r\n"},
        Case{"BlockCommentRunsToItsEnd", "/* FROM\r\n  OLD : U9(9) ;\r\n*/ $CCF{NET{/**/A : U1(1) ; /* X */ }}",
             "A; 1: U1.1, \r\n"},
        Case{"EverySectionKeepsItsNets", "$CCF{NET{A : U1(1) ;}NET{B : U2(2) ;}}",
             "A; 1: U1.1, \r\nB; 1: U2.2, \r\n"},
        Case{"NameKeepsParenthesesAndBraces", "$CCF{NET{NET-(C1-PAD1) : C1(1) ; /VPP{SLASH}MCLR : U1(1) ;}}",
             "NET-(C1-PAD1); 1: C1.1, \r\n/VPP{SLASH}MCLR; 1: U1.1, \r\n"},
        Case{"EmptyTokensEndNoPin", "$CCF{NET{A : U1(1) , , U2(2) , ;}}", "A; 2: U1.1, U2.2, \r\n"},
        Case{"PinsOutsideANetAreLeftOut", "$CCF{A : U9(9) ;NET{U8(8) , ;B : U2(2) ; U7(7) , C : U3(3) ;}}",
             "B; 1: U2.2, \r\nC; 1: U3.3, \r\n"},
        Case{"NetWithoutItsSemicolonIsDropped", "$CCF{NET{A : U1(1) ,\r\nB : U2(2) ;C : U3(3)}}",
             "B; 1: U2.2, \r\n"},
        Case{"NetWithoutPins", "$CCF{NET{NC : ;A : U1(1) ;}}", "NC; 0: \r\nA; 1: U1.1, \r\n"},
        Case{"NoNets", "$CCF", ""}),
    caseName);

TEST_F(D2CadTest, LfOnlyInputReadsLikeCrLf) {
  std::string lfOnly = kExample;
  for (std::size_t found; (found = lfOnly.find('\r')) != std::string::npos;) lfOnly.erase(found, 1);
  ASSERT_EQ(read(lfOnly), "good");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 6: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, \r\n\r\n");
}

class D2CadBad : public D2CadTest, public ::testing::WithParamInterface<Case> {};

TEST_P(D2CadBad, InputWithoutTheKeywordIsBadAndWritesNothing) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().from), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, D2CadBad,
                         ::testing::Values(Case{"Empty", "", ""}, Case{"NoKeyword", "NET { A : U1(1) ; }", ""},
                                           Case{"TextBeforeTheKeyword", "TITLE\r\n$CCF{NET{A : U1(1) ;}}", ""},
                                           Case{"KeywordInsideAComment", "/* $CCF", ""}),
                         caseName);

TEST_F(D2CadTest, NetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) {
    std::string input = "$CCF{NET{BIG :";
    for (int pin = 1; pin <= count; ++pin) input += " P(" + std::to_string(pin) + (pin < count ? ") ," : ") ;");
    return input;
  };
  ASSERT_EQ(read(netWithPins(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

TEST_F(D2CadTest, WrittenNetsReadBackAsTheyWere) {
  const std::string nets =
      "NET-(C1-PAD1); 7: C1.1, C2.1, C3.1, C4.1, C5.1, TA-101.-5V, R.1.2, \r\n"
      "/VPP{SLASH}MCLR; 2: U1.1, J1, \r\nNC; 0: \r\n電源; 2: R1.1, 抵抗1.2, \r\n; 1: J1.1, \r\n\r\n";
  writeCp932("net.tmp", nets);
  mnd2cout(context, path("output.ccf"));
  Text status;
  mnd2cin(context, path("output.ccf"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readCp932("net.tmp"), nets);
}

}  // namespace
}  // namespace korvanel
