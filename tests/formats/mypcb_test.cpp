#include "formats/mypcb.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

std::string blanks(std::size_t count) { return std::string(count, ' '); }

// The file of the format's documentation, written from a Telesis input.
const std::string kExampleFile =
    "HDR*Telesis ===>  MYPCB NET LIST3\r\n"
    "SYM*\r\n"
    "U1       74LS00\r\n"
    "R10      10K\r\n"
    "NET*\r\n"
    "GND\r\n"
    "U1.7          U2.7          U3.7          U4.7          \r\n"
    "R10.2         \r\n"
    "END*\r\n";
const std::string kExampleNets = "GND; 5: U1.7, U2.7, U3.7, U4.7, R10.2, \r\n\r\n";

class MypcbTest : public testing::ScratchTest {
 protected:
  std::string read(const std::string& input) {
    writeBytes("input.net", input);
    Text status = u"unset";
    mnmypin(context, path("input.net"), status);
    return toUtf8(status);
  }
  std::string write(const std::string& parts, const std::string& nets, const char* inputFormat = "") {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    context.inputFormatName = testing::text(inputFormat);
    mnmypout(context, path("output.net"));
    return readBytes("output.net");
  }
};

TEST_F(MypcbTest, WritesTheExampleFile) {
  EXPECT_EQ(write("! 74LS00; U1: ? \r\nDIP14! 10K; R10: ? \r\n\r\n", kExampleNets, "Telesis"), kExampleFile);
}

TEST_F(MypcbTest, ReadsTheExampleFileWithAnyLineEnds) {
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    std::string input = kExampleFile;
    for (std::size_t at = input.find("\r\n"); at != std::string::npos; at = input.find("\r\n", at + lineEnd.size())) {
      input.replace(at, 2, lineEnd);
    }
    ASSERT_EQ(read(input), "good") << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readBytes("parts.tmp"), "74LS00! 74LS00; U1: ? \r\n10K! 10K; R10: ? \r\n\r\n");
    EXPECT_EQ(readBytes("net.tmp"), kExampleNets);
  }
  EXPECT_TRUE(host.events.empty());
}

struct ReadCase {
  const char* name;
  std::string sectionLines;
  std::string expected;
};

