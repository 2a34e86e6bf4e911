#include "formats/mentor.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

class MentorReader : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.net", input);
    Text status;
    mnmetin(context, path("input.net"), status);
    return toUtf8(status);
  }
};

TEST_F(MentorReader, ReadsPartsAndJoinsTheNetLinesOfOneName) {
  EXPECT_EQ(read("# Reference Value PCB Property\r\n"
                 "U1 74HC00 SOP14\r\n"
                 "R1 10K R0603\r\n"
                 "NET 'GND' U1-7 R1-2\r\n"
                 "NET 'VCC' U1-14\r\n"
                 "NET 'GND' R1-1\r\n"),
            "good");
  EXPECT_EQ(readBytes("parts.tmp"), "74HC00! SOP14; U1: ? \r\n10K! R0603; R1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 3: U1.7, R1.2, R1.1, \r\nVCC; 1: U1.14, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

TEST_F(MentorReader, UpperCasesEverything) {
  EXPECT_EQ(read("u1 74hc00 sop14\r\nnet 'gnd' u1-7\r\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "74HC00! SOP14; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 1: U1.7, \r\n\r\n");
}

TEST_F(MentorReader, LineEndsCrLfLfAndLoneCrReadAlike) {
  const std::string body[] = {"U1 74HC00 SOP14", "(a comment", "over two lines)", "NET 'A' U1-1", "NET 'A' U1-2"};
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    std::string input;
    for (const std::string& line : body) input += line + lineEnd;
    ASSERT_EQ(read(input), "good") << "line end " << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readBytes("parts.tmp"), "74HC00! SOP14; U1: ? \r\n\r\n");
    EXPECT_EQ(readBytes("net.tmp"), "A; 2: U1.1, U1.2, \r\n\r\n");
  }
}

TEST_F(MentorReader, ALoneLfInAFileWithCrLfEndsALineOfTheWorkingCopy) {
  // Without the word NET the working copy stays in net.tmp.
  EXPECT_EQ(read("u1 74hc00 sop14\nr1 10k r0603\r\n"), "bad");
  EXPECT_EQ(readBytes("net.tmp"), "U1 74HC00 SOP14\r\nR1 10K R0603\r\n\r\n");
}

struct ReaderCase {
  const char* name;
  const char* input;
  const char* expectedPartsFile;
  const char* expectedNetFile;
};

class MentorReaderCases : public MentorReader, public ::testing::WithParamInterface<ReaderCase> {};

TEST_P(MentorReaderCases, GiveTheirIntermediateFiles) {
  ASSERT_EQ(read(GetParam().input), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().expectedPartsFile);
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expectedNetFile);
}

INSTANTIATE_TEST_SUITE_P(
    PartLines, MentorReaderCases,
    ::testing::Values(
        ReaderCase{"ThreeFields", "U1 74HC00 SOP14\r\nNET 'A'\r\n", "74HC00! SOP14; U1: ? \r\n\r\n", "A; 0: \r\n\r\n"},
        ReaderCase{"TwoFieldsGiveNoPart", "U1 74HC00\r\nNET 'A'\r\n", "\r\n", "A; 0: \r\n\r\n"},
        ReaderCase{"AFourthFieldReplacesTheThird", "U1 74HC00 SOP14 EXTRA\r\nNET 'A'\r\n",
                   "74HC00! EXTRA; U1: ? \r\n\r\n", "A; 0: \r\n\r\n"},
        ReaderCase{"BlanksBetweenAndTabsInsideFields", "  U1  74HC00   SO\tP14  \r\nNET 'A'\r\n",
                   "74HC00! SOP14; U1: ? \r\n\r\n", "A; 0: \r\n\r\n"},
        ReaderCase{"ATabDoesNotSeparateFields", "U1\t74HC00 SOP14\r\nNET 'A'\r\n", "\r\n", "A; 0: \r\n\r\n"},
        ReaderCase{"CommentLinesAndCommentsInParentheses",
                   "#U9 X Y\r\nU1 (dual nand) 74HC00 SOP14\r\n(R2 1K R0603)\r\nNET 'A'\r\n",
                   "74HC00! SOP14; U1: ? \r\n\r\n", "A; 0: \r\n\r\n"},
        ReaderCase{"HashAfterTheFirstCharacterIsText", "U#1 74HC00 SOP14\r\nNET 'A'\r\n",
                   "74HC00! SOP14; U#1: ? \r\n\r\n", "A; 0: \r\n\r\n"},
        // Only the word NET on its own ends the part lines.
        ReaderCase{"FieldBeginningWithNetIsAField", "RN1 NETWORK SIP8\r\nU1 74HC00 SOP14\r\nNET 'A'\r\n",
                   "NETWORK! SIP8; RN1: ? \r\n74HC00! SOP14; U1: ? \r\n\r\n", "A; 0: \r\n\r\n"},
        // The line that holds NET is read again as a net line: the fields
        // before the word give no part, and pins before the name none either.
        ReaderCase{"NetOnAPartLine", "U1 74HC00 SOP14\r\nU2 74HC04 NET 'A' U2-1\r\n",
                   "74HC00! SOP14; U1: ? \r\n\r\n", "A; 1: U2.1, \r\n\r\n"},
        ReaderCase{"NoPartLines", "NET 'A' U1-1\r\n", "\r\n", "A; 1: U1.1, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    NetLines, MentorReaderCases,
    ::testing::Values(
        ReaderCase{"SameNameJoinsInThePlaceOfItsFirstLine",
                   "NET 'A' U1-1 U2-1\r\nNET 'B' U3-1\r\nNET 'A' U4-1\r\nNET 'C' U5-1\r\nNET 'A' U6-1\r\n", "\r\n",
                   "A; 4: U1.1, U2.1, U4.1, U6.1, \r\nB; 1: U3.1, \r\nC; 1: U5.1, \r\n\r\n"},
        ReaderCase{"DuplicatePinsAreKept", "NET 'A' U1-1\r\nNET 'A' U1-1\r\n", "\r\n", "A; 2: U1.1, U1.1, \r\n\r\n"},
        ReaderCase{"PinSeparators", "NET 'A' U1-7 -5V R-1-2 X.1\r\n", "\r\n", "A; 4: U1.7, -5V, R.1-2, X.1, \r\n\r\n"},
        ReaderCase{"NameKeepsItsBlanks", "NET 'VCC 5V' U1-1\r\n", "\r\n", "VCC 5V; 1: U1.1, \r\n\r\n"},
        // Names are compared as the net file gives them back, without blanks.
        ReaderCase{"NamesEqualWithoutBlanksJoin", "NET 'VCC 5V' U1-1\r\nNET 'VCC5V' U2-1\r\n", "\r\n",
                   "VCC5V; 2: U1.1, U2.1, \r\n\r\n"},
        ReaderCase{"ParenthesesInsideANameAreAComment", "NET 'N(1)' U1-1)\r\n", "\r\n", "N; 1: U1.1, \r\n\r\n"},
        ReaderCase{"CommentLineIsSkipped", "NET 'A' U1-1\r\n#NET 'B' U2-1\r\n", "\r\n", "A; 1: U1.1, \r\n\r\n"},
        ReaderCase{"HashLaterInTheLineIsText", "NET 'C#1' U1-3 #X\r\n", "\r\n", "C#1; 2: U1.3, #X, \r\n\r\n"},
        ReaderCase{"NetWithoutPins", "NET 'NC'\r\nNET 'B' U1-1\r\n", "\r\n", "NC; 0: \r\nB; 1: U1.1, \r\n\r\n"},
        ReaderCase{"TheCharacterAfterTheClosingQuoteIsSkipped", "NET 'A'XU1-1 U2-1\r\n", "\r\n",
                   "A; 2: U1.1, U2.1, \r\n\r\n"},
        ReaderCase{"TabsDoNotSeparatePins", "NET\t'A'\tU1-1\tU2-1\r\n", "\r\n", "A; 1: U1.1U2-1, \r\n\r\n"},
        ReaderCase{"AQuoteAfterTheNameIsText", "NET 'A' 'B'\r\n", "\r\n", "A; 1: 'B', \r\n\r\n"},
        ReaderCase{"PinBeginningWithNetIsAPin", "NET 'A' NETX-1 U1-1\r\n", "\r\n", "A; 2: NETX.1, U1.1, \r\n\r\n"},
        ReaderCase{"EmptyLinesAreSkipped", "NET 'A' U1-1\r\n\r\n\r\nNET 'B' U2-1\r\n", "\r\n",
                   "A; 1: U1.1, \r\nB; 1: U2.1, \r\n\r\n"},
        // A name without its closing quote runs to the end of its line.
        ReaderCase{"NameWithoutClosingQuote", "NET 'A U1-1\r\nNET 'B' U2-1\r\n", "\r\n",
                   "A U1-1; 0: \r\nB; 1: U2.1, \r\n\r\n"},
        // A line without a name and without NET continues the net named last,
        // as after a comment that spans lines.
        ReaderCase{"ContinuationLine", "NET 'A' U1-1 (more pins\r\nfollow) U2-1\r\n  U3-1\r\nNET 'B' U4-1\r\n",
                   "\r\n", "A; 3: U1.1, U2.1, U3.1, \r\nB; 1: U4.1, \r\n\r\n"},
        ReaderCase{"NetLineWithoutANameGivesNothing", "NET 'A' U1-1\r\nNET U2-1\r\nNET 'B' U3-1\r\n", "\r\n",
                   "A; 1: U1.1, \r\nB; 1: U3.1, \r\n\r\n"},
        ReaderCase{"PinsBeforeTheFirstNameGiveNothing", "NET U1-1\r\n U2-1\r\nNET 'A' U3-1\r\n", "\r\n",
                   "A; 1: U3.1, \r\n\r\n"},
        ReaderCase{"LinesOfBlanksGiveNothing", "NET 'A' U1-1\r\n   \r\n\t\r\nNET 'B' U2-1\r\n", "\r\n",
                   "A; 1: U1.1, \r\nB; 1: U2.1, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MentorReader, JapaneseTextRoundTripsThroughCp932) {
  writeCp932("input.net", "R1 抵抗 ＲＥＳ\r\nNET '電源' R1-1\r\n");
  Text status;
  mnmetin(context, path("input.net"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "抵抗! ＲＥＳ; R1: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: R1.1, \r\n\r\n");
}

TEST_F(MentorReader, WithoutNetTheStatusIsBadAndTheWorkingCopyStaysInNetTmp) {
  writeBytes("parts.tmp", "EARLIER! RUN; U0: ? \r\n\r\n");
  EXPECT_EQ(read("u1 74hc00 sop14\r\nr1 (a\r\ncomment) 10k network\r\n"), "bad");
  EXPECT_EQ(readBytes("parts.tmp"), "EARLIER! RUN; U0: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "U1 74HC00 SOP14\r\nR1 \r\n 10K NETWORK\r\n\r\n");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
}

TEST_F(MentorReader, EmptyInputIsBad) {
  EXPECT_EQ(read(""), "bad");
  EXPECT_FALSE(exists("parts.tmp"));
  EXPECT_EQ(readBytes("net.tmp"), "\r\n");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
}

TEST_F(MentorReader, InvalidBytesFail) {
  writeBytes("input.net", "NET 'A' \x81\x20\r\n");
  Text status;
  EXPECT_THROW(mnmetin(context, path("input.net"), status), FileError);
}

TEST_F(MentorReader, MissingInputFails) {
  Text status;
  EXPECT_THROW(mnmetin(context, path("absent.net"), status), FileError);
  EXPECT_FALSE(exists("net.tmp"));
}

std::string netLineWithPins(const std::string& name, int pins, int firstPin = 0) {
  std::string line = "NET '" + name + "'";
  for (int pin = firstPin; pin < firstPin + pins; ++pin) line += " U" + std::to_string(pin) + "-1";
  return line + "\r\n";
}

TEST_F(MentorReader, ANetLineIsTakenApartAgainOnlyUpToNineteenThousandNineHundredNinetyEightPins) {
  EXPECT_EQ(read(netLineWithPins("BIG", 19998)), "good");
  EXPECT_THROW(read(netLineWithPins("BIG", 19999)), CapacityError);
}

TEST_F(MentorReader, AJoinedNetHoldsAtMostNineteenThousandNineHundredNinetyNinePins) {
  EXPECT_EQ(read(netLineWithPins("BIG", 10000) + netLineWithPins("BIG", 9999, 10000)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 19), "BIG; 19999: U0.1, U");
  EXPECT_THROW(read(netLineWithPins("BIG", 10000) + netLineWithPins("BIG", 10000, 10000)), CapacityError);
  // A full net cannot take even an empty line of its name.
  EXPECT_THROW(read(netLineWithPins("BIG", 10000) + netLineWithPins("BIG", 9999, 10000) + "NET 'BIG'\r\n"),
               CapacityError);
}

TEST_F(MentorReader, ManyLinesOfOneNameJoinInInputOrder) {
  std::string input;
  for (int pin = 0; pin < 19998; ++pin) input += netLineWithPins("N", 1, pin);
  ASSERT_EQ(read(input), "good");
  const std::string netFile = readBytes("net.tmp");
  EXPECT_EQ(netFile.substr(0, 24), "N; 19998: U0.1, U1.1, U2");
  EXPECT_EQ(netFile.substr(netFile.size() - 24), "U19996.1, U19997.1, \r\n\r\n");
}

TEST_F(MentorReader, AtMostTwentyThousandAndOneNetLines) {
  std::string input;
  for (int line = 0; line < 20001; ++line) input += "NET 'A'\r\n";
  EXPECT_EQ(read(input), "good");
  EXPECT_EQ(readBytes("net.tmp"), "A; 0: \r\n\r\n");
  EXPECT_THROW(read(input + "NET 'A'\r\n"), CapacityError);
}

TEST_F(MentorReader, AtMostTwentyThousandDistinctNetNames) {
  std::string input;
  for (int net = 0; net < 20000; ++net) input += "NET 'N" + std::to_string(net) + "'\r\n";
  EXPECT_EQ(read(input), "good");
  EXPECT_THROW(read(input + "NET 'ONE MORE'\r\n"), CapacityError);
}

class MentorWriter : public testing::ScratchTest {
 protected:
  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mnmetout(context, path("out.net"));
    return readBytes("out.net");
  }
  static constexpr const char* kHeader =
      "#Telesis ===>  MENTOR NET LIST\r\n# Reference        Value      PCB Property\r\n";
};

TEST_F(MentorWriter, WritesHeaderPartsAndNets) {
  context.inputFormatName = u"Telesis";
  EXPECT_EQ(write("74HC00! SOP14; U1: ? \r\n! R0603; R1: ? \r\n\r\n", "GND; 3: U1.7, R1.2, R1.1, \r\n\r\n"),
            std::string(kHeader) + "U1" + std::string(17, ' ') + "74HC00 SOP14\r\n" + "R1" + std::string(17, ' ') +
                "PART R0603\r\n"
                "NET 'GND' U1-7 R1-2 R1-1\r\n"
                "\r\n");
}

TEST_F(MentorWriter, NamesTheInputFormatInTheFirstLine) {
  for (const std::string name : {"CR2000", "CADLUS-PC(Reverse Net)", ""}) {
    context.inputFormatName = testing::text(name);
    EXPECT_EQ(write("\r\n", "\r\n"), "#" + name +
                                         " ===>  MENTOR NET LIST\r\n# Reference        Value      PCB Property\r\n"
                                         "NET\r\n\r\n");
  }
}

// A reference of 19 characters or more keeps one blank before the value, so
// that the two read back as two fields.
TEST_F(MentorWriter, PadsTheReferenceColumnToNineteenCharactersAndKeepsAGapAfterLongerOnes) {
  context.inputFormatName = u"Telesis";
  const std::string eighteen = "ABCDEFGHIJKLMNOPQR";
  EXPECT_EQ(write("V! P; " + eighteen + ": ? \r\nV! P; " + eighteen + "S: ? \r\nV! P; " + eighteen + "ST: ? \r\n\r\n",
                  "\r\n"),
            std::string(kHeader) + eighteen + " V P\r\n" + eighteen + "S V P\r\n" + eighteen + "ST V P\r\nNET\r\n\r\n");
}

TEST_F(MentorWriter, ALongReferenceReadsBackWithItsValue) {
  context.inputFormatName = u"Telesis";
  const std::string longReference = "CONNECTOR_MAIN_POWER_1";
  writeBytes("round.net", write("HDR! 74HC00; " + longReference + ": ? \r\n\r\n", "N; 2: " + longReference + ".1, U1.1, \r\n\r\n"));
  Text status;
  mnmetin(context, path("round.net"), status);
  EXPECT_EQ(readBytes("parts.tmp"), "HDR! 74HC00; " + longReference + ": ? \r\n\r\n");
}

TEST_F(MentorWriter, CountsJapaneseCharactersAsOneColumnEach) {
  context.inputFormatName = u"Telesis";
  writeCp932("parts.tmp", "抵抗! ＲＥＳ; 抵抗１: ? \r\n\r\n");
  writeCp932("net.tmp", "電源; 1: R1.1, \r\n\r\n");
  mnmetout(context, path("out.net"));
  EXPECT_EQ(readCp932("out.net"), std::string(kHeader) + "抵抗１" + std::string(16, ' ') + "抵抗 ＲＥＳ\r\nNET '電源' R1-1\r\n\r\n");
}

TEST_F(MentorWriter, TurnsEveryDotOfAPinIntoADash) {
  context.inputFormatName = u"Telesis";
  EXPECT_EQ(write("\r\n", "A; 2: U1.B.1, -5V, \r\n\r\n"), std::string(kHeader) + "NET 'A' U1-B-1 -5V\r\n\r\n");
}

struct WrapCase {
  int pins;
  std::vector<int> pinsPerLine;
};

class MentorWriterWrap : public MentorWriter, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(MentorWriterWrap, PutsFivePinsOnALineButNeverTheLastPinAlone) {
  context.inputFormatName = u"Telesis";
  std::string net = "N; " + std::to_string(GetParam().pins) + ": ";
  for (int pin = 1; pin <= GetParam().pins; ++pin) net += "P" + std::to_string(pin) + ".1, ";
  std::string expected = kHeader;
  int pin = 1;
  for (const int pinsOnLine : GetParam().pinsPerLine) {
    expected += "NET 'N'";
    for (int onLine = 0; onLine < pinsOnLine; ++onLine) expected += " P" + std::to_string(pin++) + "-1";
    expected += "\r\n";
  }
  EXPECT_EQ(write("\r\n", net + "\r\n\r\n"), expected + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Layout, MentorWriterWrap,
                         ::testing::Values(WrapCase{0, {0}}, WrapCase{1, {1}}, WrapCase{5, {5}}, WrapCase{6, {6}},
                                           WrapCase{7, {5, 2}}, WrapCase{10, {5, 5}}, WrapCase{11, {5, 6}},
                                           WrapCase{12, {5, 5, 2}}, WrapCase{16, {5, 5, 6}}));

TEST_F(MentorWriter, PartsWithoutNetsStillReadBackAsAMentorNetlist) {
  context.inputFormatName = u"Telesis";
  const std::string parts = "DIP14! 74HC00; TA-101: ? \r\n\r\n";
  writeBytes("parts-only.net", write(parts, "\r\n"));
  Text status;
  mnmetin(context, path("parts-only.net"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), parts);
  EXPECT_EQ(readBytes("net.tmp"), "\r\n");
}

TEST_F(MentorWriter, ReadsTheIntermediateFilesUpToTheirFirstEmptyLine) {
  context.inputFormatName = u"Telesis";
  EXPECT_EQ(write("V! P; U1: ? \r\n\r\nW! Q; U2: ? \r\n", "A; 1: U1.1, \r\n\r\nB; 1: U2.1, \r\n"),
            std::string(kHeader) + "U1" + std::string(17, ' ') + "V P\r\nNET 'A' U1-1\r\n\r\n");
}

TEST_F(MentorWriter, ANetLineBeyondTheParserCapacityFails) {
  std::string net = "BIG; 19999: ";
  for (int pin = 0; pin < 19999; ++pin) net += "U" + std::to_string(pin) + ".1, ";
  EXPECT_THROW(write("\r\n", net + "\r\n\r\n"), CapacityError);
}

TEST_F(MentorWriter, ReadingTheWrittenFileGivesBackTheSameIntermediateFiles) {
  context.inputFormatName = u"Telesis";
  const std::string parts = "74HC00! SOP14; U1: ? \r\n10K! R0603; R1: ? \r\n\r\n";
  const std::string nets =
      "GND; 7: U1.7, R1.2, C1.2, C2.2, C3.2, C4.2, C5.2, \r\nVCC; 3: U1.14, R.1-2, -5V.1, \r\nNC; 0: \r\n\r\n";
  writeBytes("roundtrip.net", write(parts, nets));
  Text status;
  mnmetin(context, path("roundtrip.net"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), parts);
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

}  // namespace
}  // namespace korvanel
