#include "formats/expedition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

// Every LF of `lines` made CR LF.
std::string crlf(const std::string& lines) {
  std::string converted;
  for (const char character : lines) converted += character == '\n' ? std::string("\r\n") : std::string(1, character);
  return converted;
}

const std::string kHeader = crlf(";; V4.1.0\n%net\n%Prior=1\n\n%page=0\n");

// The written example, byte for byte (each net and part line ends in a blank).
const std::string kExample = crlf(
    ";; V4.1.0\n%net\n%Prior=1\n\n%page=0\n"
    "\\GND\\    \\C1\\-\\2\\ \\U1\\-\\7\\ \\U2\\-\\7\\ \n"
    "\\VCC\\    \\C1\\-\\1\\ \\U1\\-\\14\\ \\U2\\-\\14\\ \n"
    "\n"
    "%Part\n"
    "\\74HC00\\    \\U1\\ \\U2\\ \n"
    "\\C100N\\    \\C1\\ \n"
    "\n");

const std::string kExampleNets = "GND; 3: C1.2, U1.7, U2.7, \r\nVCC; 3: C1.1, U1.14, U2.14, \r\n\r\n";
const std::string kExampleParts = "! 74HC00; U1: ? \r\n! 74HC00; U2: ? \r\n! C100N; C1: ? \r\n\r\n";

class ExpeditionTest : public testing::ScratchTest {
 protected:
  // Reads `input` (UTF-8, stored as cp932) and returns the status, which
  // starts as "unset".
  std::string read(const std::string& input) {
    writeCp932("input.exp", input);
    Text status = u"unset";
    mnexpin(context, path("input.exp"), status);
    return toUtf8(status);
  }

  // Writes the intermediate files, runs the writer and returns its output.
  std::string write(const std::string& nets, const std::string& parts) {
    writeCp932("net.tmp", nets);
    writeCp932("parts.tmp", parts);
    mnexpout(context, path("output.exp"));
    return readCp932("output.exp");
  }
};

TEST_F(ExpeditionTest, WritesTheExampleWithItsPartsSorted) {
  EXPECT_EQ(write(kExampleNets, "! C100N; C1: ? \r\n\r\n! 74HC00; U2: ? \r\n! 74HC00; U1: ? \r\n\r\n"), kExample);
  EXPECT_EQ(readCp932("parts.tmp"), kExampleParts);
}

TEST_F(ExpeditionTest, ReadsTheExampleWhateverItsLineEnds) {
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    std::string input = kExample;
    for (std::size_t at = input.find("\r\n"); at != std::string::npos; at = input.find("\r\n", at + lineEnd.size())) {
      input.replace(at, 2, lineEnd);
    }
    ASSERT_EQ(read(input), "unset") << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readCp932("net.tmp"), kExampleNets);
    EXPECT_EQ(readCp932("parts.tmp"), kExampleParts);
    EXPECT_TRUE(host.events.empty());
  }
}

struct ReadCase {
  const char* name;
  std::string input;
  std::string nets;
  std::string parts;
};