class MypcbParts : public MypcbTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(MypcbParts, GiveTheirParts) {
  ASSERT_EQ(read("SYM*\r\n" + GetParam().sectionLines + "\r\nNET*\r\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().expected + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MypcbParts,
    ::testing::Values(
        ReadCase{"LastWordIsThePartType", "u1 74ls00 dip14", "DIP14! DIP14; U1: ? \r\n"},
        ReadCase{"ReferenceAloneIsNoPart", "U1\r\nU2 ", ""},
        ReadCase{"TabSeparatesWords", "U1\t74LS00\r\n\tR1 \t10K", "74LS00! 74LS00; U1: ? \r\n10K! 10K; R1: ? \r\n"},
        ReadCase{"StarStartsAComment", "* PARTS\r\nU1 74LS00 *NOTE\r\nU2 74*LS04", "74LS00! 74LS00; U1: ? \r\n"},
        ReadCase{"BoardNames", "TA-101   Net-(C1)", "NET-(C1)! NET-(C1); TA-101: ? \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class MypcbNets : public MypcbTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(MypcbNets, GiveTheirNets) {
  ASSERT_EQ(read("SYM*\r\nNET*\r\n" + GetParam().sectionLines), "good");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().expected + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MypcbNets,
    ::testing::Values(
        ReadCase{"NameAndPinsOnOneLine", "GND U1.1 U2.1\r\nVCC U1.14", "GND; 2: U1.1, U2.1, \r\nVCC; 1: U1.14, \r\n"},
        ReadCase{"TwoWordsBeforeTheFirstDot", "GND EXTRA U1.1", "GND; 0: \r\nEXTRA; 1: U1.1, \r\n"},
        ReadCase{"WordsAfterADotArePins", "A\r\nU1.1 GND", "A; 2: U1.1, GND, \r\n"},
        ReadCase{"CommasEndPins", "GND\r\nU1.1, U2.1,,U3.1 ,\r\nU4.1,", "GND; 4: U1.1, U2.1, U3.1, U4.1, \r\n"},
        ReadCase{"IndentedLinesContinue", "  GND\r\n    U1.1 U2.1\r\n\tU3.1", "GND; 3: U1.1, U2.1, U3.1, \r\n"},
        ReadCase{"TabsSeparateWords", "GND\tU1.1\tU2.1", "GND; 2: U1.1, U2.1, \r\n"},
        ReadCase{"PinsBeforeTheFirstNetAreDropped", "U9.9 U9.8\r\nGND\r\nU1.1", "GND; 1: U1.1, \r\n"},
        ReadCase{"BlankLineIsNoEnd", "A\r\n   \r\nU1.1", "A; 1: U1.1, \r\n"},
        ReadCase{"EmptyLineEndsTheSection", "A\r\nU1.1\r\n\r\nB\r\nU2.1", "A; 1: U1.1, \r\n"},
        ReadCase{"EndKeywordEndsTheSection", "A\r\nU1.1\r\nEND*\r\nB\r\nU2.1", "A; 1: U1.1, \r\n"},
        ReadCase{"NoNetAtAll", "END*", ""},
        ReadCase{"BoardNames", "Net-(C1-Pad1)\r\nC1.1 TA-101.2\r\n/VPP{slash}MCLR U1.1\r\nclk U1.2\r\nCLK U2.2",
                 "NET-(C1-PAD1); 2: C1.1, TA-101.2, \r\n/VPP{SLASH}MCLR; 1: U1.1, \r\nCLK; 1: U1.2, \r\nCLK; 1: U2.2, "
                 "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MypcbTest, JapaneseNamesReadInCp932) {
  writeCp932("input.net", "SYM*\r\nR1 抵抗\r\nNET*\r\n電源\r\nR1.1\r\nEND*\r\n");
  Text status;
  mnmypin(context, path("input.net"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "抵抗! 抵抗; R1: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: R1.1, \r\n\r\n");
}

struct BadCase {
  const char* name;
  std::string input;
  std::string parts;
};

class MypcbBad : public MypcbTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(MypcbBad, WritesThePartsFoundAndLeavesTheNetFile) {
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, MypcbBad,
                         ::testing::Values(BadCase{"Empty", "", "\r\n"},
                                           BadCase{"NoNetKeyword", "SYM*\r\nU1 74LS00\r\nGND U1.7\r\n",
                                                   "74LS00! 74LS00; U1: ? \r\nU1.7! U1.7; GND: ? \r\n\r\n"},
                                           BadCase{"NetKeywordMisspelt", "NETS*\r\nNET *\r\n", "\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MypcbTest, ANetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) {
    std::string input = "NET*\r\nBIG\r\n";
    for (int pin = 1; pin <= count; ++pin) input += "P." + std::to_string(pin) + " ";
    return input;
  };
  ASSERT_EQ(read(netWithPins(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

struct LayoutCase {
  const char* name;
  std::string partsLines;
  std::string netLines;
  std::string written;
};

class MypcbLayout : public MypcbTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(MypcbLayout, WritesColumns) {
  EXPECT_EQ(write(GetParam().partsLines + "\r\n", GetParam().netLines + "\r\n"),
            "HDR* ===>  MYPCB NET LIST3\r\nSYM*\r\n" + GetParam().written + "END*\r\n");
}

const std::string kPin = "U1.1" + blanks(10);

INSTANTIATE_TEST_SUITE_P(
    Layout, MypcbLayout,
    ::testing::Values(
        LayoutCase{"References", "! A; ABCDEFGH: ? \r\n! B; ABCDEFGHI: ? \r\n! C; TA-101-LONG: ? \r\n! ; : ? \r\n", "",
                   "ABCDEFGH A\r\nABCDEFGHI B\r\nTA-101-LONG C\r\n" + blanks(9) + "\r\nNET*\r\n"},
        LayoutCase{"FourPinsFillOneLine", "", "N; 4: U1.1, U1.1, U1.1, U1.1, \r\n",
                   "NET*\r\nN\r\n" + kPin + kPin + kPin + kPin + "\r\n"},
        LayoutCase{"FivePins", "", "N; 5: U1.1, U1.1, U1.1, U1.1, U1.1, \r\n",
                   "NET*\r\nN\r\n" + kPin + kPin + kPin + kPin + "\r\n" + kPin + "\r\n"},
        LayoutCase{"EightPins", "", "N; 8: U1.1, U1.1, U1.1, U1.1, U1.1, U1.1, U1.1, U1.1, \r\n",
                   "NET*\r\nN\r\n" + kPin + kPin + kPin + kPin + "\r\n" + kPin + kPin + kPin + kPin + "\r\n"},
        LayoutCase{"LongPinsKeepOneBlank", "", "N; 2: CONNECTOR12.AB, CONNECTOR12.ABC, \r\n",
                   "NET*\r\nN\r\nCONNECTOR12.AB CONNECTOR12.ABC \r\n"},
        LayoutCase{"NetWithoutPinsIsItsNameAlone", "", "A; 0: \r\nB; 1: U1.1, \r\n",
                   "NET*\r\nA\r\nB\r\n" + kPin + "\r\n"},
        LayoutCase{"NamelessNetIsLeftOut", "", "; 1: U9.1, \r\nB; 1: U1.1, \r\n", "NET*\r\nB\r\n" + kPin + "\r\n"},
        LayoutCase{"PinWithoutDotGetsOne", "", "N; 2: TP1, U1.1, \r\n",
                   "NET*\r\nN\r\nTP1." + blanks(10) + kPin + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MypcbTest, WrittenFileReadsBackToTheSamePartsAndNets) {
  writeCp932("parts.tmp", "R0603! 10K; TA-101: ? \r\n! 抵抗; R1: ? \r\n\r\n");
  const std::string nets =
      "NET-(C1-PAD1); 2: C1.1, TA-101.2, \r\nNC; 0: \r\nVCC; 9: U1.14, U2.14, U3.14, U4.14, U5.14, U6.14, U7.14, "
      "U8.14, CONNECTOR-PIN.A-1, \r\n/VPP{SLASH}MCLR; 1: U1.1, \r\nUNCONNECTED-(U1-PAD5); 1: U1.5, \r\nTP; 1: TP1., "
      "\r\n"
      "\r\n";
  writeBytes("net.tmp", nets);
  mnmypout(context, path("written.net"));
  Text status;
  mnmypin(context, path("written.net"), status);
  ASSERT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readCp932("parts.tmp"), "10K! 10K; TA-101: ? \r\n抵抗! 抵抗; R1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

// Fields built of characters that a format may take as syntax, inside, in
// front and at the end, and the keywords of the formats.
std::vector<std::string> hostileFields() {
  std::vector<std::string> fields = {"COMP", "NETS", "END*", "NET*", "SYM*", "HDR*", "%NET", "Net-(C1-Pad1)", ""};
  for (const char character : std::string("\"#$%&'()*+,-./<=>@[\\]^_`{|}~")) {
    for (const std::string& field : {std::string("A") + character + "B", character + std::string("N"),
                                     std::string("N") + character}) {
      fields.push_back(field);
    }
  }
  return fields;
}

std::string upper(const std::string& utf8) { return toUtf8(toUpper(testing::text(utf8))); }

TEST_F(MypcbTest, WhatTheLimitsCallCarriedReadsBack) {
  // Whether the intermediate files read back as written, upper-cased; the
  // part type comes back as the package too.
  auto readsBack = [&](const std::string& partName, const std::string& reference, const std::string& nets) {
    const std::string netLines = "A; 1: U0.1, \r\n" + nets + "M; 1: U2.1, \r\n\r\n";
    writeBytes("written.net", write("PKG! " + partName + "; " + reference + ": ? \r\n\r\n", netLines));
    read(readBytes("written.net"));
    return readBytes("parts.tmp") == upper(partName + "! " + partName + "; " + reference + ": ? \r\n\r\n") &&
           readBytes("net.tmp") == upper(netLines);
  };
  for (const std::string& field : hostileFields()) {
    const FormatLimits& limits = kMypcbLimits;
    const Text asText = testing::text(field);
    // Every field in each place that the limits call carried, at once.
    std::string nets = limits.netName.carries(asText) ? field + "; 1: U1.1, \r\n" : "";
    const bool carriedReference = limits.reference.carries(asText);
    if (carriedReference && field.find('.') == std::string::npos) nets += "N; 1: " + field + ".1, \r\n";
    if (limits.pinName.carries(asText)) nets += "P; 1: U1." + field + ", \r\n";
    EXPECT_TRUE(readsBack(limits.partName.carries(asText) ? field : "PART", carriedReference ? field : "R1", nets))
        << field;
    // A net name called not carried does not read back: no needless rename.
    if (!limits.netName.carries(asText)) {
      EXPECT_FALSE(readsBack("PART", "R1", field + "; 1: U1.1, \r\n")) << field;
    }
  }
}

}  // namespace
}  // namespace korvanel
