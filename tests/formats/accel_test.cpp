#include "formats/accel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

const std::string kExampleFile =
    "(netlist \"\"\r\n"
    "  (compinst \"U1\"\r\n"
    "    (patternName \"DIP14\")\r\n"
    "    (compvalue \"74LS00\"))\r\n"
    "  (net \"GND\"\r\n"
    "    (node \"U1\" \"7\")\r\n"
    "    (node \"U2\" \"7\"))\r\n"
    "  (net \"VCC\"\r\n"
    "    (node \"U1\" \"14\")))\r\n";
const std::string kExampleParts = "74LS00! DIP14; U1: ? \r\n\r\n";
const std::string kExampleNets = "GND; 2: U1.7, U2.7, \r\nVCC; 1: U1.14, \r\n\r\n";

class AccelReader : public testing::ScratchTest {
 protected:
  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.net", input);
    Text status;
    mnaccin(context, path("input.net"), status);
    return toUtf8(status);
  }
};

TEST_F(AccelReader, ReadsTheWrittenLayout) {
  EXPECT_EQ(read(kExampleFile), "good");
  EXPECT_EQ(readBytes("parts.tmp"), kExampleParts);
  EXPECT_EQ(readBytes("net.tmp"), kExampleNets);
  EXPECT_TRUE(host.events.empty());
}

TEST_F(AccelReader, KeywordsMatchInAnyCaseAndEverythingComesOutUpperCase) {
  EXPECT_EQ(read("(NETLIST \"x\"\r\n(COMPINST \"u1\"\r\n(PatternName \"dip14\")\r\n(CompValue \"74ls00\"))\r\n"
                 "(Net \"gnd\"\r\n(NODE \"u1\" \"a7\")))\r\n"),
            "good");
  EXPECT_EQ(readBytes("parts.tmp"), "74LS00! DIP14; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 1: U1.A7, \r\n\r\n");
}

TEST_F(AccelReader, LineEndsCrLfLfAndLoneCrReadAlike) {
  for (const std::string lineEnd : {"\n", "\r"}) {
    std::string input = kExampleFile;
    for (std::size_t found = input.find("\r\n"); found != std::string::npos; found = input.find("\r\n", found)) {
      input.replace(found, 2, lineEnd);
      found += lineEnd.size();
    }
    ASSERT_EQ(read(input), "good") << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readBytes("parts.tmp"), kExampleParts);
    EXPECT_EQ(readBytes("net.tmp"), kExampleNets);
  }
}

struct ComponentCase {
  const char* name;
  const char* componentLines;
  const char* expectedPartsFile;
};

class AccelComponents : public AccelReader, public ::testing::WithParamInterface<ComponentCase> {};

TEST_P(AccelComponents, GiveTheirPartsLines) {
  ASSERT_EQ(read(std::string("(netlist \"\"\r\n") + GetParam().componentLines + "  (net \"N\"\r\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().expectedPartsFile);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AccelComponents,
    ::testing::Values(
        ComponentCase{"BlanksInsideAValueVanish",
                      "(compinst \"R1\"\r\n(patternName \"R 0603\")\r\n(compvalue \"10 K\"))\r\n",
                      "10K! R0603; R1: ? \r\n\r\n"},
        ComponentCase{"ParenthesisInsideAQuotedTextIsDropped",
                      "(compinst \"U)1\"\r\n(patternName \"A)B\")\r\n(compvalue \"10)\"))\r\n",
                      "10! AB; U1: ? \r\n\r\n"},
        ComponentCase{"AllFieldsOnOneLine", "(compinst \"U1\" (patternName \"DIP14\") (compvalue \"74LS00\"))\r\n",
                      "74LS00! DIP14; U1: ? \r\n\r\n"},
        ComponentCase{"KeywordOnTheLineBeforeItsText", "(compinst\r\n\"U1\"\r\n(patternName\r\n\"DIP14\")\r\n"
                                                       "(compvalue\r\n\"74LS00\"))\r\n",
                      "74LS00! DIP14; U1: ? \r\n\r\n"},
        ComponentCase{"TwoComponentsOnOneLine",
                      "(compinst \"U1\" (patternName \"DIP14\") (compvalue \"74LS00\")) (compinst \"U2\" "
                      "(patternName \"SO8\") (compvalue \"LM358\"))\r\n",
                      "74LS00! DIP14; U1: ? \r\nLM358! SO8; U2: ? \r\n\r\n"},
        // A component starts empty: it never takes the previous one's pattern.
        ComponentCase{"ComponentWithoutPatternNameHasAnEmptyOne",
                      "(compinst \"U1\"\r\n(patternName \"DIP14\")\r\n(compvalue \"74LS00\"))\r\n"
                      "(compinst \"U2\"\r\n(compvalue \"74LS04\"))\r\n",
                      "74LS00! DIP14; U1: ? \r\n74LS04! ; U2: ? \r\n\r\n"},
        ComponentCase{"EmptyValueStillCompletesTheComponent",
                      "(compinst \"U1\"\r\n(patternName \"DIP14\")\r\n(compvalue \"\"))\r\n",
                      "! DIP14; U1: ? \r\n\r\n"},
        ComponentCase{"ComponentWithoutValueIsWrittenWhenTheNextBegins",
                      "(compinst \"H1\"\r\n(patternName \"HOLE\"))\r\n(compinst \"U1\"\r\n(compvalue \"X\"))\r\n",
                      "! HOLE; H1: ? \r\nX! ; U1: ? \r\n\r\n"},
        ComponentCase{"LastComponentWithoutValueIsWrittenWhenTheNetsBegin",
                      "(compinst \"H1\"\r\n(patternName \"HOLE\"))\r\n", "! HOLE; H1: ? \r\n\r\n"},
        // A pattern name after the value belongs to no part.
        ComponentCase{"ValueBeforePatternNameCompletesTheComponent",
                      "(compinst \"U1\"\r\n(compvalue \"X\")\r\n(patternName \"DIP14\"))\r\n", "X! ; U1: ? \r\n\r\n"},
        ComponentCase{"OtherListsAreIgnored", "(compinst \"U1\"\r\n(originalName \"U1\")\r\n(compvalue \"X\"))\r\n",
                      "X! ; U1: ? \r\n\r\n"},
        ComponentCase{"OtherListsOnTheSameLineAreIgnored",
                      "(compinst \"U1\" (originalName \"X\") (patternName \"P\") (compvalue \"V\"))\r\n",
                      "V! P; U1: ? \r\n\r\n"},
        ComponentCase{"NoComponents", "", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AccelReader, ComponentOnTheLineOfTheFirstNetIsKept) {
  ASSERT_EQ(read("(netlist \"\" (compinst \"U1\" (compvalue \"X\")) (net \"GND\" (node \"U1\" \"7\"))\r\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "X! ; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 1: U1.7, \r\n\r\n");
}

struct NetCase {
  const char* name;
  const char* netLines;
  const char* expectedNetFile;
};

class AccelNets : public AccelReader, public ::testing::WithParamInterface<NetCase> {};

TEST_P(AccelNets, GiveTheirNetLines) {
  ASSERT_EQ(read(std::string("(netlist \"\"\r\n") + GetParam().netLines), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expectedNetFile);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AccelNets,
    ::testing::Values(
        NetCase{"BlanksInsideQuotedTextsVanish", "(net \"VCC 5V\"\r\n(node \"U 1\" \"1 4\")))\r\n",
                "VCC5V; 1: U1.14, \r\n"
                "\r\n"},
        NetCase{"NetClosingOnItsOwnLineHasNoPins", "(net \"NC\")\r\n(net \"GND\"\r\n(node \"U1\" \"7\")))\r\n",
                "NC; 0: \r\nGND; 1: U1.7, \r\n\r\n"},
        NetCase{"ClosersOnLinesOfTheirOwn",
                "  (net \"GND\"\r\n    (node \"U1\" \"7\")\r\n    (node \"U2\" \"7\")\r\n  )\r\n"
                "  (net \"VCC\"\r\n    (node \"U1\" \"14\")\r\n  )\r\n)\r\n",
                "GND; 2: U1.7, U2.7, \r\nVCC; 1: U1.14, \r\n\r\n"},
        NetCase{"NetClosersOnALineOfTheirOwn", "(net \"GND\"\r\n(node \"U1\" \"7\")\r\n))\r\n(node \"U9\" \"9\")\r\n",
                "GND; 1: U1.7, \r\n\r\n"},
        NetCase{"NetWithoutClosersEndsWhereTheNextBegins",
                "(net \"A\"\r\n(node \"U1\" \"1\")\r\n(net \"B\"\r\n(node \"U2\" \"2\"))\r\n",
                "A; 1: U1.1, \r\nB; 1: U2.2, \r\n\r\n"},
        NetCase{"NetOpenAtTheEndOfTheInputKeepsItsPins", "(net \"A\"\r\n(node \"U1\" \"1\")",
                "A; 1: U1.1, \r\n\r\n"},
        NetCase{"SeveralNodesOnOneLine", "(net \"A\"\r\n(node \"U1\" \"1\") (node \"U2\" \"2\")(node \"U3\" \"3\")))\r\n",
                "A; 3: U1.1, U2.2, U3.3, \r\n\r\n"},
        NetCase{"WholeNetlistOnOneLine",
                "(net \"A\" (node \"U1\" \"1\") (node \"U2\" \"2\")) (net \"B\" (node \"U3\" \"3\")))\r\n",
                "A; 2: U1.1, U2.2, \r\nB; 1: U3.3, \r\n\r\n"},
        NetCase{"TabsBetweenTheQuotedTextsAreDropped", "(net \"A\"\r\n(node\t\"U1\"\t\"1\")\t)\t)\r\n",
                "A; 1: U1.1, \r\n\r\n"},
        NetCase{"NodeWithoutQuotedReferenceAddsNoPin",
                "(net \"LONG\"\r\n(node \"U1\" \"1\")\r\n(node \"U2\" \"2\"))\r\n(net \"SHORT\"\r\n(node)\r\n(node U3 "
                "3)\r\n(node \"U4\" \"4\"))\r\n",
                "LONG; 2: U1.1, U2.2, \r\nSHORT; 1: U4.4, \r\n\r\n"},
        NetCase{"NodeWithoutPinNumber", "(net \"A\"\r\n(node \"TP1\"))\r\n", "A; 1: TP1, \r\n\r\n"},
        NetCase{"PinNumberWithADot", "(net \"A\"\r\n(node \"R1\" \"2.3\"))\r\n", "A; 1: R1.2.3, \r\n\r\n"},
        NetCase{"NodesOutsideANetAreIgnored",
                "(node \"U0\" \"0\")\r\n(net \"A\"\r\n(node \"U1\" \"1\")))\r\n(node \"U2\" \"2\"))\r\n",
                "A; 1: U1.1, \r\n\r\n"},
        NetCase{"UnquotedNameRunsToTheEndOfTheLine", "(net GND 1\r\n(node \"U1\" \"1\"))\r\n",
                "GND1; 1: U1.1, \r\n\r\n"},
        NetCase{"NameWithoutClosingQuoteRunsToTheEndOfTheLine", "(net \"GN D\r\n(node \"U1\" \"1\"))\r\n",
                "GND; 1: U1.1, \r\n\r\n"},
        NetCase{"NetKeywordNeedsABlankAfterIt", "(net\"A\"\r\n(node \"U1\" \"1\"))\r\n(net \"B\"\r\n(node \"U2\" "
                                                "\"2\"))\r\n",
                "B; 1: U2.2, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AccelReader, ANodeWithAHugeLineIsReadOnceAndQuickly) {
  // The line holds one node; the text after its pin number names another
  // node that never comes.
  const std::string reference(200000, 'A');
  ASSERT_EQ(read("(netlist \"\"\r\n(net \"N\"\r\n(node " + reference + "\"\"\"\"(node\r\n"), "good");
  EXPECT_EQ(readBytes("net.tmp"), "N; 1: " + reference + ", \r\n\r\n");
}

TEST_F(AccelReader, JapaneseTextRoundTripsThroughCp932) {
  writeCp932("input.net", "(netlist \"\"\r\n(compinst \"Ｒ１\"\r\n(patternName \"抵抗\")\r\n(compvalue \"１０ｋ\"))\r\n"
                          "(net \"電源\"\r\n(node \"Ｒ１\" \"１\")))\r\n");
  Text status;
  mnaccin(context, path("input.net"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "１０Ｋ! 抵抗; Ｒ１: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: Ｒ１.１, \r\n\r\n");
}

// A (netlist ...) without any net is an empty netlist only when it names no
// node either.
TEST_F(AccelReader, WithoutANetTheStatusIsBadAndNoFileIsWritten) {
  for (const std::string& input :
       {std::string(), std::string("(compinst \"U1\"\r\n(compvalue \"X\"))\r\n"),
        std::string("(netlist \"\"\r\n(net\"GND\"\r\n(node \"U1\" \"7\")))\r\n"), std::string("(network \"A\"\r\n")}) {
    writeBytes("parts.tmp", "earlier parts\r\n");
    writeBytes("net.tmp", "earlier nets\r\n");
    host.events.clear();
    EXPECT_EQ(read(input), "bad") << input;
    EXPECT_EQ(readBytes("parts.tmp"), "earlier parts\r\n") << input;
    EXPECT_EQ(readBytes("net.tmp"), "earlier nets\r\n") << input;
    EXPECT_EQ(host.events, std::vector<std::string>{"hide"}) << input;
  }
}

TEST_F(AccelReader, InvalidBytesFail) {
  writeBytes("input.net", "(netlist \"\"\r\n(net \"\x81\x20\"\r\n");
  Text status;
  EXPECT_THROW(mnaccin(context, path("input.net"), status), FileError);
}

TEST_F(AccelReader, MissingInputFails) {
  Text status;
  EXPECT_THROW(mnaccin(context, path("absent.net"), status), FileError);
}

std::string netWithNodes(int nodes) {
  std::string lines = "(netlist \"\"\r\n(net \"BIG\"\r\n";
  for (int node = 0; node < nodes; ++node) lines += "(node \"U" + std::to_string(node) + "\" \"1\")\r\n";
  return lines + "))\r\n";
}

TEST_F(AccelReader, NetsHoldAtMostNineteenThousandNineHundredNinetyNinePins) {
  EXPECT_EQ(read(netWithNodes(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 12), "BIG; 19999: ");
  EXPECT_THROW(read(netWithNodes(20000)), CapacityError);
}

class AccelWriter : public testing::ScratchTest {
 protected:
  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mnaccout(context, path("out.net"));
    return readBytes("out.net");
  }
};

TEST_F(AccelWriter, WritesTheExampleVerbatim) {
  EXPECT_EQ(write(kExampleParts, kExampleNets), kExampleFile);
}

struct WriterCase {
  const char* name;
  const char* partsFile;
  const char* netFile;
  const char* expectedOutput;
};

class AccelWriterLayout : public AccelWriter, public ::testing::WithParamInterface<WriterCase> {};

TEST_P(AccelWriterLayout, WritesTheLayout) {
  EXPECT_EQ(write(GetParam().partsFile, GetParam().netFile), GetParam().expectedOutput);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, AccelWriterLayout,
    ::testing::Values(
        WriterCase{"NoPartsGoesStraightToTheNets", "\r\n", "N; 1: U1.1, \r\n\r\n",
                   "(netlist \"\"\r\n  (net \"N\"\r\n    (node \"U1\" \"1\")))\r\n"},
        WriterCase{"NoNetsEndsWithALoneParenthesis", "X! P; U1: ? \r\n\r\n", "\r\n",
                   "(netlist \"\"\r\n  (compinst \"U1\"\r\n    (patternName \"P\")\r\n    (compvalue \"X\"))\r\n)\r\n"},
        WriterCase{"NothingAtAll", "\r\n", "\r\n", "(netlist \"\"\r\n)\r\n"},
        WriterCase{"EmptyPartFieldsStayQuoted", "! ; U1: ? \r\n\r\n", "\r\n",
                   "(netlist \"\"\r\n  (compinst \"U1\"\r\n    (patternName \"\")\r\n    (compvalue \"\"))\r\n)\r\n"},
        WriterCase{"ReadingStopsAtTheFirstEmptyLine", "A! B; U1: ? \r\n\r\nC! D; U2: ? \r\n",
                   "N; 1: U1.1, \r\n\r\nM; 1: U2.1, \r\n",
                   "(netlist \"\"\r\n  (compinst \"U1\"\r\n    (patternName \"B\")\r\n    (compvalue \"A\"))\r\n"
                   "  (net \"N\"\r\n    (node \"U1\" \"1\")))\r\n"},
        WriterCase{"PinWithoutDotIsAReferenceWithAnEmptyPinNumber", "\r\n", "N; 2: TP1, U1.1, \r\n\r\n",
                   "(netlist \"\"\r\n  (net \"N\"\r\n    (node \"TP1\" \"\")\r\n    (node \"U1\" \"1\")))\r\n"},
        WriterCase{"PinWithTwoDotsIsSplitAtTheFirst", "\r\n", "N; 1: R1.2.3, \r\n\r\n",
                   "(netlist \"\"\r\n  (net \"N\"\r\n    (node \"R1\" \"2.3\")))\r\n"},
        WriterCase{"NetWithoutPinsClosesOnItsOwnLine", "\r\n", "A; 0: \r\nB; 1: U1.1, \r\nC; 0: \r\n\r\n",
                   "(netlist \"\"\r\n  (net \"A\")\r\n  (net \"B\"\r\n    (node \"U1\" \"1\"))\r\n  (net \"C\"))\r\n"},
        WriterCase{"CountDecidesHowManyPinsAreWritten", "\r\n", "N; 1: U1.1, U2.2, \r\n\r\n",
                   "(netlist \"\"\r\n  (net \"N\"\r\n    (node \"U1\" \"1\")))\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AccelWriter, ANetLineBeyondTheParserCapacityFails) {
  std::string net = "BIG; 19999: ";
  for (int pin = 0; pin < 19999; ++pin) net += "U" + std::to_string(pin) + ".1, ";
  EXPECT_THROW(write("\r\n", net + "\r\n\r\n"), CapacityError);
}

TEST_F(AccelWriter, ReadingTheWrittenFileGivesBackTheSameIntermediateFiles) {
  const std::string parts = "74LS00! DIP14; U1: ? \r\n! SO8; U2: ? \r\n10K! ; R1: ? \r\n\r\n";
  const std::string nets =
      "GND; 3: U1.7, U2.4, R1.2, \r\nNC; 0: \r\nVCC; 2: U1.14, R1.1.A, \r\nEND; 0: \r\n\r\n";
  writeBytes("roundtrip.net", write(parts, nets));
  Text status;
  mnaccin(context, path("roundtrip.net"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), parts);
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

TEST_F(AccelWriter, ReadingTheWrittenFileUpperCasesIt) {
  writeBytes("roundtrip.net", write("74ls00! dip14; u1: ? \r\n\r\n", "gnd; 1: u1.7, \r\n\r\n"));
  Text status;
  mnaccin(context, path("roundtrip.net"), status);
  EXPECT_EQ(readBytes("parts.tmp"), "74LS00! DIP14; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 1: U1.7, \r\n\r\n");
}

// Written files read back as what was written, also with nothing to write.
struct ReadBackCase {
  const char* name;
  const char* parts;
  const char* nets;
};

class AccelReadBack : public AccelWriter, public ::testing::WithParamInterface<ReadBackCase> {};

TEST_P(AccelReadBack, GivesBackTheIntermediateFiles) {
  writeBytes("back.net", write(GetParam().parts, GetParam().nets));
  Text status;
  mnaccin(context, path("back.net"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, AccelReadBack,
    ::testing::Values(ReadBackCase{"PartsWithoutNets", "SOT23! (COMPVALUE; TA-101: ? \r\n! ; U2: ? \r\n\r\n", "\r\n"},
                      ReadBackCase{"Nothing", "\r\n", "\r\n"},
                      ReadBackCase{"RealBoardNames", "DIP14! (NET; (COMPINSTX: ? \r\n\r\n",
                                   "NET-(C10-PAD1); 3: TA-101.1, TP1, -5V, \r\n/VPP{SLASH}MCLR; 1: (COMPINSTX.(1), \r\n"
                                   "UNCONNECTED-(U1-PAD5); 1: U1.5, \r\n; 1: .1, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// What the limits say a field carries is what the reader gives back.
enum class Field { netName, reference, pinName, partName, package };

struct LimitsCase {
  const char* name;
  Field field;
  const char* text;
  bool carried;
};

class AccelLimits : public AccelWriter, public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(AccelLimits, AgreeWithTheReader) {
  const LimitsCase& limitsCase = GetParam();
  std::string fields[] = {"N", "U1", "1", "DIP14", "74HC00"};
  fields[static_cast<int>(limitsCase.field)] = limitsCase.text;
  const auto& [net, reference, pin, partName, package] = fields;
  const std::string parts = package + "! " + partName + "; " + reference + ": ? \r\n\r\n";
  const std::string nets = net + "; 2: " + reference + "." + pin + ", R9.2, \r\nVCC; 1: R9.1, \r\n\r\n";
  writeBytes("back.net", write(parts, nets));
  Text status;
  mnaccin(context, path("back.net"), status);
  EXPECT_EQ(status == kStatusGood && readBytes("parts.tmp") == parts && readBytes("net.tmp") == nets,
            limitsCase.carried);
  const FieldLimits* limits[] = {&kAccelLimits.netName, &kAccelLimits.reference, &kAccelLimits.pinName,
                                 &kAccelLimits.partName, &kAccelLimits.package};
  EXPECT_EQ(limits[static_cast<int>(limitsCase.field)]->carries(testing::text(limitsCase.text)), limitsCase.carried);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AccelLimits,
    ::testing::Values(LimitsCase{"NetNameKiCad", Field::netName, "NET-(C10-PAD1)", true},
                      LimitsCase{"NetNameNodeKeyword", Field::netName, "(NODE", true},
                      LimitsCase{"NetNameEmpty", Field::netName, "", true},
                      LimitsCase{"NetNameWithQuote", Field::netName, "A\"B", false},
                      LimitsCase{"ReferenceWithParentheses", Field::reference, "U(1", true},
                      LimitsCase{"ReferenceCompvalueKeyword", Field::reference, "(COMPVALUE", true},
                      LimitsCase{"ReferenceWithClosingParenthesis", Field::reference, "U1)", false},
                      LimitsCase{"ReferenceWithQuote", Field::reference, "U\"1", false},
                      LimitsCase{"PinNameWithDot", Field::pinName, "A.1", true},
                      LimitsCase{"PinNameWithParenthesis", Field::pinName, "1)", true},
                      LimitsCase{"PinNameEmpty", Field::pinName, "", false},
                      LimitsCase{"PartNamePatternKeyword", Field::partName, "(PATTERNNAME", true},
                      LimitsCase{"PartNameWithClosingParenthesis", Field::partName, "RES(0603)", false},
                      LimitsCase{"PackageEmpty", Field::package, "", true},
                      LimitsCase{"PackageWithQuote", Field::package, "10\"", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvanel
