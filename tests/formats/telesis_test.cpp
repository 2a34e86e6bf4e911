#include "formats/telesis.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

class TelesisReader : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.tel", input);
    Text status;
    mntelin(context, path("input.tel"), status);
    return toUtf8(status);
  }
};

TEST_F(TelesisReader, ReadsPartsAndNetsIntoTheIntermediateFiles) {
  EXPECT_EQ(read("$PACKAGES\r\nDIP14 ! 74LS00 ; U1 U2\r\n$NETS\r\nGND ; U1.7 U2.7\r\nVCC ; U1.14\r\n$END\r\n"),
            "good");
  EXPECT_EQ(readBytes("parts.tmp"), "DIP14! 74LS00; U1: ? \r\nDIP14! 74LS00; U2: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 2: U1.7, U2.7, \r\nVCC; 1: U1.14, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

TEST_F(TelesisReader, UpperCasesEverything) {
  read("$packages\r\ndip14 ! 74ls00 ; u1\r\n$nets\r\ngnd ; u1.7\r\n$END\r\n");
  EXPECT_EQ(readBytes("parts.tmp"), "DIP14! 74LS00; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 1: U1.7, \r\n\r\n");
}

TEST_F(TelesisReader, LineEndsCrLfLfAndLoneCrReadAlike) {
  const std::string body[] = {"$PACKAGES", "DIP14 ! 74LS00 ; U1", "$NETS", "GND ; U1.7 U2.7", "$END"};
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    std::string input;
    for (const std::string& line : body) input += line + lineEnd;
    ASSERT_EQ(read(input), "good") << "line end " << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readBytes("parts.tmp"), "DIP14! 74LS00; U1: ? \r\n\r\n");
    EXPECT_EQ(readBytes("net.tmp"), "GND; 2: U1.7, U2.7, \r\n\r\n");
  }
}

TEST_F(TelesisReader, ALoneLfInAFileWithCrEndsALineInTheWorkingCopy) {
  read("$PACKAGES\r\nDIP14 ! 74LS00 ; U1\n$NETS\r\nA ; U1.1\n\rB ; U1.2\r\n$END\r\n");
  EXPECT_EQ(readBytes("parts.tmp"), "DIP14! 74LS00; U1: ? \r\n\r\n");
  // LF then CR gives an empty line between them, which ends the nets.
  EXPECT_EQ(readBytes("net.tmp"), "A; 1: U1.1, \r\n\r\n");
}

TEST_F(TelesisReader, NetsKeywordIsFoundWithBlanksAndTextAfterIt) {
  for (const std::string keyword : {"$nets", "  $NETS  ", "$ NETS", "$NETS trailing words"}) {
    EXPECT_EQ(read("$PACKAGES\r\n" + keyword + "\r\nN1 ; U1.1\r\n$END\r\n"), "good") << keyword;
    EXPECT_EQ(readBytes("net.tmp"), "N1; 1: U1.1, \r\n\r\n") << keyword;
  }
}

struct PartsCase {
  const char* name;
  const char* partsLines;
  const char* expectedPartsFile;
};

class TelesisPartsLines : public TelesisReader, public ::testing::WithParamInterface<PartsCase> {};

TEST_P(TelesisPartsLines, GiveThePartsOfTheirReferences) {
  read(std::string("$PACKAGES\r\n") + GetParam().partsLines + "$NETS\r\n$END\r\n");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().expectedPartsFile);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TelesisPartsLines,
    ::testing::Values(
        PartsCase{"ThreeReferences", "DIP14 ! 74LS00 ; U1 U2 U3\r\n",
                  "DIP14! 74LS00; U1: ? \r\nDIP14! 74LS00; U2: ? \r\nDIP14! 74LS00; U3: ? \r\n\r\n"},
        PartsCase{"ContinuedOntoTheNextLine", "DIP14 ! 74LS00 ; U1 U2,\r\nU3 U4\r\n",
                  "DIP14! 74LS00; U1: ? \r\nDIP14! 74LS00; U2: ? \r\nDIP14! 74LS00; U3: ? \r\n"
                  "DIP14! 74LS00; U4: ? \r\n\r\n"},
        PartsCase{"NothingBetweenBangAndSemicolon", "DIP14 ! ; U1\r\n", "\r\n"},
        PartsCase{"NoPackage", "74LS00 ; U1\r\n", "! 74LS00; U1: ? \r\n\r\n"},
        PartsCase{"NothingBeforeBang", "! 74LS00 ; U1 !U2\r\n", "! 74LS00; U1: ? \r\n! 74LS00; _U2: ? \r\n\r\n"},
        PartsCase{"TextAfterContinuingCommaIsIgnored", "DIP14 ! 74LS00 ; U1,U2\r\nU3\r\n",
                  "DIP14! 74LS00; U1: ? \r\nDIP14! 74LS00; U3: ? \r\n\r\n"},
        PartsCase{"CommaAfterABlankIsAReferenceOfItsOwn", "DIP14 ! 74LS00 ; U1 ,\r\nU3\r\n",
                  "DIP14! 74LS00; U1: ? \r\nDIP14! 74LS00; _: ? \r\n\r\n"},
        PartsCase{"SecondBangReplacesThePackage", "A ! B ! 74LS00 ; U1\r\n", "B! 74LS00; U1: ? \r\n\r\n"},
        PartsCase{"TitleAndTabsAreFine", "MY BOARD\r\nDIP14\t!\t74LS00\t;\tU1\r\n",
                  "DIP14! 74LS00; U1: ? \r\n\r\n"},
        PartsCase{"BlanksInsideANameVanish", "DIP 14 ! 74 LS00 ; U1\r\n", "DIP14! 74LS00; U1: ? \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct NetsCase {
  const char* name;
  const char* netLines;
  const char* expectedNetFile;
};

class TelesisNetLines : public TelesisReader, public ::testing::WithParamInterface<NetsCase> {};

TEST_P(TelesisNetLines, GiveTheirNets) {
  ASSERT_EQ(read(std::string("$PACKAGES\r\n$NETS\r\n") + GetParam().netLines), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expectedNetFile);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TelesisNetLines,
    ::testing::Values(
        NetsCase{"Continuation", "GND ; U1.7 U2.7,\r\n U3.7\r\n$END\r\n", "GND; 3: U1.7, U2.7, U3.7, \r\n\r\n"},
        NetsCase{"TextAfterContinuingCommaIsIgnored", "N ; U1.1,U2.1\r\nU3.1\r\n$END\r\n",
                 "N; 2: U1.1, U3.1, \r\n\r\n"},
        NetsCase{"EmptyLineRightAfterNetsKeyword", "\r\nGND ; U1.7\r\n$END\r\n", "\r\n"},
        NetsCase{"EmptyLineBetweenNetsEndsTheSection", "A ; U1.1\r\n\r\nB ; U1.2\r\n$END\r\n",
                 "A; 1: U1.1, \r\n\r\n"},
        NetsCase{"EndWithBlanksIsNotTheEnd", "A ; U1.1\r\n $END\r\nB ; U1.2\r\n$END\r\n",
                 "A; 1: U1.1, \r\nB; 1: U1.2, \r\n\r\n"},
        NetsCase{"NameWithoutPins", "N1 ;\r\n$END\r\n", "N1; 0: \r\n\r\n"},
        NetsCase{"NoEndKeyword", "A ; U1.1 U1.2\r\n", "A; 2: U1.1, U1.2, \r\n\r\n"},
        NetsCase{"PinsSeparatedByTabs", "A;\tU1.1\tU1.2\r\n", "A; 2: U1.1, U1.2, \r\n\r\n"},
        // Stray text outside any net gives no net.
        NetsCase{"StrayLinesAreSkipped", "REMARK\r\nA ; U1.1\r\nMORE TEXT\r\nB ; U2.1\r\n$END\r\n",
                 "A; 1: U1.1, \r\nB; 1: U2.1, \r\n\r\n"},
        NetsCase{"StrayCommaBeforeTheFirstNet", "JUNK,\r\nA ; U1.1\r\n$END\r\n", "A; 1: U1.1, \r\n\r\n"},
        // A "," before a net's ";" gives no pin, neither to the nameless net
        // nor from the net before it.
        NetsCase{"CommaBeforeTheNameGivesNoPins", "BASE1, ; Q1.1\r\n \r\nA ; U1.1 U1.2\r\nB, ; X\r\n U3.1\r\n",
                 "; 0: \r\nA; 2: U1.1, U1.2, \r\n; 0: \r\n\r\n"},
        // A net still continued when the input ends keeps its pins.
        NetsCase{"ContinuationAtTheEndOfTheInput", "A ; U1.1 U1.2,", "A; 2: U1.1, U1.2, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TelesisReader, JapaneseTextRoundTripsThroughCp932) {
  writeCp932("input.tel", "$PACKAGES\r\nＤＩＰ ! 抵抗 ; R1\r\n$NETS\r\n電源 ; R1.1\r\n$END\r\n");
  Text status;
  mntelin(context, path("input.tel"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "ＤＩＰ! 抵抗; R1: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: R1.1, \r\n\r\n");
}

TEST_F(TelesisReader, WithoutNetsKeywordTheStatusIsBadAndTheWorkingCopyStaysInNetTmp) {
  EXPECT_EQ(read("$packages\r\ndip14 ! 74ls00 ; u1\nu2\r\n"), "bad");
  EXPECT_EQ(readBytes("parts.tmp"), "DIP14! 74LS00; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "\r\n$PACKAGES\r\nDIP14 ! 74LS00 ; U1\r\nU2\r\n");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
}

TEST_F(TelesisReader, ContinuedPartsLineAtTheEndOfTheInputEndsTheInput) {
  EXPECT_EQ(read("$PACKAGES\r\nDIP14 ! 74LS00 ; U1,"), "bad");
  EXPECT_EQ(readBytes("parts.tmp"), "DIP14! 74LS00; U1: ? \r\n\r\n");
}

TEST_F(TelesisReader, EmptyInputIsBad) {
  EXPECT_EQ(read(""), "bad");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "\r\n");
}

TEST_F(TelesisReader, InvalidBytesFailNamingTheOffset) {
  writeBytes("input.tel", "$PACKAGES\r\n\x81\x20\r\n");
  Text status;
  try {
    mntelin(context, path("input.tel"), status);
    FAIL() << "no failure";
  } catch (const FileError& error) {
    EXPECT_NE(std::string(error.what()).find("byte offset 11"), std::string::npos) << error.what();
  }
}

TEST_F(TelesisReader, MissingInputFails) {
  Text status;
  EXPECT_THROW(mntelin(context, path("absent.tel"), status), FileError);
}

std::string netWithPins(int pins) {
  std::string line = "BIG ;";
  for (int pin = 0; pin < pins; ++pin) line += " U" + std::to_string(pin) + ".1";
  return line;
}

TEST_F(TelesisReader, NetsHoldAtMostNineteenThousandNineHundredNinetyNinePins) {
  EXPECT_EQ(read("$PACKAGES\r\n$NETS\r\n" + netWithPins(19999) + "\r\n$END\r\n"), "good");
  EXPECT_THROW(read("$PACKAGES\r\n$NETS\r\n" + netWithPins(20000) + "\r\n$END\r\n"), CapacityError);
}

class TelesisWriter : public testing::ScratchTest {
 protected:
  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mntelout(context, path("out.tel"));
    return readBytes("out.tel");
  }
};

TEST_F(TelesisWriter, WritesTheExampleVerbatim) {
  EXPECT_EQ(write("DIP14! 74LS00; U1: ? \r\n\r\n", "GND; 6: U1.7, U2.7, U3.7, U4.7, U5.7, U6.7, \r\n\r\n"),
            "$PACKAGES\r\n"
            "DIP14! 74LS00; U1\r\n"
            "$NETS\r\n"
            "GND;                U1.7 U2.7 U3.7 U4.7,\r\n"
            "                    U5.7 U6.7\r\n"
            "$END\r\n");
}

struct WrapCase {
  int pins;
  std::vector<int> pinsPerLine;
};

class TelesisWriterWrap : public TelesisWriter, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(TelesisWriterWrap, PutsFourPinsOnALineButNeverTheLastPinAlone) {
  std::string net = "N; " + std::to_string(GetParam().pins) + ": ";
  for (int pin = 1; pin <= GetParam().pins; ++pin) net += "P" + std::to_string(pin) + ".1, ";
  const std::string out = write("\r\n", net + "\r\n\r\n");
  std::string expected = "$PACKAGES\r\n$NETS\r\nN;" + std::string(17, ' ');
  int pin = 1;
  for (std::size_t line = 0; line < GetParam().pinsPerLine.size(); ++line) {
    if (line > 0) expected += ",\r\n                   ";
    for (int onLine = 0; onLine < GetParam().pinsPerLine[line]; ++onLine) {
      expected += " P" + std::to_string(pin++) + ".1";
    }
  }
  expected += "\r\n$END\r\n";
  EXPECT_EQ(out, expected);
}

INSTANTIATE_TEST_SUITE_P(Layout, TelesisWriterWrap,
                         ::testing::Values(WrapCase{0, {0}}, WrapCase{1, {1}}, WrapCase{4, {4}}, WrapCase{5, {5}},
                                           WrapCase{6, {4, 2}}, WrapCase{8, {4, 4}}, WrapCase{9, {4, 5}},
                                           WrapCase{10, {4, 4, 2}}, WrapCase{13, {4, 4, 5}}));

TEST_F(TelesisWriter, PadsTheNameColumnToNineteenCharacters) {
  const std::string seventeen = "ABCDEFGHIJKLMNOPQ";
  const std::string eighteen = seventeen + "R";
  EXPECT_EQ(write("\r\n", seventeen + "; 1: U1.1, \r\n" + eighteen + "; 1: U1.1, \r\n" + eighteen + "S; 1: U1.1, \r\n\r\n"),
            "$PACKAGES\r\n$NETS\r\n" + seventeen + ";  U1.1\r\n" + eighteen + "; U1.1\r\n" + eighteen +
                "S; U1.1\r\n$END\r\n");
}

TEST_F(TelesisWriter, CountsJapaneseCharactersAsOneColumnEach) {
  writeCp932("parts.tmp", "\r\n");
  writeCp932("net.tmp", "電源; 1: U1.1, \r\n\r\n");
  mntelout(context, path("out.tel"));
  EXPECT_EQ(readCp932("out.tel"), "$PACKAGES\r\n$NETS\r\n電源;                 U1.1\r\n$END\r\n");
}

TEST_F(TelesisWriter, WritesOneLinePerPartWithEmptyFieldsKept) {
  EXPECT_EQ(write("DIP14! 74LS00; U1: ? \r\nDIP14! 74LS00; U2: ? \r\n! R; R1: X? \r\n\r\nIGNORED! A; B: ? \r\n",
                  "\r\n"),
            "$PACKAGES\r\nDIP14! 74LS00; U1\r\nDIP14! 74LS00; U2\r\n! R; R1\r\n$NETS\r\n$END\r\n");
}

TEST_F(TelesisWriter, EmptyIntermediateFilesGiveTheKeywordsAlone) {
  EXPECT_EQ(write("\r\n", "\r\n"), "$PACKAGES\r\n$NETS\r\n$END\r\n");
}

TEST_F(TelesisWriter, ANetLineBeyondTheParserCapacityFails) {
  std::string net = "BIG; 19999: ";
  for (int pin = 0; pin < 19999; ++pin) net += "U" + std::to_string(pin) + ".1, ";
  EXPECT_THROW(write("\r\n", net + "\r\n\r\n"), CapacityError);
}

TEST_F(TelesisWriter, ReadingTheWrittenFileGivesBackTheSameIntermediateFiles) {
  const std::string parts = "DIP14! 74LS00; U1: ? \r\nSO8! LM358; U2: ? \r\n\r\n";
  const std::string nets = "GND; 6: U1.7, U2.4, U3.7, U4.7, U5.7, U6.7, \r\nVCC; 2: U1.14, U2.8, \r\nNC; 0: \r\n\r\n";
  writeBytes("roundtrip.tel", write(parts, nets));
  Text status;
  mntelin(context, path("roundtrip.tel"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), parts);
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

// Written files read back as what was written, also with nothing to write.
struct ReadBackCase {
  const char* name;
  const char* parts;
  const char* nets;
};

class TelesisReadBack : public TelesisWriter, public ::testing::WithParamInterface<ReadBackCase> {};

TEST_P(TelesisReadBack, GivesBackTheIntermediateFiles) {
  writeBytes("back.tel", write(GetParam().parts, GetParam().nets));
  Text status;
  mntelin(context, path("back.tel"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, TelesisReadBack,
    ::testing::Values(ReadBackCase{"PartsWithoutNets", "DIP14! 74HC00; TA-101: ? \r\n! 10K; R1: ? \r\n\r\n", "\r\n"},
                      ReadBackCase{"Nothing", "\r\n", "\r\n"},
                      ReadBackCase{"RealBoardNames", "SOT23! $NETSX; Q1: ? \r\n\r\n",
                                   "NET-(C10-PAD1); 2: TA-101.1, Q1.2, \r\n/VPP{SLASH}MCLR; 1: Q1.3, \r\n"
                                   "UNCONNECTED-(U1-PAD5); 1: U1.5, \r\n$END; 1: $NETSX.1, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// What the limits say a field carries is what the reader gives back.
enum class Field { netName, reference, pinName, partName, package };

struct LimitsCase {
  const char* name;
  Field field;
  const char* text;
  bool carried;
};

class TelesisLimits : public TelesisWriter, public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(TelesisLimits, AgreeWithTheReader) {
  const LimitsCase& limitsCase = GetParam();
  std::string fields[] = {"N", "U1", "1", "74HC00", "DIP14"};
  fields[static_cast<int>(limitsCase.field)] = limitsCase.text;
  const auto& [net, reference, pin, partName, package] = fields;
  const std::string parts = package + "! " + partName + "; " + reference + ": ? \r\n\r\n";
  const std::string nets = net + "; 2: " + reference + "." + pin + ", R9.2, \r\nVCC; 1: R9.1, \r\n\r\n";
  writeBytes("back.tel", write(parts, nets));
  Text status;
  mntelin(context, path("back.tel"), status);
  EXPECT_EQ(status == kStatusGood && readBytes("parts.tmp") == parts && readBytes("net.tmp") == nets,
            limitsCase.carried);
  const FieldLimits* limits[] = {&kTelesisLimits.netName, &kTelesisLimits.reference, &kTelesisLimits.pinName,
                                 &kTelesisLimits.partName, &kTelesisLimits.package};
  EXPECT_EQ(limits[static_cast<int>(limitsCase.field)]->carries(testing::text(limitsCase.text)), limitsCase.carried);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TelesisLimits,
    ::testing::Values(LimitsCase{"NetNameKiCad", Field::netName, "NET-(C10-PAD1)", true},
                      LimitsCase{"NetNameBraces", Field::netName, "/VPP{SLASH}MCLR", true},
                      LimitsCase{"NetNameEnd", Field::netName, "$END", true},
                      LimitsCase{"NetNameEmpty", Field::netName, "", false},
                      LimitsCase{"ReferenceWithDash", Field::reference, "TA-101", true},
                      LimitsCase{"ReferenceBeginningWithNets", Field::reference, "$NETSX", true},
                      LimitsCase{"ReferenceNets", Field::reference, "$NETS", false},
                      LimitsCase{"ReferencePackages", Field::reference, "$PACKAGES", false},
                      LimitsCase{"ReferenceWithBang", Field::reference, "U!1", false},
                      LimitsCase{"ReferenceEmpty", Field::reference, "", false},
                      LimitsCase{"PinNameEmpty", Field::pinName, "", true},
                      LimitsCase{"PartNameNets", Field::partName, "$NETS", true},
                      LimitsCase{"PartNameWithBang", Field::partName, "A!B", false},
                      LimitsCase{"PartNameEmpty", Field::partName, "", false},
                      LimitsCase{"PackagePackages", Field::package, "$PACKAGES", true},
                      LimitsCase{"PackageWithBang", Field::package, "A!B", false},
                      LimitsCase{"PackageEmpty", Field::package, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvanel
