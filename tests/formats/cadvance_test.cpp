#include "formats/cadvance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

std::string blanks(std::size_t count) { return std::string(count, ' '); }

// The file of the format's documentation, as the writer makes it from a
// TANGO input.
const std::string kExampleFile =
    "/*\r\n"
    "*     TANGO ===> CADVANCE NET LIST FILE\r\n"
    "*/\r\n"
    "$NET_LIST [ MM ] {\r\n"
    "        comp {\r\n"
    "                U1    [DIP14       ]={74HC00             , , , , };\r\n"
    "        }\r\n"
    "        nets{\r\n"
    "                GND               ={U1    - 7,U2    - 7,C1    - 2,C2    - 2,\r\n"
    "                        C3    - 2,C4    - 2,C5    - 2,C6    - 2,C7    - 2,\r\n"
    "                        C8    - 2};\r\n"
    "        }\r\n"
    "}\r\n";
const std::string kExampleParts = "DIP14! 74HC00; U1: ? \r\n\r\n";
const std::string kExampleNets = "GND; 10: U1.7, U2.7, C1.2, C2.2, C3.2, C4.2, C5.2, C6.2, C7.2, C8.2, \r\n\r\n";

class CadvanceTest : public testing::ScratchTest {
 protected:
  std::string read(const std::string& input) {
    writeBytes("input.cva", input);
    Text status = u"unset";
    mncvain(context, path("input.cva"), status);
    return toUtf8(status);
  }
  std::string write(const std::string& parts, const std::string& nets, const char* inputFormat = "TANGO") {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    context.inputFormatName = testing::text(inputFormat);
    mncvaout(context, path("output.cva"));
    return readBytes("output.cva");
  }
  // A file with the given part lines and net entries.
  static std::string file(const std::string& partLines, const std::string& netEntries) {
    return "$NET_LIST [ MM ] {\r\ncomp {\r\n" + partLines + "}\r\nnets{\r\n" + netEntries + "}\r\n}\r\n";
  }
};

TEST_F(CadvanceTest, ReadsTheExampleFile) {
  EXPECT_EQ(read(kExampleFile), "good");
  EXPECT_EQ(readBytes("parts.tmp"), kExampleParts);
  EXPECT_EQ(readBytes("net.tmp"), kExampleNets);
  EXPECT_TRUE(host.events.empty());
}

TEST_F(CadvanceTest, ReadsLfOnlyAndLowerCaseInput) {
  EXPECT_EQ(read("comp {\nu1 [dip14]={74hc00, , };\n}\nnets{\ngnd ={u1-7,\nu2-7};\n}\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "DIP14! 74HC00; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 2: U1.7, U2.7, \r\n\r\n");
}

struct ReadCase {
  const char* name;
  std::string partLines;
  std::string netEntries;
  std::string parts;
  std::string nets;
};

class CadvanceRead : public CadvanceTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(CadvanceRead, GivesItsPartsAndNets) {
  ASSERT_EQ(read(file(GetParam().partLines, GetParam().netEntries)), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts + "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CadvanceRead,
    ::testing::Values(
        ReadCase{"QuotesAndBlanksLeaveParts", "U 1 [\"DIP 14\"]={\"74HC00\", 3, };\r\n", "",
                 "DIP14! 74HC00; U1: ? \r\n", ""},
        ReadCase{"PartWithoutNameIsNoPart", "U1 [DIP14]={ , 74HC00};\r\nU2 []={R};\r\nU3 []={10K,};\r\n", "",
                 "! 10K; U3: ? \r\n", ""},
        ReadCase{"NamesBeginningWithKeywordsAreParts",
                 "U1 [SO8]={COMPARATOR, };\r\nU2 [COMPACT]={X, };\r\nNETSW1 [SW]={SWITCH, };\r\nNETS [TP]={TP, };\r\n",
                 "", "SO8! COMPARATOR; U1: ? \r\nCOMPACT! X; U2: ? \r\nSW! SWITCH; NETSW1: ? \r\nTP! TP; NETS: ? \r\n",
                 ""},
        ReadCase{"EntryOverLinesAndNameAlone", "", "GND\r\n={U1-7,\r\nU2-\r\n7, U3 - 7};\r\n", "",
                 "GND; 3: U1.7, U2.7, U3.7, \r\n"},
        ReadCase{"LastInnerDashIsTheSeparator", "", "N ={U1-7,TA-101-1,U2--5V,-12V,R-1-2,U1- -};\r\n", "",
                 "N; 6: U1.7, TA-101.1, U2.-5V, -12V, R-1.2, U1.-, \r\n"},
        ReadCase{"EmptyTokensAreNoPins", "", "A ={};\r\nB ={U1-1,};\r\nC ={,U1-2};\r\n", "",
                 "A; 0: \r\nB; 1: U1.1, \r\nC; 1: U1.2, \r\n"},
        ReadCase{"StraySemicolonsMakeNoNet", "", "JUNK;\r\n;A ={U1-1};;\r\n", "", "A; 1: U1.1, \r\n"},
        ReadCase{"QuotesStayInNets", "", "\"N 1\" ={\"U1-1\"};\r\n", "", "\"N1\"; 1: \"U1.1\", \r\n"},
        ReadCase{
            "BoardNames", "TA-101 [R0603]={10K, };\r\n",
            "Net-(C1-Pad1) ={C1-1,TA-101-2};\r\n/VPP{slash}MCLR ={U1-1};\r\nclk ={U1-2};\r\nCLK ={U2-2};\r\n",
            "R0603! 10K; TA-101: ? \r\n",
            "NET-(C1-PAD1); 2: C1.1, TA-101.2, \r\n/VPPSLASHMCLR; 1: U1.1, \r\nCLK; 1: U1.2, \r\nCLK; 1: U2.2, \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CadvanceTest, EntryLeftOpenAtTheEndOfTheFileKeepsItsPins) {
  ASSERT_EQ(read("comp {\r\nnets{\r\nA ={U1-1};\r\nB ={U1-2,U2-2"), "good");
  EXPECT_EQ(readBytes("net.tmp"), "A; 1: U1.1, \r\nB; 2: U1.2, U2.2, \r\n\r\n");
}

TEST_F(CadvanceTest, JapanesePartNamesReadInCp932) {
  writeCp932("input.cva", file("R1 [チップ]={抵抗, };\r\n", "電源 ={R1-1};\r\n"));
  Text status;
  mncvain(context, path("input.cva"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "チップ! 抵抗; R1: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: R1.1, \r\n\r\n");
}

struct BadCase {
  const char* name;
  std::string input;
  std::string parts;
};

class CadvanceBad : public CadvanceTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(CadvanceBad, LeavesThePartsFoundAndTheWorkingCopy) {
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  std::string workingCopy;
  if (!GetParam().input.empty()) {
    for (const char character : "\n" + GetParam().input)
      workingCopy += character == '\n' ? "\r\n" : std::string(1, character);
  }
  EXPECT_EQ(readBytes("net.tmp"), workingCopy + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Failures, CadvanceBad,
                         ::testing::Values(BadCase{"Empty", "", "\r\n"},
                                           BadCase{"NoNetsBlock", "COMP {\nU1 [DIP]={X, };\n}",
                                                   "DIP! X; U1: ? \r\n\r\n"},
                                           BadCase{"NetsBeforeComp", "NETS{\nCOMP {", "\r\n"},
                                           BadCase{"KeywordsInsideWords", "COMPS {\nU1 [DIP]={X, };\nNETSX {", "\r\n"},
                                           BadCase{"NetsFollowedByText", "COMP{\nNETS = 3", "\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CadvanceTest, ANetHoldsAtMost19999Pins) {
  auto entry = [](int pins) {
    std::string text = "COMP {\r\nNETS{\r\nBIG ={";
    for (int pin = 1; pin <= pins; ++pin) text += "P-" + std::to_string(pin) + ",";
    return text + "};\r\n";
  };
  ASSERT_EQ(read(entry(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(entry(20000)), CapacityError);
}

TEST_F(CadvanceTest, WritesTheExampleFile) { EXPECT_EQ(write(kExampleParts, kExampleNets), kExampleFile + "\r\n"); }

TEST_F(CadvanceTest, SortsAndRewritesThePartsFile) {
  const std::string out = write(
      "SO8! LM358; U2: ? \r\nDIP14! 74HC00; U3: ? \r\n\r\nDIP14! 74HC00; U1: ? \r\n"
      "DIP14! 74HC00; U3: ? \r\nDIP14! 74HC00; U10: ? \r\n",
      "\r\n", "");
  // Whole lines are compared: "U10: " comes before "U1: " since "0" comes before ":".
  EXPECT_EQ(readBytes("parts.tmp"),
            "DIP14! 74HC00; U10: ? \r\nDIP14! 74HC00; U1: ? \r\nDIP14! 74HC00; U3: ? \r\nDIP14! 74HC00; U3: ? \r\n"
            "SO8! LM358; U2: ? \r\n\r\n\r\n");
  const std::string part = blanks(16) + "U10   [DIP14       ]={74HC00             , , , , };\r\n";
  EXPECT_EQ(out,
            "/*\r\n*      ===> CADVANCE NET LIST FILE\r\n*/\r\n$NET_LIST [ MM ] {\r\n        comp {\r\n" + part +
                blanks(16) + "U1    [DIP14       ]={74HC00             , , , , };\r\n" + blanks(16) +
                "U3    [DIP14       ]={74HC00             , , , , };\r\n" + blanks(16) +
                "U3    [DIP14       ]={74HC00             , , , , };\r\n" + blanks(16) +
                "U2    [SO8         ]={LM358              , , , , };\r\n        }\r\n        nets{\r\n        }\r\n"
                "}\r\n\r\n");
}

struct PartLayoutCase {
  const char* name;
  const char* partsLine;
  std::string written;
};

class CadvancePartLayout : public CadvanceTest, public ::testing::WithParamInterface<PartLayoutCase> {};

TEST_P(CadvancePartLayout, PadsTheColumnCountTo22And34And53) {
  const std::string out = write(std::string(GetParam().partsLine) + "\r\n\r\n", "\r\n");
  const std::size_t start = out.find("comp {\r\n") + 8;
  EXPECT_EQ(out.substr(start, out.find("\r\n", start) - start), blanks(16) + GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, CadvancePartLayout,
    ::testing::Values(
        PartLayoutCase{"AllFit", "DIP14! 74HC00; U1: ? ", "U1    [DIP14       ]={74HC00             , , , , };"},
        PartLayoutCase{"AllEmpty", "! ; : ? ", blanks(6) + "[" + blanks(12) + "]={" + blanks(19) + ", , , , };"},
        PartLayoutCase{"LongReferenceTakesFromThePackage", "DIP14! 74HC00; CONN-12: ? ",
                       "CONN-12[DIP14      ]={74HC00             , , , , };"},
        PartLayoutCase{"LongPackageTakesFromThePartName", "QFP-100-0.5MM! CPU; U1: ? ",
                       "U1    [QFP-100-0.5MM]={CPU               , , , , };"},
        PartLayoutCase{"LongPartName", "R0603! RESISTOR-10K-1%-0603-THICK; R1: ? ",
                       "R1    [R0603       ]={RESISTOR-10K-1%-0603-THICK, , , , };"},
        PartLayoutCase{"EverythingTooLong", "PACKAGE-NAME-13! PART-NAME-IS-20-CHARS; REFERENCE: ? ",
                       "REFERENCE[PACKAGE-NAME-13]={PART-NAME-IS-20-CHARS, , , , };"}),
    [](const auto& info) { return std::string(info.param.name); });

// The line breaks of a net of `pins` pins as the counters give them: a pin
// counter from 0, a line counter from 1 and a divisor from 4; a break before
// a pin when counter / line / divisor is exactly 1; the first break makes the
// divisor 5 and raises the counter once more.
std::vector<bool> breaksByCounters(int pins) {
  std::vector<bool> breakBefore;
  double counter = 0;
  double line = 1;
  double divisor = 4;
  for (int pin = 0; pin < pins; ++pin) {
    const bool breaks = counter / line / divisor == 1;
    if (breaks) {
      if (divisor == 4) {
        divisor = 5;
        counter += 1;
      }
      line += 1;
    }
    breakBefore.push_back(breaks);
    counter += 1;
  }
  return breakBefore;
}

TEST_F(CadvanceTest, BreaksPinLinesWhereTheCountersDo) {
  for (int pins = 0; pins <= 31; ++pins) {
    std::string net = "N; " + std::to_string(pins) + ": ";
    std::string entry = blanks(16) + "N" + blanks(17) + "={";
    const std::vector<bool> breakBefore = breaksByCounters(pins);
    for (int pin = 0; pin < pins; ++pin) {
      const std::string reference = "P" + std::to_string(pin + 1);
      net += reference + ".1, ";
      if (breakBefore[pin]) entry += "\r\n" + blanks(24);
      entry += reference + blanks(6 - reference.size()) + "- 1" + (pin + 1 < pins ? "," : "};");
    }
    if (pins == 0) entry += "};";
    const std::string out = write("\r\n", net + "\r\n\r\n");
    const std::size_t start = out.find("nets{\r\n") + 7;
    EXPECT_EQ(out.substr(start), entry + "\r\n        }\r\n}\r\n\r\n") << pins << " pins";
  }
}

struct NetLayoutCase {
  const char* name;
  const char* netLine;
  std::string written;
};

class CadvanceNetLayout : public CadvanceTest, public ::testing::WithParamInterface<NetLayoutCase> {};

TEST_P(CadvanceNetLayout, WritesNameAndPins) {
  const std::string out = write("\r\n", std::string(GetParam().netLine) + "\r\n\r\n");
  const std::size_t start = out.find("nets{\r\n") + 7;
  EXPECT_EQ(out.substr(start, out.find("\r\n", start) - start), blanks(16) + GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, CadvanceNetLayout,
    ::testing::Values(NetLayoutCase{"TwoDigitPin", "N; 1: U12.10, ", "N" + blanks(17) + "={U12   -10};"},
                      NetLayoutCase{"LongReference", "N; 1: CONNECTOR1.A1, ", "N" + blanks(17) + "={CONNECTOR1-A1};"},
                      NetLayoutCase{"SplitAtTheFirstDot", "N; 1: A.B.C, ", "N" + blanks(17) + "={A     -B.C};"},
                      NetLayoutCase{"PinWithoutDotAsItStands", "N; 2: X, -5V, ", "N" + blanks(17) + "={X,-5V};"},
                      NetLayoutCase{"EmptyPinNumber", "N; 1: U1., ", "N" + blanks(17) + "={U1    -};"},
                      NetLayoutCase{"NetWithoutPinsIsClosed", "NC; 0: ", "NC" + blanks(16) + "={};"},
                      NetLayoutCase{"Name18", "ABCDEFGHIJKLMNOPQR; 1: U1.1, ", "ABCDEFGHIJKLMNOPQR={U1    - 1};"},
                      NetLayoutCase{"Name19", "Net-(C1-Pad1)-LONGX; 1: C1.1, ", "Net-(C1-Pad1)-LONGX={C1    - 1};"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CadvanceTest, ANetLineBeyondTheParserCapacityFails) {
  std::string net = "BIG; 19999: ";
  for (int pin = 0; pin < 19999; ++pin) net += "U.1, ";
  EXPECT_THROW(write("\r\n", net + "\r\n\r\n"), CapacityError);
}

TEST_F(CadvanceTest, WrittenFileReadsBackToTheSamePartsAndNets) {
  const std::string parts = "R0603! 10K; TA-101: ? \r\nDIP14! 74HC00; U1: ? \r\nSO8! COMPARATOR; U2: ? \r\n\r\n";
  const std::string nets =
      "NET-(C1-PAD1); 9: U1.1, U1.2, TA-101.1, U2.-5V, A.B.C, U3.10, U4.1, U5.1, U6.1, \r\n"
      "NC; 0: \r\nNETS; 1: U2.-, \r\nUNCONNECTED-(U1-PAD5); 1: U1.5, \r\nX; 2: TP1, U1., \r\n\r\n";
  writeBytes("written.cva", write(parts, nets));
  ASSERT_EQ(read(readBytes("written.cva")), "good");
  EXPECT_EQ(readBytes("parts.tmp"),
            "DIP14! 74HC00; U1: ? \r\nR0603! 10K; TA-101: ? \r\nSO8! COMPARATOR; U2: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

// Fields built of characters that a format may take as syntax, inside, in
// front and at the end, and the keywords of the formats.
std::vector<std::string> hostileFields() {
  std::vector<std::string> fields = {"COMP", "NETS", "END*", "NET*", "SYM*", "%NET", "Net-(C1-Pad1)", "TA-101", ""};
  for (const char character : std::string("\"#$%&'()*+,-./<=>@[\\]^_`{|}~")) {
    for (const std::string& field : {std::string("A") + character + "B", character + std::string("N"),
                                     std::string("N") + character}) {
      fields.push_back(field);
    }
  }
  return fields;
}

std::string upper(const std::string& utf8) { return toUtf8(toUpper(testing::text(utf8))); }

TEST_F(CadvanceTest, WhatTheLimitsCallCarriedReadsBack) {
  // Whether the intermediate files read back as written, upper-cased.
  auto readsBack = [&](const std::string& parts, const std::string& nets) {
    const std::string netLines = "A; 1: U0.1, \r\n" + nets + "M; 1: U2.1, \r\n\r\n";
    writeBytes("written.cva", write(parts + "\r\n", netLines));
    read(readBytes("written.cva"));
    return readBytes("parts.tmp") == upper(parts) + "\r\n" && readBytes("net.tmp") == upper(netLines);
  };
  for (const std::string& field : hostileFields()) {
    const FormatLimits& limits = kCadvanceLimits;
    const Text asText = testing::text(field);
    const bool carriedReference = limits.reference.carries(asText);
    // Every field in each place that the limits call carried, at once.
    std::string nets = limits.netName.carries(asText) ? field + "; 1: U1.1, \r\n" : "";
    if (carriedReference && field.find('.') == std::string::npos) nets += "N; 1: " + field + ".1, \r\n";
    if (limits.pinName.carries(asText)) nets += "P; 1: U1." + field + ", \r\n";
    const std::string part = (limits.package.carries(asText) ? field : "PKG") + "! " +
                             (limits.partName.carries(asText) ? field : "PART") + "; " +
                             (carriedReference ? field : "R1") + ": ? \r\n";
    EXPECT_TRUE(readsBack(part, nets)) << field;
    // A net name called not carried does not read back: no needless rename.
    if (!limits.netName.carries(asText)) {
      EXPECT_FALSE(readsBack("", field + "; 1: U1.1, \r\n")) << field;
    }
  }
}

}  // namespace
}  // namespace korvanel
