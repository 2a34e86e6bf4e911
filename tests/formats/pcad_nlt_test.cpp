#include "formats/pcad_nlt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

const std::string kHeader = "%PCAD(NLT) NET\r\n\r\nBOARD = ;\r\n\r\nPARTS\r\n";

std::string blanks(std::size_t count) { return std::string(count, ' '); }

class PcadNltReader : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.nlt", input);
    Text status;
    mnpnlin(context, path("input.nlt"), status);
    return toUtf8(status);
  }
};

TEST_F(PcadNltReader, ReadsPartsAndNetsIntoTheIntermediateFiles) {
  EXPECT_EQ(read(kHeader + "74HC00" + blanks(22) + "= U1; % DIP14 \r\n" + "74HC00" + blanks(22) +
                 "= U2; % DIP14 \r\n\r\nNETS\r\nGND" + blanks(15) + "= U1/7 U2/7 C1/2 C2/2 \r\n" + blanks(20) +
                 "C3/2 C4/2 ;\r\nVCC" + blanks(15) + "= U1/14 ;\r\n"),
            "good");
  EXPECT_EQ(readBytes("parts.tmp"), "! 74HC00; U1: ? \r\n! 74HC00; U2: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 6: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, \r\nVCC; 1: U1.14, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

TEST_F(PcadNltReader, UpperCasesEverything) {
  EXPECT_EQ(read("parts\r\n74hc00 = u1;\r\nnets\r\ngnd = u1/a7;\r\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "! 74HC00; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 1: U1.A7, \r\n\r\n");
}

TEST_F(PcadNltReader, LineEndsCrLfLfAndLoneCrReadAlike) {
  const std::string body[] = {"PARTS", "74HC00 = U1;", "NETS", "GND = U1/7", "U2/7 ;"};
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    std::string input;
    for (const std::string& line : body) input += line + lineEnd;
    ASSERT_EQ(read(input), "good") << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readBytes("parts.tmp"), "! 74HC00; U1: ? \r\n\r\n");
    EXPECT_EQ(readBytes("net.tmp"), "GND; 2: U1.7, U2.7, \r\n\r\n");
  }
}

struct PartsCase {
  const char* name;
  const char* partLines;
  const char* expectedPartsFile;
};

class PcadNltParts : public PcadNltReader, public ::testing::WithParamInterface<PartsCase> {};

TEST_P(PcadNltParts, GiveThePartsOfTheirReferences) {
  ASSERT_EQ(read(std::string("PARTS\r\n") + GetParam().partLines + "NETS\r\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().expectedPartsFile);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PcadNltParts,
    ::testing::Values(
        PartsCase{"SeveralReferences", "74HC00 = U1, U2;\r\n", "! 74HC00; U1: ? \r\n! 74HC00; U2: ? \r\n\r\n"},
        PartsCase{"ReferencesGoOnOnLaterLines", "74HC00 = U1,\r\n  U2,\r\nU3;\r\n",
                  "! 74HC00; U1: ? \r\n! 74HC00; U2: ? \r\n! 74HC00; U3: ? \r\n\r\n"},
        PartsCase{"PartNameStaysUntilTheNextEquals", "74HC00 = U1;\r\nU2;\r\nR = R1;\r\n",
                  "! 74HC00; U1: ? \r\n! 74HC00; U2: ? \r\n! R; R1: ? \r\n\r\n"},
        PartsCase{"EqualsWithNothingBeforeItNamesNoPart", "74HC00 = U1, U2;\r\n= U3;\r\n",
                  "! 74HC00; U1: ? \r\n! 74HC00; U2: ? \r\n! ; U3: ? \r\n\r\n"},
        PartsCase{"EmptyReferencesAreDropped", "R = R1,, R2 , ;\r\n;\r\n", "! R; R1: ? \r\n! R; R2: ? \r\n\r\n"},
        PartsCase{"BlanksAndTabsInsideNamesVanish", "CAP 10\tUF = C 1;\r\n", "! CAP10UF; C1: ? \r\n\r\n"},
        PartsCase{"NameWithoutBlankBeforeTheReference", "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234=U1;\r\n",
                  "! ABCDEFGHIJKLMNOPQRSTUVWXYZ1234; U1: ? \r\n\r\n"},
        PartsCase{"ReferenceWithoutEndIsLost", "R = R1\r\n", "\r\n"},
        // The package that a written file carries in its comment is not read.
        PartsCase{"CommentsAreNotRead", "% R = R9;\r\n74HC00 = U1; % DIP14, X; Y = Z\r\nR = R1, % R8,\r\nR2;\r\n",
                  "! 74HC00; U1: ? \r\n! R; R1: ? \r\n! R; R2: ? \r\n\r\n"},
        PartsCase{"NoParts", "", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PcadNltReader, PartsLineMustBeAllOfItsLine) {
  for (const std::string partsLine : {"PARTS", "  parts\t", "PARTS % the parts", "P A R T S"}) {
    EXPECT_EQ(read(partsLine + "\r\nR = R1;\r\nNETS\r\nN = R1/1;\r\n"), "good") << partsLine;
    EXPECT_EQ(readBytes("parts.tmp"), "! R; R1: ? \r\n\r\n") << partsLine;
  }
  for (const std::string partsLine : {"PARTS:", "THE PARTS", "%PARTS", "PARTS R = R1;"}) {
    EXPECT_EQ(read(partsLine + "\r\nR = R2;\r\nNETS\r\nN = R2/1;\r\n"), "bad") << partsLine;
  }
}

TEST_F(PcadNltReader, NetsKeywordEndsThePartsWhereverItStands) {
  for (const std::string netsLine : {"NETS", " nets ", "NETS % the nets", "NETS GND = U9/9;", "R = NETS"}) {
    EXPECT_EQ(read("PARTS\r\nR = R1;\r\n" + netsLine + "\r\nN = R1/1;\r\n"), "good") << netsLine;
    EXPECT_EQ(readBytes("parts.tmp"), "! R; R1: ? \r\n\r\n") << netsLine;
    EXPECT_EQ(readBytes("net.tmp"), "N; 1: R1.1, \r\n\r\n") << netsLine;
  }
}

struct NetsCase {
  const char* name;
  const char* netLines;
  const char* expectedNetFile;
};

class PcadNltNets : public PcadNltReader, public ::testing::WithParamInterface<NetsCase> {};

TEST_P(PcadNltNets, GiveTheirNetLines) {
  ASSERT_EQ(read(std::string("PARTS\r\nNETS\r\n") + GetParam().netLines), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expectedNetFile);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PcadNltNets,
    ::testing::Values(
        NetsCase{"ContinuationLines", "GND = U1/7 U2/7\r\n       U3/7\r\nU4/7;\r\n",
                 "GND; 4: U1.7, U2.7, U3.7, U4.7, \r\n\r\n"},
        NetsCase{"LineEndEndsAPin", "GND = U1/7\r\nU2/7;\r\n", "GND; 2: U1.7, U2.7, \r\n\r\n"},
        NetsCase{"TabsSeparatePins", "GND\t=\tU1/7\tU2/7\t;\r\n", "GND; 2: U1.7, U2.7, \r\n\r\n"},
        NetsCase{"NameOnTheLineBeforeItsEquals", "GN\r\nD\r\n= U1/7;\r\n", "GND; 1: U1.7, \r\n\r\n"},
        NetsCase{"SemicolonRightAfterAPin", "A = U1/1;B = U2/1;\r\n", "A; 1: U1.1, \r\nB; 1: U2.1, \r\n\r\n"},
        NetsCase{"NetWithoutPins", "NC = ;\r\n", "NC; 0: \r\n\r\n"},
        NetsCase{"EverySlashButAFirstOneBecomesADot", "N = /CS/2 U1/A/B U3 /4;\r\n",
                 "N; 4: /CS.2, U1.A.B, U3, /4, \r\n\r\n"},
        // An entry without its ";" runs on into the next one.
        NetsCase{"EntryWithoutSemicolonTakesTheNextEntry", "A = U1/1\r\nB = U2/1;\r\nC= U3/1;\r\n",
                 "A; 4: U1.1, B, =, U2.1, \r\nC; 1: U3.1, \r\n\r\n"},
        NetsCase{"EqualsJoinedToAPin", "A = U1/1\r\nB= U2/1;\r\n", "A; 3: U1.1, B=, U2.1, \r\n\r\n"},
        NetsCase{"EmptyNameKeepsItsPins", "= U1/1 U2/1;\r\nGND = U3/1;\r\n",
                 "; 2: U1.1, U2.1, \r\nGND; 1: U3.1, \r\n\r\n"},
        NetsCase{"StraySemicolonIsDropped", "A = U1/1;;\r\n;B = U2/1;\r\n", "A; 1: U1.1, \r\nB; 1: U2.1, \r\n\r\n"},
        NetsCase{"EntryOpenAtTheEndKeepsItsPins", "A = U1/1 U2/1", "A; 2: U1.1, U2.1, \r\n\r\n"},
        NetsCase{"StrayTextAtTheEndIsDropped", "A = U1/1;\r\nJUNK", "A; 1: U1.1, \r\n\r\n"},
        NetsCase{"CommentsAreNotRead", "% POWER = U9/9;\r\nGND = U1/7 % U8/8;\r\nU2/7; % DONE\r\n",
                 "GND; 2: U1.7, U2.7, \r\n\r\n"},
        NetsCase{"EmptyLinesChangeNothing", "\r\nA = U1/1\r\n\r\nU2/1;\r\n\r\n", "A; 2: U1.1, U2.1, \r\n\r\n"},
        NetsCase{"NoNets", "", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PcadNltReader, JapaneseTextRoundTripsThroughCp932) {
  writeCp932("input.nlt", "PARTS\r\n抵抗 = Ｒ１;\r\nNETS\r\n電源 = Ｒ１/１;\r\n");
  Text status;
  mnpnlin(context, path("input.nlt"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "! 抵抗; Ｒ１: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: Ｒ１.１, \r\n\r\n");
}

TEST_F(PcadNltReader, WithoutPartsLineTheStatusIsBadAndOnlyPartsTmpIsRewritten) {
  struct BadCase {
    std::string input;
    std::string expectedPartsFile;
  };
  const BadCase cases[] = {{"", "\r\n"},
                           {"NETS\r\nGND = U1/7;\r\n", "\r\n"},
                           {"NETS\r\nPARTS\r\nR = R1;\r\n", "! R; R1: ? \r\n\r\n"}};
  for (const BadCase& bad : cases) {
    writeBytes("parts.tmp", "earlier parts\r\n");
    writeBytes("net.tmp", "earlier nets\r\n");
    host.events.clear();
    EXPECT_EQ(read(bad.input), "bad") << bad.input;
    EXPECT_EQ(readBytes("parts.tmp"), bad.expectedPartsFile) << bad.input;
    EXPECT_EQ(readBytes("net.tmp"), "earlier nets\r\n") << bad.input;
    EXPECT_EQ(host.events, std::vector<std::string>{"hide"}) << bad.input;
  }
}

TEST_F(PcadNltReader, WithoutNetsAfterThePartsTheStatusIsBadAndThePartsFoundAreWritten) {
  writeBytes("net.tmp", "earlier nets\r\n");
  EXPECT_EQ(read("PARTS\r\n74HC00 = U1, U2;\r\nGND = U1/7;\r\n"), "bad");
  EXPECT_EQ(readBytes("parts.tmp"), "! 74HC00; U1: ? \r\n! 74HC00; U2: ? \r\n! GND; U1/7: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "earlier nets\r\n");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
}

TEST_F(PcadNltReader, InvalidBytesFail) {
  writeBytes("input.nlt", "PARTS\r\nR = \x81\x20;\r\n");
  Text status;
  EXPECT_THROW(mnpnlin(context, path("input.nlt"), status), FileError);
}

TEST_F(PcadNltReader, MissingInputFails) {
  Text status;
  EXPECT_THROW(mnpnlin(context, path("absent.nlt"), status), FileError);
}

std::string netWithPins(int pins) {
  std::string entry = "BIG =";
  for (int pin = 0; pin < pins; ++pin) entry += " U" + std::to_string(pin) + "/1";
  return entry + " ;";
}

TEST_F(PcadNltReader, NetsHoldAtMostNineteenThousandNineHundredNinetyNinePins) {
  EXPECT_EQ(read("PARTS\r\nNETS\r\n" + netWithPins(19999) + "\r\n"), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 12), "BIG; 19999: ");
  EXPECT_THROW(read("PARTS\r\nNETS\r\n" + netWithPins(20000) + "\r\n"), CapacityError);
}

class PcadNltWriter : public testing::ScratchTest {
 protected:
  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mnpnlout(context, path("out.nlt"));
    return readBytes("out.nlt");
  }
};

TEST_F(PcadNltWriter, WritesTheSixPinExampleVerbatim) {
  EXPECT_EQ(write("\r\n", "GND; 6: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, \r\n\r\n"),
            kHeader + "\r\nNETS\r\nGND" + blanks(15) + "= U1/7 U2/7 C1/2 C2/2 \r\n" + blanks(20) +
                "C3/2 C4/2 ;\r\n\r\n");
}

TEST_F(PcadNltWriter, WritesPartsWithTheirPackageInAComment) {
  EXPECT_EQ(write("DIP14! 74HC00; U1: ? \r\n! R; R1: ? \r\n0603! R; R2: TOL1%? \r\n\r\nSO8! X; U9: ? \r\n", "\r\n"),
            kHeader + "74HC00" + blanks(22) + "= U1; % DIP14 \r\n" + "R" + blanks(27) + "= R1; %  \r\n" + "R" +
                blanks(27) + "= R2; % 0603 TOL1%\r\n\r\nNETS\r\n\r\n");
}

TEST_F(PcadNltWriter, PutsThePartEqualsInColumnTwentyNine) {
  const std::string twentySeven = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1";
  const std::string parts = "! " + twentySeven + "; U1: ? \r\n! " + twentySeven + "2; U2: ? \r\n! " + twentySeven +
                            "23; U3: ? \r\n! " + twentySeven + "234; U4: ? \r\n\r\n";
  EXPECT_EQ(write(parts, "\r\n"), kHeader + twentySeven + " = U1; %  \r\n" + twentySeven + "2= U2; %  \r\n" +
                                      twentySeven + "23= U3; %  \r\n" + twentySeven + "234=U4; %  \r\n\r\nNETS\r\n\r\n");
}

TEST_F(PcadNltWriter, PutsTheNetEqualsInColumnNineteen) {
  const std::string seventeen = "ABCDEFGHIJKLMNOPQ";
  const std::string nets = seventeen + "; 1: U1.1, \r\n" + seventeen + "R; 1: U1.1, \r\n" + seventeen +
                           "RS; 1: U1.1, \r\n" + seventeen + "RST; 1: U1.1, \r\n\r\n";
  EXPECT_EQ(write("\r\n", nets), kHeader + "\r\nNETS\r\n" + seventeen + " = U1/1 ;\r\n" + seventeen +
                                     "R= U1/1 ;\r\n" + seventeen + "RS= U1/1 ;\r\n" + seventeen +
                                     "RST=U1/1 ;\r\n\r\n");
}

TEST_F(PcadNltWriter, CountsJapaneseCharactersAsOneColumnEach) {
  writeCp932("parts.tmp", "\r\n");
  writeCp932("net.tmp", "電源; 1: Ｒ１.１, \r\n\r\n");
  mnpnlout(context, path("out.nlt"));
  EXPECT_EQ(readCp932("out.nlt"),
            kHeader + "\r\nNETS\r\n電源" + blanks(16) + "= Ｒ１/１ ;\r\n\r\n");
}

struct WrapCase {
  int pins;
  std::vector<int> pinsPerLine;
};

class PcadNltWriterWrap : public PcadNltWriter, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(PcadNltWriterWrap, PutsFourPinsOnALine) {
  std::string net = "N; " + std::to_string(GetParam().pins) + ": ";
  for (int pin = 1; pin <= GetParam().pins; ++pin) net += "P" + std::to_string(pin) + ".1, ";
  std::string expected = kHeader + "\r\nNETS\r\nN" + blanks(17) + "= ";
  int pin = 1;
  for (std::size_t line = 0; line < GetParam().pinsPerLine.size(); ++line) {
    if (line > 0) expected += "\r\n" + blanks(20);
    for (int onLine = 0; onLine < GetParam().pinsPerLine[line]; ++onLine) {
      expected += "P" + std::to_string(pin++) + "/1 ";
    }
  }
  expected += ";\r\n\r\n";
  EXPECT_EQ(write("\r\n", net + "\r\n\r\n"), expected);
}

INSTANTIATE_TEST_SUITE_P(Layout, PcadNltWriterWrap,
                         ::testing::Values(WrapCase{0, {0}}, WrapCase{1, {1}}, WrapCase{4, {4}}, WrapCase{5, {4, 1}},
                                           WrapCase{8, {4, 4}}, WrapCase{9, {4, 4, 1}}, WrapCase{12, {4, 4, 4}}));

TEST_F(PcadNltWriter, ReadingStopsAtTheFirstEmptyLine) {
  EXPECT_EQ(write("! R; R1: ? \r\n\r\n! C; C1: ? \r\n", "A; 1: R1.1, \r\n\r\nB; 1: C1.1, \r\n"),
            kHeader + "R" + blanks(27) + "= R1; %  \r\n\r\nNETS\r\nA" + blanks(17) + "= R1/1 ;\r\n\r\n");
}

TEST_F(PcadNltWriter, ANetLineBeyondTheParserCapacityFails) {
  std::string net = "BIG; 19999: ";
  for (int pin = 0; pin < 19999; ++pin) net += "U" + std::to_string(pin) + ".1, ";
  EXPECT_THROW(write("\r\n", net + "\r\n\r\n"), CapacityError);
}

TEST_F(PcadNltWriter, ReadingTheWrittenFileGivesBackThePartsAndNets) {
  const std::string nets =
      "GND; 6: U1.7, U2.4, U3.7, U4.7, U5.7, U6.7, \r\nNC; 0: \r\nVCC; 2: U1.14, -5V.1, \r\n"
      "ABCDEFGHIJKLMNOPQRSTUVWXYZ; 1: R1.2, \r\n\r\n";
  writeBytes("roundtrip.nlt", write("DIP14! 74HC00; U1: ? \r\nSO8! LM358; U2: X? \r\n\r\n", nets));
  Text status;
  mnpnlin(context, path("roundtrip.nlt"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "! 74HC00; U1: ? \r\n! LM358; U2: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

TEST_F(PcadNltWriter, BoardsWithoutNetsReadBack) {
  for (const std::string parts : {"! NETSW; TA-101: ? \r\n! 10K; NETS: ? \r\n\r\n", "\r\n"}) {
    writeBytes("back.nlt", write(parts, "\r\n"));
    Text status;
    mnpnlin(context, path("back.nlt"), status);
    EXPECT_EQ(toUtf8(status), "good");
    EXPECT_EQ(readBytes("parts.tmp"), parts);
    EXPECT_EQ(readBytes("net.tmp"), "\r\n");
  }
}

// What the limits say a field carries is what the reader gives back.
enum class Field { netName, reference, pinName, partName };

struct LimitsCase {
  const char* name;
  Field field;
  const char* text;
  bool carried;
};

class PcadNltLimits : public PcadNltWriter, public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(PcadNltLimits, AgreeWithTheReader) {
  const LimitsCase& limitsCase = GetParam();
  std::string fields[] = {"N", "U1", "1", "74HC00"};
  fields[static_cast<int>(limitsCase.field)] = limitsCase.text;
  const auto& [net, reference, pin, partName] = fields;
  const std::string parts = "! " + partName + "; " + reference + ": ? \r\n\r\n";
  const std::string nets = net + "; 2: " + reference + "." + pin + ", R9.2, \r\nVCC; 1: R9.1, \r\n\r\n";
  writeBytes("back.nlt", write(parts, nets));
  Text status;
  mnpnlin(context, path("back.nlt"), status);
  EXPECT_EQ(status == kStatusGood && readBytes("parts.tmp") == parts && readBytes("net.tmp") == nets,
            limitsCase.carried);
  const FieldLimits* limits[] = {&kPcadNltLimits.netName, &kPcadNltLimits.reference, &kPcadNltLimits.pinName,
                                 &kPcadNltLimits.partName};
  EXPECT_EQ(limits[static_cast<int>(limitsCase.field)]->carries(testing::text(limitsCase.text)), limitsCase.carried);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PcadNltLimits,
    ::testing::Values(LimitsCase{"NetNameKiCad", Field::netName, "NET-(C10-PAD1)", true},
                      LimitsCase{"NetNameBraces", Field::netName, "/VPP{SLASH}MCLR", true},
                      LimitsCase{"NetNameNets", Field::netName, "NETS", true},
                      LimitsCase{"NetNameEmpty", Field::netName, "", true},
                      LimitsCase{"NetNameWithEquals", Field::netName, "A=B", false},
                      LimitsCase{"NetNameWithPercent", Field::netName, "10%", false},
                      LimitsCase{"ReferenceWithDash", Field::reference, "TA-101", true},
                      LimitsCase{"ReferenceNets", Field::reference, "NETS", true},
                      LimitsCase{"ReferenceWithSlash", Field::reference, "U/1", false},
                      LimitsCase{"ReferenceWithComma", Field::reference, "U1,U2", false},
                      LimitsCase{"ReferenceEmpty", Field::reference, "", false},
                      LimitsCase{"PinNameWithDot", Field::pinName, "A.1", true},
                      LimitsCase{"PinNameWithSlash", Field::pinName, "A/1", false},
                      LimitsCase{"PartNameBeginningWithNets", Field::partName, "NETSW", true},
                      LimitsCase{"PartNameNets", Field::partName, "NETS", false},
                      LimitsCase{"PartNameWithEquals", Field::partName, "R=10K", false},
                      LimitsCase{"PartNameEmpty", Field::partName, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvanel
