#include "formats/cr5000.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

std::string blanks(std::size_t count) { return std::string(count, ' '); }

// Every LF of `text` written as CR LF.
std::string withCrLf(const std::string& text) {
  std::string converted;
  for (const char character : text) converted += character == '\n' ? std::string("\r\n") : std::string(1, character);
  return converted;
}

class Cr5000Test : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.ccf", input);
    Text status;
    mncr5in(context, path("input.ccf"), status);
    return toUtf8(status);
  }

  // Writes the intermediate files, runs the LF writer and returns its bytes.
  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mncr5out(context, path("output.ccf"));
    return readBytes("output.ccf");
  }
};

TEST_F(Cr5000Test, ReadsCommentDefinitionsNetsAndEveryNetBlock) {
  const std::string input =
      "/*\r\n"
      " * board main\r\n"
      " */\r\n"
      "$CCF{\r\n"
      "       DEFINITION {\r\n"
      "               r10k: R1,R2,\r\n"
      "                     R3;\r\n"
      "               74hc00: u1;\r\n"
      "       }\r\n"
      "       NET{\r\n"
      "                  gnd: U1(7),U2(7)\r\n"
      "                   ,C1(2);\r\n"
      "                  N$1: R1(1),U$1(1);\r\n"
      "       }\r\n"
      "       GROUND {\r\n"
      "              AGND: C2(2);\r\n"
      "       }\r\n"
      "       POWER {\r\n"
      "                  VCC: U1(14);\r\n"
      "       }\r\n"
      "       ONE_STROKE_NET {\r\n"
      "                  CLK: U1(1),U2(1);\r\n"
      "       }\r\n"
      "}\r\n";
  EXPECT_EQ(read(input), "good");
  EXPECT_EQ(readBytes("parts.tmp"),
            "R10K! R10K; R1: ? \r\nR10K! R10K; R2: ? \r\nR10K! R10K; R3: ? \r\n74HC00! 74HC00; U1: ? \r\n\r\n");
  // "$" inside a name stays; a net block's heading never joins a net name.
  EXPECT_EQ(readBytes("net.tmp"),
            "GND; 3: U1.7, U2.7, C1.2, \r\nN$1; 2: R1.1, U$1.1, \r\nAGND; 1: C2.2, \r\nVCC; 1: U1.14, \r\n"
            "CLK; 2: U1.1, U2.1, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

TEST_F(Cr5000Test, LineEndsCrLfLfAndLoneCrReadAlike) {
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    const std::string input = "$CCF{" + lineEnd + "DEFINITION {" + lineEnd + "T: R1;" + lineEnd + "}" + lineEnd +
                              "NET{" + lineEnd + "gnd : u1 ( 7 ) ,\tr1(2) ;" + lineEnd + "}" + lineEnd + "}";
    ASSERT_EQ(read(input), "good") << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readBytes("parts.tmp"), "T! T; R1: ? \r\n\r\n");
    EXPECT_EQ(readBytes("net.tmp"), "GND; 2: U1.7, R1.2, \r\n\r\n");
  }
}

struct BlockCase {
  const char* name;
  const char* block;
  const char* expected;
};

class Cr5000Definitions : public Cr5000Test, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(Cr5000Definitions, GiveOnePartPerReference) {
  ASSERT_EQ(read(std::string("$CCF{\nDEFINITION{\n") + GetParam().block + "\n}\nNET{\n}\n}\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Cr5000Definitions,
    ::testing::Values(
        BlockCase{"TypeNamesPartAndPackage", "DIP: U1,U2;", "DIP! DIP; U1: ? \r\nDIP! DIP; U2: ? \r\n\r\n"},
        BlockCase{"TypeWithoutReferencesLeavesTheNextTypeClean", "EMPTY: ;\nR10K: R1;", "R10K! R10K; R1: ? \r\n\r\n"},
        BlockCase{"EmptyReferenceBetweenCommasGivesNoPart", "R: R1,,R2;", "R! R; R1: ? \r\nR! R; R2: ? \r\n\r\n"},
        BlockCase{"ReferencesWithoutTypeAreDropped", "R1,R2;\nC: C1;", "C! C; C1: ? \r\n\r\n"},
        BlockCase{"BlanksAndTabsNeverJoinAName", "T\tX : A B ,\tC ;", "TX! TX; AB: ? \r\nTX! TX; C: ? \r\n\r\n"},
        BlockCase{"DollarInsideAReference", "PNL: U$1;", "PNL! PNL; U$1: ? \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class Cr5000Nets : public Cr5000Test, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(Cr5000Nets, GiveTheirNetLines) {
  ASSERT_EQ(read(std::string("$CCF{\nNET{\n") + GetParam().block + "\n}\n}\n"), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Cr5000Nets,
    ::testing::Values(
        BlockCase{"EmptyPinBetweenCommas", "A: U1(1),,U2(2);", "A; 3: U1.1, , U2.2, \r\n\r\n"},
        BlockCase{"EmptyPinBeforeSemicolon", "B: U1(1),;", "B; 2: U1.1, , \r\n\r\n"},
        BlockCase{"PinSpreadOverLines", "C: U1(1),U2\n(2);", "C; 2: U1.1, U2.2, \r\n\r\n"},
        BlockCase{"CommentAfterAWordAndOverLines", "D: U1(1)/* a, b; */,U2(2); /* x\nNET{ y */ E: R1(1);",
                  "D; 2: U1.1, U2.2, \r\nE; 1: R1.1, \r\n\r\n"},
        BlockCase{"StrayCommentCloserKeepsTheNetBlock", "*/ F: U1(1);\nG: U2(1);", "G; 1: U2.1, \r\n\r\n"},
        BlockCase{"KeywordsFollowedDirectlyByText", "}GROUND{H:U1(1);}POWER{{I:U2(2);}",
                  "H; 1: U1.1, \r\nI; 1: U2.2, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Cr5000Test, CommentsOfAnyLayoutAreSkippedWhereverTheyStand) {
  const std::string input =
      "junk $CCF{DEFINITION{ /* one line */ T: R1;\n"
      "/* free form text\n"
      "NET{ DEFINITION{ /* not nested\n"
      "still comment */ U: R2;}NET{/**/GND:U1(1);}}\n";
  ASSERT_EQ(read(input), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "T! T; R1: ? \r\nU! U; R2: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 1: U1.1, \r\n\r\n");
}

TEST_F(Cr5000Test, DefinitionBlockAfterTheNetBlockGivesNoParts) {
  ASSERT_EQ(read("$CCF{\nNET{\nA: U1(1);\n}\nDEFINITION{\n}\n}\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "A; 1: U1.1, \r\n\r\n");
}

TEST_F(Cr5000Test, WithoutNetBlockThePartsReadAreStillWritten) {
  writeBytes("parts.tmp", "OLD! OLD; X1: ? \r\n\r\n");
  ASSERT_EQ(read("$CCF{\nDEFINITION{\nT: R1;\n}\nPOWER{\nVCC: R1(1);\n}\n}\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "T! T; R1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "VCC; 1: R1.1, \r\n\r\n");
}

struct BadCase {
  const char* name;
  std::string input;
  const char* partsLeft;
};

class Cr5000Bad : public Cr5000Test, public ::testing::WithParamInterface<BadCase> {};

TEST_P(Cr5000Bad, InputWithoutHeaderIsBadAndLeavesNoNetFile) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().partsLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, Cr5000Bad,
    ::testing::Values(BadCase{"Empty", "", "old parts"},
                      BadCase{"OtherFormat", "$PACKAGES\r\nDIP14 ! 74LS00 ; U1\r\n$NETS\r\n$END\r\n", "old parts"},
                      BadCase{"BinaryGarbage", std::string("\x01\x00\x7f{};:(,$\x1b", 11), "old parts"},
                      BadCase{"HeaderOnlyInAComment", "/* $CCF{ */\nNET{\n}\n", "\r\n"},
                      BadCase{"NetBlockWithoutHeaderWritesTheParts", "DEFINITION{\nT: R1;\n}\nNET{\nA: U1(1);\n}\n",
                              "T! T; R1: ? \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Cr5000Test, InvalidBytesOrAMissingInputFailWithoutTouchingTheIntermediateFiles) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_THROW(read("$CCF{\nNET{\nA: U1(1);\xff\xff\n}\n}\n"), FileError);
  Text status;
  EXPECT_THROW(mncr5in(context, path("missing.ccf"), status), FileError);
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

std::string netBlockWithPins(int count) {
  std::string input = "$CCF{\nNET{\nBIG:";
  for (int pin = 1; pin <= count; ++pin) input += (pin == 1 ? " P(" : ",P(") + std::to_string(pin) + ")";
  return input + ";\n}\n}\n";
}

TEST_F(Cr5000Test, NetHoldsAtMost19999Pins) {
  ASSERT_EQ(read(netBlockWithPins(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netBlockWithPins(20000)), CapacityError);
}

// Parts in reader order; the writer sorts them by their whole line.
const std::string kParts =
    "DIP14! 74HC00; U2: ? \r\nAXIAL! R10K; R2: ? \r\nAXIAL! R10K; R1: ? \r\nDIP14! 74HC00; U1: ? \r\n\r\n";
const std::string kNets = "GND; 3: U1.7, U2.7, C1.2, \r\nN1; 1: U1.1, \r\nNC; 0: \r\n\r\n";
const std::string kWritten = "$CCF{\n"
                             "       DEFINITION {\n" +
                             blanks(15) + "R10K: R1,R2;\n" + blanks(15) + "74HC00: U1,U2;\n" +
                             "       }\n"
                             "       NET{\n" +
                             blanks(15) + "GND: U1(7),U2(7),C1(2);\n" + blanks(16) + "N1: U1(1);\n" + blanks(16) +
                             "NC:\n" +
                             "       }\n"
                             "       GROUND {\n"
                             "       }\n"
                             "       POWER {\n"
                             "       }\n"
                             "       ONE_STROKE_NET {\n"
                             "       }\n"
                             "}\n";

TEST_F(Cr5000Test, WritesTheWholeFileWithLfAloneAndRewritesThePartsSorted) {
  // The whole-file write adds its CR LF after the last LF.
  EXPECT_EQ(write(kParts, kNets), kWritten + "\r\n");
  EXPECT_EQ(readBytes("parts.tmp"),
            "AXIAL! R10K; R1: ? \r\nAXIAL! R10K; R2: ? \r\nDIP14! 74HC00; U1: ? \r\nDIP14! 74HC00; U2: ? \r\n\r\n\r\n");
}

TEST_F(Cr5000Test, PcFormIsTheSameTextWithCrLf) {
  writeBytes("parts.tmp", kParts);
  writeBytes("net.tmp", kNets);
  mncr5pout(context, path("output.ccf"));
  EXPECT_EQ(readBytes("output.ccf"), withCrLf(kWritten) + "\r\n");
}

TEST_F(Cr5000Test, EmptyIntermediateFilesGiveTheEmptyBlocks) {
  EXPECT_EQ(write("\r\n", "\r\n"),
            "$CCF{\n       DEFINITION {\n       }\n       NET{\n       }\n       GROUND {\n       }\n       POWER {\n"
            "       }\n       ONE_STROKE_NET {\n       }\n}\n\r\n");
}

// The definitions block between its heading and its closing line.
std::string definitionsOf(const std::string& output) {
  const std::size_t start = output.find("DEFINITION {\n") + 13;
  return output.substr(start, output.find("       }\n") - start);
}

std::string references(int first, int last) {
  std::string joined;
  for (int number = first; number <= last; ++number) {
    if (!joined.empty()) joined += ",";
    joined += "R" + std::string(number < 10 ? "00" : "0") + std::to_string(number);
  }
  return joined;
}

TEST_F(Cr5000Test, DefinitionLinesWrapOnceTheWidthReaches84AndTheFirstGroupCountsOneMore) {
  // Type T under packages A and C with 18 references of 4 characters each,
  // and type X under package B sorting between them: two groups named T.
  std::string parts;
  for (const char* package : {"A", "C"}) {
    for (int number = 1; number <= 18; ++number) {
      parts += std::string(package) + "! T; " + references(number, number) + ": ? \r\n";
    }
  }
  parts += "B! X; X1: ? \r\n";
  const std::string output = write(parts, "\r\n");
  EXPECT_EQ(definitionsOf(output), blanks(15) + "T: " + references(1, 16) + ",\n" + blanks(18) + references(17, 18) +
                                       ";\n" + blanks(15) + "X: X1;\n" + blanks(15) + "T: " + references(1, 17) +
                                       ",\n" + blanks(18) + references(18, 18) + ";\n");
}

TEST_F(Cr5000Test, PartWithoutPartNameOpensItsOwnGroupAtTheStart) {
  EXPECT_EQ(definitionsOf(write("A! ; R1: ? \r\nA! ; R2: ? \r\nB! T; R3: ? \r\n", "\r\n")),
            blanks(15) + ": R1,R2;\n" + blanks(15) + "T: R3;\n");
}

struct NetLayoutCase {
  const char* name;
  const char* netLine;
  std::string written;
};

class Cr5000NetLayout : public Cr5000Test, public ::testing::WithParamInterface<NetLayoutCase> {};

TEST_P(Cr5000NetLayout, PutsTheColonInColumn19AndEightPinsOnALine) {
  const std::string output = write("\r\n", std::string(GetParam().netLine) + "\r\n\r\n");
  const std::size_t start = output.find("NET{\n") + 5;
  EXPECT_EQ(output.substr(start, output.find("       }\n", start) - start), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, Cr5000NetLayout,
    ::testing::Values(
        NetLayoutCase{"OnePin", "GND; 1: U1.7, ", blanks(15) + "GND: U1(7);\n"},
        NetLayoutCase{"EightPinsOnOneLine", "N; 8: A.1, A.2, A.3, A.4, A.5, A.6, A.7, A.8, ",
                      blanks(17) + "N: A(1),A(2),A(3),A(4),A(5),A(6),A(7),A(8);\n"},
        NetLayoutCase{"NinthPinOnAContinuationLine", "N; 9: A.1, A.2, A.3, A.4, A.5, A.6, A.7, A.8, A.9, ",
                      blanks(17) + "N: A(1),A(2),A(3),A(4),A(5),A(6),A(7),A(8)\n" + blanks(19) + ",A(9);\n"},
        NetLayoutCase{"SeventeenCharacterName", "ABCDEFGHIJKLMNOPQ; 1: U1.1, ", " ABCDEFGHIJKLMNOPQ: U1(1);\n"},
        NetLayoutCase{"LongerName", "ABCDEFGHIJKLMNOPQRST; 1: U1.1, ", " ABCDEFGHIJKLMNOPQRST: U1(1);\n"},
        NetLayoutCase{"NoPins", "NC; 0: ", blanks(16) + "NC:\n"},
        NetLayoutCase{"PinsWithSeveralDotsOrNone", "N; 3: A.B.2, X, R1.-5V, ", blanks(17) + "N: AB(2),(X),R1(-5V);\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Cr5000Test, WritersTakeAtMost20000Parts) {
  std::string parts;
  for (int number = 0; number < 20000; ++number) parts += "P! T; R" + std::to_string(number) + ": ? \r\n";
  EXPECT_NO_THROW(write(parts, "\r\n"));
  writeBytes("output.ccf", "previous");
  EXPECT_THROW(write(parts + "P! T; LAST: ? \r\n", "\r\n"), CapacityError);
  EXPECT_EQ(readBytes("output.ccf"), "previous");
}

TEST_F(Cr5000Test, WrittenFileReadsBackToTheSameIntermediateFiles) {
  const std::string sortedParts = "A! T; R001: ? \r\nA! T; R002: ? \r\nB! U; U1: ? \r\n";
  std::string manyPins = "BUS; 12: ";
  for (int pin = 1; pin <= 12; ++pin) manyPins += "U1." + std::to_string(pin) + ", ";
  const std::string nets = manyPins + "\r\nGND; 2: U1.7, R001.2, \r\n\r\n";
  const std::string output = write(sortedParts + "\r\n", nets);
  ASSERT_EQ(read(output), "good");
  // What the reader gives back: the type name as the package too.
  EXPECT_EQ(readBytes("parts.tmp"), "T! T; R001: ? \r\nT! T; R002: ? \r\nU! U; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

TEST_F(Cr5000Test, BoardsWithoutNetsReadBack) {
  for (const std::string parts : {"DIP14! DIP14; TA-101: ? \r\n\r\n", "\r\n"}) {
    ASSERT_EQ(read(write(parts, "\r\n")), "good");
    EXPECT_EQ(readBytes("parts.tmp"), parts);
    EXPECT_EQ(readBytes("net.tmp"), "\r\n");
  }
}

// Names that the format cannot carry are renamed before the writer runs, and
// the renamed nets read back apart from each other and from the nets that
// already had the new name.
TEST_F(Cr5000Test, RenamedNetsReadBackDistinct) {
  writeBytes("parts.tmp", "\r\n");
  writeBytes("net.tmp",
             "/VPP{slash}MCLR; 1: U1.1, \r\n/VPP_slash_MCLR; 1: U1.2, \r\nNet-(C10-Pad1); 2: C10.1, U1.3, \r\n"
             "NET-.C10-PAD1; 1: U1.4, \r\n\r\n");
  Text findings;
  makeNamesSafeForWriter(context, kCr5000Limits, findings);
  EXPECT_NE(toUtf8(findings).find("/VPP{slash}MCLRを/VPP_slash_MCLR_2に変更しました。"), std::string::npos);
  mncr5out(context, path("output.ccf"));
  ASSERT_EQ(read(readBytes("output.ccf")), "good");
  EXPECT_EQ(readBytes("net.tmp"),
            "/VPP_SLASH_MCLR_2; 1: U1.1, \r\n/VPP_SLASH_MCLR; 1: U1.2, \r\nNET-_C10-PAD1_; 2: C10.1, U1.3, \r\n"
            "NET-.C10-PAD1; 1: U1.4, \r\n\r\n");
}

// What the limits say a field carries is what the reader gives back.
enum class Field { netName, reference, pinName, partName };

struct LimitsCase {
  const char* name;
  Field field;
  const char* text;
  bool carried;
};

class Cr5000Limits : public Cr5000Test, public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(Cr5000Limits, AgreeWithTheReader) {
  const LimitsCase& limitsCase = GetParam();
  std::string fields[] = {"N", "U1", "1", "T"};
  fields[static_cast<int>(limitsCase.field)] = limitsCase.text;
  const auto& [net, reference, pin, partName] = fields;
  const std::string parts = partName + "! " + partName + "; " + reference + ": ? \r\n\r\n";
  const std::string nets = net + "; 2: " + reference + "." + pin + ", R9.2, \r\nVCC; 1: R9.1, \r\n\r\n";
  const bool readsBack = read(write(parts, nets)) == "good" && readBytes("parts.tmp") == parts &&
                         readBytes("net.tmp") == nets;
  EXPECT_EQ(readsBack, limitsCase.carried);
  const FieldLimits* limits[] = {&kCr5000Limits.netName, &kCr5000Limits.reference, &kCr5000Limits.pinName,
                                 &kCr5000Limits.partName};
  EXPECT_EQ(limits[static_cast<int>(limitsCase.field)]->carries(testing::text(limitsCase.text)), limitsCase.carried);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Cr5000Limits,
    ::testing::Values(LimitsCase{"NetNameKiCad", Field::netName, "NET-(C10-PAD1)", false},
                      LimitsCase{"NetNameBraces", Field::netName, "/VPP{SLASH}MCLR", false},
                      LimitsCase{"NetNameHierarchical", Field::netName, "/SHEET1/SDA", true},
                      LimitsCase{"NetNameBlockHeading", Field::netName, "POWER{", false},
                      LimitsCase{"NetNameDollarAndStar", Field::netName, "$RESET*", true},
                      LimitsCase{"NetNameEmpty", Field::netName, "", true},
                      LimitsCase{"ReferenceWithDash", Field::reference, "TA-101", true},
                      LimitsCase{"ReferenceWithParenthesis", Field::reference, "U(1", false},
                      LimitsCase{"ReferenceEmpty", Field::reference, "", false},
                      // "*/" opening a word skips the rest of its line.
                      LimitsCase{"ReferenceOpeningWithCommentCloser", Field::reference, "*/1", false},
                      LimitsCase{"ReferenceWithCommentCloserInside", Field::reference, "R*/1", true},
                      LimitsCase{"NetNameOpeningWithCommentCloser", Field::netName, "*/N", false},
                      LimitsCase{"PartNameOpeningWithCommentCloser", Field::partName, "*/T", false},
                      LimitsCase{"PinNameWithDot", Field::pinName, "A.1", false},
                      LimitsCase{"PinNameEmpty", Field::pinName, "", true},
                      LimitsCase{"PartNameWithParentheses", Field::partName, "RES(0603)", true},
                      LimitsCase{"PartNameWithClosingBrace", Field::partName, "A}", true},
                      LimitsCase{"PartNameBeginningWithClosingBrace", Field::partName, "}A", false},
                      LimitsCase{"PartNameWithComma", Field::partName, "A,B", false},
                      LimitsCase{"PartNameEmpty", Field::partName, "", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvanel
