#include "formats/cr2000.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

class Cr2000Reader : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.cr2", input);
    Text status;
    mncr2in(context, path("input.cr2"), status);
    return toUtf8(status);
  }
};

const std::string kSixPinExample =
    " GND" + std::string(18, ' ') + "U1-7,U2-7,C1-2,C2-2\r\n" + std::string(21, ' ') + ",C3-2,C4-2\r\n";

TEST_F(Cr2000Reader, ReadsTheNetsAndWritesAnEmptyPartsFile) {
  EXPECT_EQ(read("HEADER TEXT\r\n IGNORED  U9-9\r\nNETS\r\n" + kSixPinExample + " VCC                  U1-14\r\n$END\r\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 6: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, \r\nVCC; 1: U1.14, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

TEST_F(Cr2000Reader, UpperCasesNamesAndPinsAndDropsBlanksAndTabsInsidePins) {
  EXPECT_EQ(read("NETS\r\n gnd   u1 -7 ,u2\t-7\r\n$END\r\n"), "good");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 2: U1.7, U2.7, \r\n\r\n");
}

TEST_F(Cr2000Reader, LineEndsCrLfLfAndLoneCrReadAlike) {
  const std::string body[] = {"NETS", " GND  U1-7,", "      U2-7", " VCC  U1-14", "$END"};
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    std::string input;
    for (const std::string& line : body) input += line + lineEnd;
    ASSERT_EQ(read(input), "good") << "line end " << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readBytes("net.tmp"), "GND; 2: U1.7, U2.7, \r\nVCC; 1: U1.14, \r\n\r\n");
  }
}

TEST_F(Cr2000Reader, FindsTheNetsLineByItsFirstFourCharactersInCapitals) {
  for (const std::string keyword : {"NETS", "  NETS", "N E\tT S", "NETS TRAILING", "NETSX"}) {
    EXPECT_EQ(read("BEFORE\r\n" + keyword + "\r\n N1  U1-1\r\n$END\r\n"), "good") << keyword;
    EXPECT_EQ(readBytes("net.tmp"), "N1; 1: U1.1, \r\n\r\n") << keyword;
  }
  for (const std::string notKeyword : {"nets", "NET", "X NETS", "$NETS"}) {
    EXPECT_EQ(read("BEFORE\r\n" + notKeyword + "\r\n N1  U1-1\r\n$END\r\n"), "bad") << notKeyword;
  }
}

struct NetsCase {
  const char* name;
  const char* netLines;
  const char* expectedNetFile;
};

class Cr2000NetLines : public Cr2000Reader, public ::testing::WithParamInterface<NetsCase> {};

TEST_P(Cr2000NetLines, GiveTheirNets) {
  ASSERT_EQ(read(std::string("NETS\r\n") + GetParam().netLines), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expectedNetFile);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Cr2000NetLines,
    ::testing::Values(
        NetsCase{"NetWithoutPins", " N1    \r\n N2  U1-1\r\n$END\r\n", "N1; 0: \r\nN2; 1: U1.1, \r\n\r\n"},
        NetsCase{"TrailingCommaAndContinuation", " N1  U1-1,\r\n   U2-1\r\n$END\r\n", "N1; 2: U1.1, U2.1, \r\n\r\n"},
        NetsCase{"EmptyLineInsideANet", " N1  U1-1,\r\n\r\n   U2-1\r\n$END\r\n", "N1; 2: U1.1, U2.1, \r\n\r\n"},
        // A "," with no pin before it separates like any other.
        NetsCase{"LeadingCommaOfAContinuationLine", " N1  U1-1\r\n     ,U2-1,U3-1\r\n$END\r\n",
                 "N1; 3: U1.1, U2.1, U3.1, \r\n\r\n"},
        NetsCase{"DoubleComma", " N1  U1-1,,U2-1\r\n$END\r\n", "N1; 2: U1.1, U2.1, \r\n\r\n"},
        NetsCase{"BlanksDoNotSeparatePins", " N1  U1-1 U2-1\r\n$END\r\n", "N1; 1: U1.1U2-1, \r\n\r\n"},
        NetsCase{"PinSeparators", " N1  -5V,R-1-2,X.1\r\n$END\r\n", "N1; 3: -5V, R.1-2, X.1, \r\n\r\n"},
        // Column 2 of "END" closes the pending net; the rest, ND, is no pin
        // of any net.
        NetsCase{"EndInColumnOneDoesNotEndTheSection", " N1  U1-1\r\nEND\r\n N2  U2-1\r\n$END\r\n",
                 "N1; 1: U1.1, \r\nN2; 1: U2.1, \r\n\r\n"},
        NetsCase{"EndInColumnTwoEndsTheSection", " N1  U1-1\r\n END\r\n N2  U2-1\r\n", "N1; 1: U1.1, \r\n\r\n"},
        NetsCase{"LinesAfterDollarEndAreIgnored", " N1  U1-1\r\n$END\r\n N2  U2-1\r\n", "N1; 1: U1.1, \r\n\r\n"},
        NetsCase{"NoEndWritesTheLastNetAtTheEndOfTheInput", " N1  U1-1\r\n N2  U2-1,U3-1",
                 "N1; 1: U1.1, \r\nN2; 2: U2.1, U3.1, \r\n\r\n"},
        NetsCase{"NameBeginningWithEndIsAName", " ENDSTOP  U1-1\r\n N2  U2-1\r\n$END\r\n",
                 "ENDSTOP; 1: U1.1, \r\nN2; 1: U2.1, \r\n\r\n"},
        NetsCase{"PinBeginningWithEndIsAPin", " N1  END1-1,U1-1\r\n$END\r\n", "N1; 2: END1.1, U1.1, \r\n\r\n"},
        NetsCase{"EndInsideALineKeepsThePendingNet", " N1  U1-1,END\r\n N2  U2-1\r\n", "N1; 1: U1.1, \r\n\r\n"},
        // Only a character other than a blank or a tab in column 2 starts the
        // next net.
        NetsCase{"LinesOfBlanksOrTabsInsideANet", " N1  U1-1,\r\n \r\n\t\tU2-1,\r\n\t U3-1\r\n$END\r\n",
                 "N1; 3: U1.1, U2.1, U3.1, \r\n\r\n"},
        NetsCase{"NameInColumnOneLosesItsFirstCharacterAfterANet", " N1  U1-1\r\nXLONG  U2-1\r\n$END\r\n",
                 "N1; 1: U1.1, \r\nLONG; 1: U2.1, \r\n\r\n"},
        NetsCase{"EmptySection", "$END\r\n", "\r\n"},
        NetsCase{"NothingAfterTheNetsLine", "", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Cr2000Reader, JapaneseTextRoundTripsThroughCp932) {
  writeCp932("input.cr2", "NETS\r\n 電源  R1-1,Ｃ１-2\r\n$END\r\n");
  Text status;
  mncr2in(context, path("input.cr2"), status);
  EXPECT_EQ(readCp932("net.tmp"), "電源; 2: R1.1, Ｃ１.2, \r\n\r\n");
}

TEST_F(Cr2000Reader, WithoutNetsLineTheStatusIsBadAndOnlyTheEmptyPartsFileIsWritten) {
  writeBytes("net.tmp", "EARLIER; 1: U0.1, \r\n\r\n");
  EXPECT_EQ(read("nets\r\n N1  U1-1\r\n$END\r\n"), "bad");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "EARLIER; 1: U0.1, \r\n\r\n");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
}

TEST_F(Cr2000Reader, EmptyInputIsBad) {
  EXPECT_EQ(read(""), "bad");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n\r\n");
  EXPECT_FALSE(exists("net.tmp"));
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
}

TEST_F(Cr2000Reader, InvalidBytesFail) {
  writeBytes("input.cr2", "NETS\r\n N1 \x81\x20\r\n");
  Text status;
  EXPECT_THROW(mncr2in(context, path("input.cr2"), status), FileError);
}

TEST_F(Cr2000Reader, MissingInputFailsBeforeAnyFileIsWritten) {
  Text status;
  EXPECT_THROW(mncr2in(context, path("absent.cr2"), status), FileError);
  EXPECT_FALSE(exists("parts.tmp"));
  EXPECT_FALSE(exists("net.tmp"));
}

std::string netWithPins(int pins) {
  std::string line = " BIG  ";
  for (int pin = 0; pin < pins; ++pin) line += (pin > 0 ? ",U" : "U") + std::to_string(pin) + "-1";
  return line + "\r\n";
}

TEST_F(Cr2000Reader, NetsHoldAtMostNineteenThousandNineHundredNinetyNinePins) {
  EXPECT_EQ(read("NETS\r\n" + netWithPins(19999) + "$END\r\n"), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 18), "BIG; 19999: U0.1, ");
  EXPECT_THROW(read("NETS\r\n" + netWithPins(20000) + "$END\r\n"), CapacityError);
}

class Cr2000Writer : public testing::ScratchTest {
 protected:
  std::string write(const std::string& nets) {
    writeBytes("net.tmp", nets);
    mncr2out(context, path("out.cr2"));
    return readBytes("out.cr2");
  }
};

TEST_F(Cr2000Writer, WritesTheSixPinExampleVerbatim) {
  EXPECT_EQ(write("GND; 6: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, \r\n\r\n"), "NETS\r\n" + kSixPinExample + "$END\r\n");
}

TEST_F(Cr2000Writer, DoesNotReadThePartsFile) {
  EXPECT_FALSE(exists("parts.tmp"));
  EXPECT_EQ(write("\r\n"), "NETS\r\n$END\r\n");
}

struct NameCase {
  int length;
  std::string nameField;  // what stands before the first pin, name as N...
};

class Cr2000WriterNames : public Cr2000Writer, public ::testing::WithParamInterface<NameCase> {};

TEST_P(Cr2000WriterNames, PutTheFirstPinInColumnTwentyThreeWhileTheNameFits) {
  const std::string name(static_cast<std::size_t>(GetParam().length), 'N');
  EXPECT_EQ(write(name + "; 1: U1.1, \r\n\r\n"), "NETS\r\n" + GetParam().nameField + "U1-1\r\n$END\r\n");
}

// Longer names keep the blank in column 1 and are followed by one blank.
INSTANTIATE_TEST_SUITE_P(Layout, Cr2000WriterNames,
                         ::testing::Values(NameCase{1, " N" + std::string(20, ' ')},
                                           NameCase{20, " " + std::string(20, 'N') + " "},
                                           NameCase{21, " " + std::string(21, 'N') + " "},
                                           NameCase{22, " " + std::string(22, 'N') + " "},
                                           NameCase{23, " " + std::string(23, 'N') + " "},
                                           NameCase{30, " " + std::string(30, 'N') + " "}));

TEST_F(Cr2000Writer, CountsJapaneseCharactersAsOneColumnEach) {
  writeCp932("net.tmp", "電源; 1: R1.1, \r\n\r\n");
  mncr2out(context, path("out.cr2"));
  EXPECT_EQ(readCp932("out.cr2"), "NETS\r\n 電源" + std::string(19, ' ') + "R1-1\r\n$END\r\n");
}

TEST_F(Cr2000Writer, TurnsEveryDotOfAPinIntoADash) {
  EXPECT_EQ(write("A; 2: U1.B.1, -5V, \r\n\r\n"), "NETS\r\n A" + std::string(20, ' ') + "U1-B-1,-5V\r\n$END\r\n");
}

struct WrapCase {
  int pins;
  std::vector<int> pinsPerLine;
};

class Cr2000WriterWrap : public Cr2000Writer, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(Cr2000WriterWrap, PutsFourPinsOnALine) {
  std::string net = "N; " + std::to_string(GetParam().pins) + ": ";
  for (int pin = 1; pin <= GetParam().pins; ++pin) net += "P" + std::to_string(pin) + ".1, ";
  std::string expected = "NETS\r\n N" + std::string(20, ' ');
  int pin = 1;
  for (std::size_t line = 0; line < GetParam().pinsPerLine.size(); ++line) {
    if (line > 0) expected += "\r\n" + std::string(21, ' ');
    for (int onLine = 0; onLine < GetParam().pinsPerLine[line]; ++onLine) {
      if (pin > 1) expected += ",";
      expected += "P" + std::to_string(pin++) + "-1";
    }
  }
  EXPECT_EQ(write(net + "\r\n\r\n"), expected + "\r\n$END\r\n");
}

INSTANTIATE_TEST_SUITE_P(Layout, Cr2000WriterWrap,
                         ::testing::Values(WrapCase{0, {0}}, WrapCase{1, {1}}, WrapCase{4, {4}}, WrapCase{5, {4, 1}},
                                           WrapCase{8, {4, 4}}, WrapCase{9, {4, 4, 1}}));

TEST_F(Cr2000Writer, ReadsTheNetFileUpToItsFirstEmptyLine) {
  EXPECT_EQ(write("A; 1: U1.1, \r\n\r\nB; 1: U2.1, \r\n"), "NETS\r\n A" + std::string(20, ' ') + "U1-1\r\n$END\r\n");
}

TEST_F(Cr2000Writer, ANetLineBeyondTheParserCapacityFails) {
  std::string net = "BIG; 19999: ";
  for (int pin = 0; pin < 19999; ++pin) net += "U" + std::to_string(pin) + ".1, ";
  EXPECT_THROW(write(net + "\r\n\r\n"), CapacityError);
}

TEST_F(Cr2000Writer, ReadingTheWrittenFileGivesBackTheSameNetFile) {
  const std::string nets =
      "GND; 6: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, \r\n"
      "A_VERY_LONG_NET_NAME_OF_30_CH; 5: U1.1, R.1-2, -5V.1, U4.1, U5.1, \r\n"
      "NC; 0: \r\n"
      "VCC; 1: U1.14, \r\n\r\n";
  writeBytes("roundtrip.cr2", write(nets));
  Text status;
  mncr2in(context, path("roundtrip.cr2"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

TEST_F(Cr2000Writer, NoNetsReadBackAsAnEmptyNetFile) {
  writeBytes("back.cr2", write("\r\n"));
  Text status;
  mncr2in(context, path("back.cr2"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("net.tmp"), "\r\n");
}

// What the limits say a field carries is what the reader gives back.
enum class Field { netName, reference, pinName };

struct LimitsCase {
  const char* name;
  Field field;
  const char* text;
  bool carried;
};

class Cr2000Limits : public Cr2000Writer, public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(Cr2000Limits, AgreeWithTheReader) {
  const LimitsCase& limitsCase = GetParam();
  std::string fields[] = {"N", "U1", "1"};
  fields[static_cast<int>(limitsCase.field)] = limitsCase.text;
  const auto& [net, reference, pin] = fields;
  const std::string nets =
      "VCC; 1: R9.1, \r\n" + net + "; 2: R9.2, " + reference + "." + pin + ", \r\nGND; 1: R9.3, \r\n\r\n";
  writeBytes("back.cr2", write(nets));
  Text status;
  mncr2in(context, path("back.cr2"), status);
  EXPECT_EQ(status == kStatusGood && readBytes("net.tmp") == nets, limitsCase.carried);
  const FieldLimits* limits[] = {&kCr2000Limits.netName, &kCr2000Limits.reference, &kCr2000Limits.pinName};
  EXPECT_EQ(limits[static_cast<int>(limitsCase.field)]->carries(testing::text(limitsCase.text)), limitsCase.carried);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Cr2000Limits,
    ::testing::Values(LimitsCase{"NetNameKiCad", Field::netName, "NET-(C10-PAD1)", true},
                      LimitsCase{"NetNameBraces", Field::netName, "/VPP{SLASH}MCLR", true},
                      LimitsCase{"NetNameDollarEnd", Field::netName, "$END", true},
                      LimitsCase{"NetNameEnd", Field::netName, "END", false},
                      LimitsCase{"NetNameEmpty", Field::netName, "", false},
                      LimitsCase{"ReferenceTa101", Field::reference, "TA-101", false},
                      LimitsCase{"ReferenceWithParentheses", Field::reference, "U(1)", true},
                      LimitsCase{"ReferenceEmpty", Field::reference, "", false},
                      LimitsCase{"PinNameWithDash", Field::pinName, "A-1", true},
                      LimitsCase{"PinNameWithDot", Field::pinName, "A.1", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvanel
