#include "formats/tedax.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

class TedaxTest : public testing::ScratchTest {
 protected:
  TedaxTest() { context.nameFindings = &findings; }

  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.tdx", input);
    Text status;
    mntdxin(context, path("input.tdx"), status);
    return toUtf8(status);
  }
  // Writes the intermediate files (bytes), runs the writer into `output` and
  // returns the output's bytes.
  std::string write(const std::string& parts, const std::string& nets, const std::string& output = "board.tdx") {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mntdxout(context, path(output));
    return readBytes(output);
  }

  Text findings;
};

TEST_F(TedaxTest, ReadsTheNetlistBlock) {
  EXPECT_EQ(read("tEDAx v1\nbegin netlist v1 NAME\n\tfootprint R1 R_0805\n\tvalue R1 10k\n\tconn GND R1 1\n"
                 "end netlist\n"),
            "good");
  EXPECT_EQ(readBytes("parts.tmp"), "R_0805! 10k; R1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 1: R1.1, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

struct ReadCase {
  const char* name;
  const char* block;
  const char* parts;
  const char* nets;
};

class TedaxReadRules : public TedaxTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(TedaxReadRules, GiveTheIntermediateFiles) {
  ASSERT_EQ(read(std::string("tEDAx v1\nbegin netlist v1 b\n") + GetParam().block + "end netlist\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TedaxReadRules,
    ::testing::Values(
        ReadCase{"BlanksAndTabsSeparate", "  conn\t\tGND  R1\t 1 \t\n", "\r\n", "GND; 1: R1.1, \r\n\r\n"},
        ReadCase{"BackslashEscapes", "conn A\\\\B\\#C R\\ 1 \\1\\\n", "\r\n", "A\\B#C; 1: R_1.1, \r\n\r\n"},
        ReadCase{"CommentsAnywhere", "# a comment\n conn A#B R1 1\n conn N R1 2 # pin 2\n#conn X R1 3\n", "\r\n",
                 "N; 1: R1.2, \r\n\r\n"},
        ReadCase{"PinsJoinTheirNetInOrder", "conn A R1 1\nconn B R2 1\nconn A U1 7\n", "\r\n",
                 "A; 2: R1.1, U1.7, \r\nB; 1: R2.1, \r\n\r\n"},
        ReadCase{"RealBoardNamesKeepTheirCase",
                 "conn Net-(C1-Pad1) TA-101 1\nconn /VPP{slash}MCLR u1 a1\nconn gnd U1 1\nconn GND U1 2\n", "\r\n",
                 "Net-(C1-Pad1); 1: TA-101.1, \r\n/VPP{slash}MCLR; 1: u1.a1, \r\ngnd; 1: U1.1, \r\nGND; 1: U1.2, \r\n\r\n"},
        ReadCase{"ConnWithoutPinNameIsItsReference", "conn N U1\nconn N\nconn N U2 1 extra\n", "\r\n",
                 "N; 1: U1, \r\n\r\n"},
        ReadCase{"OtherLinesAreIgnored", "device R1 resistor\npinname R1 1 A\ncomptag R1 x y\nnettag N a b\n", "\r\n",
                 "\r\n"},
        ReadCase{"PartsInOrderOfFirstMentionLaterLinesChangeThem",
                 "value C1 100n\nfootprint R1 0603\nfootprint C1 0805\nvalue R1 10k\nfootprint R1 0402\n",
                 "0805! 100n; C1: ? \r\n0402! 10k; R1: ? \r\n\r\n", "\r\n"},
        ReadCase{"PartFieldsMayBeMissing", "footprint R1\nvalue R2\nfootprint R3 a b\n",
                 "! ; R1: ? \r\n! ; R2: ? \r\n\r\n", "\r\n"},
        ReadCase{"NamesThatTheNetLineCannotHoldAreFitted", "conn A,B:C U;1 1\\ 2\n", "\r\n",
                 "A_B_C; 1: U_1.1_2, \r\n\r\n"},
        ReadCase{"LfEndsALineBesideCrLf", "conn N R1 1\r\nconn N R2 1\r\n", "\r\n", "N; 2: R1.1, R2.1, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TedaxTest, TakesTheFirstNetlistBlockAfterOtherBlocks) {
  ASSERT_EQ(read("# made by hand\n\ntEDAx v1\nbegin footprint v1 0603\n\tconn X Y 1\nend footprint\n"
                 "begin netlist v1 first\n\tconn A R1 1\nend netlist\nbegin netlist v1 second\n\tconn B R2 1\n"
                 "end netlist\n"),
            "good");
  EXPECT_EQ(readBytes("net.tmp"), "A; 1: R1.1, \r\n\r\n");
}

TEST_F(TedaxTest, ReportsTheNamesItFitted) {
  read("tEDAx v1\nbegin netlist v1 b\nconn A,B R1 1\nend netlist\n");
  EXPECT_EQ(toUtf8(findings), "ネット名A,BをA_Bに変更しました。\r\n");
}

struct BadCase {
  const char* name;
  const char* input;
};

class TedaxBadInput : public TedaxTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(TedaxBadInput, IsBadAndLeavesTheIntermediateFilesAlone) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, TedaxBadInput,
    ::testing::Values(BadCase{"Empty", ""}, BadCase{"AnotherFormat", "$PACKAGES\r\n$NETS\r\nGND ; U1.1\r\n$END\r\n"},
                      BadCase{"HeaderNotFirst", "begin netlist v1 b\nend netlist\ntEDAx v1\n"},
                      BadCase{"AnotherVersion", "tEDAx v2\nbegin netlist v1 b\nend netlist\n"},
                      BadCase{"NoNetlistBlock", "tEDAx v1\nbegin footprint v1 x\nend footprint\n"},
                      BadCase{"CutShort", "tEDAx v1\nbegin netlist v1 b\n\tconn GND R1 1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

std::string netWithPins(int pins) {
  std::string block = "tEDAx v1\nbegin netlist v1 b\n";
  for (int pin = 0; pin < pins; ++pin) block += "conn BIG U" + std::to_string(pin) + " 1\n";
  return block + "end netlist\n";
}

TEST_F(TedaxTest, NetsHoldAtMostNineteenThousandNineHundredNinetyNinePins) {
  EXPECT_EQ(read(netWithPins(19999)), "good");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

TEST_F(TedaxTest, WritesOneBlockNamedAfterTheOutputFile) {
  EXPECT_EQ(write("R_0805! 10k; R1: ? \r\nSO8! LM358; TA-101: ? \r\n\r\n",
                  "GND; 2: R1.1, TA-101.4, \r\nNet-(C1-Pad1); 1: R1.2, \r\n\r\n", "my board.tdx"),
            "tEDAx v1\n"
            "begin netlist v1 my\\ board\n"
            "\tfootprint R1 R_0805\n"
            "\tvalue R1 10k\n"
            "\tfootprint TA-101 SO8\n"
            "\tvalue TA-101 LM358\n"
            "\tconn GND R1 1\n"
            "\tconn GND TA-101 4\n"
            "\tconn Net-(C1-Pad1) R1 2\n"
            "end netlist\n");
}

struct WriteCase {
  const char* name;
  const char* parts;
  const char* nets;
  const char* lines;
};

class TedaxWriteRules : public TedaxTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(TedaxWriteRules, GiveTheBlocksLines) {
  EXPECT_EQ(write(GetParam().parts, GetParam().nets),
            std::string("tEDAx v1\nbegin netlist v1 board\n") + GetParam().lines + "end netlist\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TedaxWriteRules,
    ::testing::Values(WriteCase{"Nothing", "\r\n", "\r\n", ""},
                      WriteCase{"EscapesSeparatorsBackslashAndCommentMark", "\r\n", "A\\B#C; 1: R\t1.#1, \r\n\r\n",
                                "\tconn A\\\\B\\#C R\\\t1 \\#1\n"},
                      WriteCase{"PinSplitAtItsFirstDot", "\r\n", "N; 3: U1.A.1, U2, U3., \r\n\r\n",
                                "\tconn N U1 A.1\n\tconn N U2\n\tconn N U3\n"},
                      WriteCase{"NetWithoutNameOrPinsHasNoLine", "\r\n", "; 1: R1.1, \r\nNC; 0: \r\n\r\n", ""},
                      WriteCase{"PartWithoutValueOrPackage", "! 10k; R1: ? \r\n0603! ; R2: ? \r\n! ; R3: ? \r\n\r\n",
                                "\r\n", "\tfootprint R1\n\tvalue R1 10k\n\tfootprint R2 0603\n\tfootprint R3\n"},
                      WriteCase{"PartWithoutReferenceHasNoLine", "0603! 10k; : ? \r\n\r\n", "\r\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct RoundTripCase {
  const char* name;
  const char* parts;
  const char* nets;
};

class TedaxRoundTrip : public TedaxTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(TedaxRoundTrip, GivesBackTheIntermediateFiles) {
  writeBytes("back.tdx", write(GetParam().parts, GetParam().nets));
  Text status;
  mntdxin(context, path("back.tdx"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, TedaxRoundTrip,
    ::testing::Values(
        RoundTripCase{"RealBoardNames", "SOT23! BSS138; Q1: ? \r\n! ; TA-101: ? \r\n\r\n",
                      "Net-(C1-Pad1); 2: TA-101.1, Q1.2, \r\n/VPP{slash}MCLR; 1: Q1.3, \r\n"
                      "unconnected-(U1-Pad5); 1: U1.5, \r\ngnd; 1: U1.1, \r\nGND; 1: U1.2, \r\n\r\n"},
        RoundTripCase{"PartsWithoutNets", "0603! 10K; R1: ? \r\n\r\n", "\r\n"},
        RoundTripCase{"Nothing", "\r\n", "\r\n"},
        RoundTripCase{"SyntaxOfTheFormatInNames", "#a! \\b; #R1: ? \r\n\r\n",
                      "#N\\; 2: #R1.\\1, R2.A#B.1, \r\nconn; 1: end.netlist, \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TedaxTest, JapaneseNamesRoundTripThroughCp932) {
  writeCp932("parts.tmp", "チップ! 抵抗; R1: ? \r\n\r\n");
  writeCp932("net.tmp", "電源; 1: R1.1, \r\n\r\n");
  mntdxout(context, path("out.tdx"));
  Text status;
  mntdxin(context, path("out.tdx"), status);
  EXPECT_EQ(readCp932("parts.tmp"), "チップ! 抵抗; R1: ? \r\n\r\n");
  EXPECT_EQ(readCp932("net.tmp"), "電源; 1: R1.1, \r\n\r\n");
}

// What the limits say a field carries is what the reader gives back.
enum class Field { netName, reference, pinName, partName, package };

struct LimitsCase {
  const char* name;
  Field field;
  const char* text;
  bool carried;
};

class TedaxLimits : public TedaxTest, public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(TedaxLimits, AgreeWithTheReader) {
  const LimitsCase& limitsCase = GetParam();
  std::string fields[] = {"N", "U1", "1", "74HC00", "DIP14"};
  fields[static_cast<int>(limitsCase.field)] = limitsCase.text;
  const auto& [net, reference, pin, partName, package] = fields;
  const std::string parts = package + "! " + partName + "; " + reference + ": ? \r\n\r\n";
  const std::string nets = net + "; 2: " + reference + "." + pin + ", R9.2, \r\nVCC; 1: R9.1, \r\n\r\n";
  writeBytes("back.tdx", write(parts, nets));
  Text status;
  mntdxin(context, path("back.tdx"), status);
  EXPECT_EQ(status == kStatusGood && readBytes("parts.tmp") == parts && readBytes("net.tmp") == nets,
            limitsCase.carried);
  const FieldLimits* limits[] = {&kTedaxLimits.netName, &kTedaxLimits.reference, &kTedaxLimits.pinName,
                                 &kTedaxLimits.partName, &kTedaxLimits.package};
  EXPECT_EQ(limits[static_cast<int>(limitsCase.field)]->carries(testing::text(limitsCase.text)), limitsCase.carried);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TedaxLimits,
    ::testing::Values(LimitsCase{"NetNameCommentMark", Field::netName, "#N", true},
                      LimitsCase{"NetNameBackslash", Field::netName, "A\\B", true},
                      LimitsCase{"NetNameEmpty", Field::netName, "", false},
                      LimitsCase{"ReferenceEmpty", Field::reference, "", false},
                      LimitsCase{"PinNameWithDot", Field::pinName, "A.1", true},
                      LimitsCase{"PinNameEmpty", Field::pinName, "", false},
                      LimitsCase{"PartNameEmpty", Field::partName, "", true},
                      LimitsCase{"PackageEmpty", Field::package, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

// The reader gives back a reference with "-", but pcb-rnd splits a pin at
// its first "-": such references are reported.
TEST(TedaxReferences, ADashIsReportedForPcbRnd) {
  EXPECT_FALSE(kTedaxLimits.reference.carries(u"TA-101"));
  EXPECT_TRUE(kTedaxLimits.reference.carries(u"TA101"));
  EXPECT_TRUE(kTedaxLimits.pinName.carries(u"1-1"));
}

}  // namespace
}  // namespace korvanel