class ExpeditionReading : public ExpeditionTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ExpeditionReading, GivesItsNetsAndParts) {
  ASSERT_EQ(read(kHeader + GetParam().input), "unset");
  EXPECT_EQ(readCp932("net.tmp"), GetParam().nets + "\r\n");
  EXPECT_EQ(readCp932("parts.tmp"), GetParam().parts + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ExpeditionReading,
    ::testing::Values(
        ReadCase{"LinesOfOneNameJoinAtTheFirst",
                 crlf("\\GND\\    \\U1\\-\\7\\ \\U2\\-\\7\\ \n\\VCC\\    \\U1\\-\\14\\ \n"
                      "\\GND\\    \\C1\\-\\2\\ \\C2\\-\\2\\ \\C3\\-\\2\\ \n"),
                 "GND; 5: U1.7, U2.7, C1.2, C2.2, C3.2, \r\nVCC; 1: U1.14, \r\n", ""},
        ReadCase{"ContinuationLinesAndLastNetAtTheEndOfTheFile",
                 crlf("\\A\\    \\U1\\-\\1\\ \n*  \\U2\\-\\1\\ \n\\B\\    \\U3\\-\\1\\"),
                 "A; 2: U1.1, U2.1, \r\nB; 1: U3.1, \r\n", ""},
        ReadCase{"OnlyTheFirstSeparatorSplitsAPin", crlf("\\N\\    \\U1\\-\\A.1\\ \\U2\\-\\3\\ \n"),
                 "N; 2: U1.A.1, U2.3, \r\n", ""},
        ReadCase{"AReferenceAloneIsAPin", crlf("\\N\\    \\TP1\\ \\U2\\-\\3\\ \\TP2\\ \n\\M\\    \\U4\\-\\4\\ \n"),
                 "N; 3: TP1, U2.3, TP2, \r\nM; 1: U4.4, \r\n", ""},
        ReadCase{"PinsBeforeTheFirstNetAreLeftOut", crlf("*  \\U9\\-\\9\\ \n\\N\\    \\U1\\-\\1\\ \n"),
                 "N; 1: U1.1, \r\n", ""},
        ReadCase{"NamesDifferingInCaseMeetUpperCased", crlf("\\gnd\\    \\u1\\-\\7\\ \n\\GND\\    \\U2\\-\\7\\ \n"),
                 "GND; 2: U1.7, U2.7, \r\n", ""},
        ReadCase{"PartLinesAndTheirContinuations",
                 crlf("\n%Part\n\\74hc00\\    \\U1\\ \\U2\\ \n*  \\U3\\ \n\\抵抗\\    \\R1\\ \n"), "",
                 "! 74HC00; U1: ? \r\n! 74HC00; U2: ? \r\n! 74HC00; U3: ? \r\n! 抵抗; R1: ? \r\n"},
        ReadCase{"PartSectionInAnyCase", crlf("\\N\\    \\U1\\-\\1\\ \n%PART\n\\X\\    \\U1\\ \n"),
                 "N; 1: U1.1, \r\n", "! X; U1: ? \r\n"},
        ReadCase{"EmptyPartName", crlf("%part\n\\\\    \\U5\\ \n"), "", "! ; U5: ? \r\n"},
        ReadCase{"RealBoardNames",
                 crlf("\\Net-(C1-Pad1)\\    \\C1\\-\\1\\ \\TA-101\\-\\2\\ \n"
                      "\\/VPP{slash}MCLR\\    \\U1\\-\\1\\ \n\\unconnected-(U1-Pad5)\\    \\U1\\-\\5\\ \n"),
                 "NET-(C1-PAD1); 2: C1.1, TA-101.2, \r\n/VPP{SLASH}MCLR; 1: U1.1, \r\n"
                 "UNCONNECTED-(U1-PAD5); 1: U1.5, \r\n",
                 ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  std::string input;
};

class ExpeditionBad : public ExpeditionTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(ExpeditionBad, InputWithoutNetsAndPartsIsBad) {
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, ExpeditionBad,
                         ::testing::Values(BadCase{"Empty", ""}, BadCase{"PlainText", "GND U1-7 U2-7\r\n"},
                                           BadCase{"HeaderAlone", kHeader}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExpeditionTest, HoldsAtMost20001NetLinesAnd19999PinsANet) {
  auto netLines = [](int count) {
    std::string input;
    for (int net = 1; net <= count; ++net) input += "\\N" + std::to_string(net) + "\\    \\U1\\-\\1\\ \r\n";
    return input;
  };
  EXPECT_EQ(read(netLines(20001)), "unset");
  EXPECT_THROW(read(netLines(20002)), CapacityError);
  auto bigNetLines = [](int first, int second) {
    std::string input;
    for (const int count : {first, second}) {
      input += "\\BIG\\    ";
      for (int pin = 0; pin < count; ++pin) input += "\\U1\\-\\1\\ ";
      input += "\r\n";
    }
    return input;
  };
  ASSERT_EQ(read(bigNetLines(10000, 9999)), "unset");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 23), "BIG; 19999: U1.1, U1.1,");
  EXPECT_THROW(read(bigNetLines(10000, 10000)), CapacityError);
}

struct LayoutCase {
  const char* name;
  std::string netLine;
  std::string written;
};

class ExpeditionNetLayout : public ExpeditionTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ExpeditionNetLayout, WrapsPastColumn78) {
  EXPECT_EQ(write(GetParam().netLine + "\r\n\r\n", "\r\n"), kHeader + GetParam().written + "\r\n%Part\r\n\r\n");
}

std::string repeated(const std::string& text, int count) {
  std::string result;
  for (int time = 0; time < count; ++time) result += text;
  return result;
}

// "\N\    " and "\U1\-\1\ " take 7 and 9 columns; a pin "R...R.2" of 57
// characters then ends exactly in column 78.
const std::string kPin57 = std::string(55, 'R') + ".2";

INSTANTIATE_TEST_SUITE_P(
    Layout, ExpeditionNetLayout,
    ::testing::Values(
        LayoutCase{"NoPins", "NC; 0: ", "\\NC\\    \r\n"},
        LayoutCase{"Exactly78ColumnsStayOnOneLine", "N; 2: U1.1, " + kPin57 + ", ",
                   "\\N\\    \\U1\\-\\1\\ \\" + std::string(55, 'R') + "\\-\\2\\ \r\n"},
        LayoutCase{"OneMoreCharacterWraps", "N; 2: U1.1, R" + kPin57 + ", ",
                   "\\N\\    \\U1\\-\\1\\ \r\n*  \\R" + std::string(55, 'R') + "\\-\\2\\ \r\n"},
        LayoutCase{"ContinuationLinesCountFromTheirOwnStart", "N; 18: " + repeated("P.1, ", 18),
                   "\\N\\    " + repeated("\\P\\-\\1\\ ", 8) + "\r\n*  " + repeated("\\P\\-\\1\\ ", 9) +
                       "\r\n*  \\P\\-\\1\\ \r\n"},
        LayoutCase{"LongNameMovesTheFirstPin", std::string(70, 'L') + "; 1: U1.1, ",
                   "\\" + std::string(70, 'L') + "\\    \r\n*  \\U1\\-\\1\\ \r\n"},
        LayoutCase{"OnlyTheFirstDotSeparates", "N; 2: U1.A.1, TP1, ", "\\N\\    \\U1\\-\\A.1\\ \\TP1\\ \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class ExpeditionPartLayout : public ExpeditionTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ExpeditionPartLayout, GroupsReferencesByPartName) {
  EXPECT_EQ(write("\r\n", GetParam().netLine + "\r\n"), kHeader + "\r\n%Part\r\n" + GetParam().written + "\r\n");
}

std::string partsOf(const std::string& partName, int firstReference, int lastReference) {
  std::string lines;
  for (int reference = lastReference; reference >= firstReference; --reference) {
    lines += "! " + partName + "; U" + std::to_string(reference) + ": ? \r\n";
  }
  return lines;
}

std::string references(int first, int last) {
  std::string written;
  for (int reference = first; reference <= last; ++reference) written += " \\U" + std::to_string(reference) + "\\";
  return written;
}

INSTANTIATE_TEST_SUITE_P(
    Layout, ExpeditionPartLayout,
    ::testing::Values(
        LayoutCase{"DuplicatesKept", "! C100N; C1: ? \r\n! 74HC00; U2: ? \r\n! 74HC00; U1: ? \r\n! 74HC00; U1: ? \r\n",
                   "\\74HC00\\    \\U1\\ \\U1\\ \\U2\\ \r\n\\C100N\\    \\C1\\ \r\n"},
        // Running length 5 + 3 + 8 = 16, then 6 a reference: the 11th reaches
        // 76 and wraps; after it the length restarts at 5 + 5.
        LayoutCase{"WrapsWhenTheRunningLengthReaches76", partsOf("LM358", 10, 31),
                   "\\LM358\\   " + references(10, 19) + " \r\n* " + references(20, 30) + " \r\n* " +
                       references(31, 31) + " \r\n"},
        LayoutCase{"EmptyPartNameOpensItsOwnLine", "! C100N; C1: ? \r\n! ; U5: ? \r\n",
                   "\\\\    \\U5\\ \r\n\\C100N\\    \\C1\\ \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExpeditionTest, WrittenFileReadsBackToTheSameNetsAndParts) {
  const std::string nets =
      "NET-(C1-PAD1); 2: C1.1, TA-101.2, \r\n/VPP{SLASH}MCLR; 3: U1.1, U1.A.1, TP1, \r\nNC; 0: \r\n; 1: U9.9, \r\n"
      "GND; 18: " + repeated("U10.7, ", 18) + "\r\n\r\n";
  const std::string parts = "! ; U5: ? \r\n" + partsOf("LM358", 10, 31) + "! 抵抗; R1: ? \r\n";
  const std::string output = write(nets, parts);
  const std::string sortedParts = readCp932("parts.tmp");
  ASSERT_EQ(read(output), "unset");
  EXPECT_EQ(readCp932("net.tmp"), nets);
  EXPECT_EQ(readCp932("parts.tmp"), sortedParts);
}

}  // namespace
}  // namespace korvanel
