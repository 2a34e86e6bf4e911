#include "formats/kicad.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "korvanel/version.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

class KicadTest : public testing::ScratchTest {
 protected:
  KicadTest() { context.nameFindings = &findings; }

  // Reads `input` (bytes) and returns the status.
  std::string read(const std::string& input) {
    writeBytes("input.net", input);
    Text status;
    mnkicin(context, path("input.net"), status);
    return toUtf8(status);
  }
  // Writes the intermediate files (bytes), runs the writer and returns the output's bytes.
  std::string write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mnkicout(context, path("out.net"));
    return readBytes("out.net");
  }

  Text findings;
};

// The netlist of KiCad 6 and later, with the lists that the reader skips.
TEST_F(KicadTest, ReadsVersionEAndSkipsEveryListItDoesNotUse) {
  EXPECT_EQ(read(R"net((export (version "E")
  (design (source "board.kicad_sch") (date "2024-05-01") (tool "Eeschema 8.0.2")
    (sheet (number "1") (name "/") (tstamps "/")))
  (components
    (comp (ref "R1") (value "10k") (footprint "Resistor_SMD:R_0805")
      (fields (field (name "Footprint") "Other:X"))
      (libsource (lib "Device") (part "R") (description "Resistor"))
      (property (name "Sheetname") (value "Root"))
      (sheetpath (names "/") (tstamps "/"))
      (tstamps "5c8a1f2e")))
  (libparts (libpart (lib "Device") (part "R") (pins (pin (num "1") (name "~") (type "passive")))))
  (libraries (library (logical "Device") (uri "/usr/share/kicad/symbols/Device.kicad_sym")))
  (nets
    (net (code "1") (name "GND") (class "Default")
      (node (ref "R1") (pin "1") (pinfunction "~") (pintype "passive"))
      (node (ref "C1") (pin "2")))))
)net"),
            "good");
  EXPECT_EQ(readBytes("parts.tmp"), "R_0805! 10k; R1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "GND; 2: R1.1, C1.2, \r\n\r\n");
  EXPECT_TRUE(host.events.empty());
}

struct ReadCase {
  const char* name;
  std::string input;
  const char* parts;
  const char* nets;
};

class KicadReadRules : public KicadTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(KicadReadRules, GiveTheIntermediateFiles) {
  ASSERT_EQ(read(GetParam().input), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, KicadReadRules,
    ::testing::Values(
        ReadCase{"VersionDBareAtoms",
                 "(export (version D)\n (components\n  (comp (ref C1) (value 100n) (footprint Capacitor_SMD:C_0603)\n"
                 "   (tstamp 5C8A)))\n (nets\n  (net (code 1) (name GND)\n   (node (ref C1) (pin 2)))\n"
                 "  (net (code 2) (name \"Net-(C1-Pad1)\")\n   (node (ref C1) (pin 1)))))\n",
                 "C_0603! 100n; C1: ? \r\n\r\n", "GND; 1: C1.2, \r\nNet-(C1-Pad1); 1: C1.1, \r\n\r\n"},
        ReadCase{"RealBoardNamesKeepTheirCase",
                 R"net((export (nets (net (name "/VPP{slash}MCLR") (node (ref "TA-101") (pin "1")))
                     (net (name "unconnected-(U1-Pad5)") (node (ref "U1") (pin "5")))
                     (net (name "gnd") (node (ref "U1") (pin "A1"))) (net (name "GND") (node (ref "u1") (pin "a1"))))))net",
                 "\r\n",
                 "/VPP{slash}MCLR; 1: TA-101.1, \r\nunconnected-(U1-Pad5); 1: U1.5, \r\ngnd; 1: U1.A1, \r\n"
                 "GND; 1: u1.a1, \r\n\r\n"},
        ReadCase{"BackslashEscapes", R"net((export (components (comp (ref "R1") (value "a\"b\\c") (footprint "x")))))net",
                 "x! a\"b\\c; R1: ? \r\n\r\n", "\r\n"},
        ReadCase{"ParenthesesAndBlanksInsideQuotes",
                 R"net((export (components (comp (ref "R1") (value "10k (1%)") (footprint "L:R 0805")))))net",
                 "R 0805! 10k (1%); R1: ? \r\n\r\n", "\r\n"},
        ReadCase{"FootprintWithoutLibraryOrMissing",
                 "(export (components (comp (ref R1) (value 1k) (footprint R_0805)) (comp (ref R2) (value 2k))))",
                 "R_0805! 1k; R1: ? \r\n! 2k; R2: ? \r\n\r\n", "\r\n"},
        ReadCase{"PartWithoutReferenceIsNoPart", "(export (components (comp (value 1k)) (comp (ref \"\") (value 2k))))",
                 "\r\n", "\r\n"},
        ReadCase{"NodeWithoutPinIsItsReference",
                 "(export (nets (net (name N) (node (ref U1)) (node (pin 3)) (node (pintype passive)))))", "\r\n",
                 "N; 2: U1, .3, \r\n\r\n"},
        ReadCase{"NetsWithoutPinsOrWithoutName",
                 "(export (nets (net (code 1) (name NC)) (net (code 2)) (net (code 3) (node (ref U1) (pin 1)))))",
                 "\r\n", "NC; 0: \r\n; 1: U1.1, \r\n\r\n"},
        ReadCase{"FirstValueOfAFieldCounts", "(export (nets (net (name A B) (node (ref U1 U2) (pin 1 2)))))",
                 "\r\n", "A; 1: U1.1, \r\n\r\n"},
        ReadCase{"ByteOrderMarkAndCrLf", "\xEF\xBB\xBF(export\r\n (nets\r\n  (net (name N) (node (ref U1) (pin 1)))))",
                 "\r\n", "N; 1: U1.1, \r\n\r\n"},
        ReadCase{"TextAfterTheNetlistIsIgnored", "(export (nets (net (name N) (node (ref U1) (pin 1))))) trailing (x",
                 "\r\n", "N; 1: U1.1, \r\n\r\n"},
        ReadCase{"JapaneseIsUtf8", "(export (components (comp (ref R1) (value 抵抗) (footprint 表面:チップ))))",
                 "\x83\x60\x83\x62\x83\x76! \x92\xEF\x8D\x52; R1: ? \r\n\r\n", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KicadTest, NamesThatTheNetLineCannotHoldAreFittedAndReported) {
  ASSERT_EQ(read(R"net((export (nets (net (name "A,B:C") (node (ref "U;1") (pin "1 2"))))))net"), "good");
  EXPECT_EQ(readBytes("net.tmp"), "A_B_C; 1: U_1.1_2, \r\n\r\n");
  EXPECT_EQ(toUtf8(findings), "ピンU;1.1 2をU_1.1_2に変更しました。\r\nネット名A,B:CをA_B_Cに変更しました。\r\n");
}

struct BadCase {
  const char* name;
  const char* input;
};

class KicadBadInput : public KicadTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(KicadBadInput, IsBadAndLeavesTheIntermediateFilesAlone) {
  writeBytes("parts.tmp", "old parts");
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam().input), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "old parts");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, KicadBadInput,
    ::testing::Values(BadCase{"Empty", ""}, BadCase{"AnotherFormat", "$PACKAGES\r\n$NETS\r\n$END\r\n"},
                      BadCase{"AnotherList", "(kicad_pcb (version 20221018) (net 1 GND))"},
                      BadCase{"ListBeforeTheHead", "((export) (nets))"}, BadCase{"EmptyList", "()"},
                      BadCase{"CutShort", "(export (version \"E\") (nets (net (name \"GND\") (node (ref R1)"},
                      BadCase{"UnclosedQuote", "(export (nets (net (name \"GND)))))"}),
    [](const auto& info) { return std::string(info.param.name); });

std::string netWithPins(int pins) {
  std::string net = "(export (nets (net (name BIG)";
  for (int pin = 0; pin < pins; ++pin) net += "(node (ref U" + std::to_string(pin) + ") (pin 1))";
  return net + ")))";
}

TEST_F(KicadTest, NetsHoldAtMostNineteenThousandNineHundredNinetyNinePins) {
  EXPECT_EQ(read(netWithPins(19999)), "good");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

const std::string kTool = std::string("(tool \"Korvanel ") + kVersion + "\"))\n";

TEST_F(KicadTest, WritesVersionEWithDesignComponentsAndNets) {
  EXPECT_EQ(write("R0603! 10K; R1: ? \r\nSO8! LM358; TA-101: ? \r\n\r\n",
                  "GND; 2: R1.1, TA-101.4, \r\nNet-(C1-Pad1); 1: R1.2, \r\nNC; 0: \r\n\r\n"),
            "(export (version \"E\")\n"
            "  (design\n"
            "    " + kTool +
            "  (components\n"
            "    (comp (ref \"R1\")\n"
            "      (value \"10K\")\n"
            "      (footprint \"R0603\"))\n"
            "    (comp (ref \"TA-101\")\n"
            "      (value \"LM358\")\n"
            "      (footprint \"SO8\")))\n"
            "  (nets\n"
            "    (net (code \"1\") (name \"GND\")\n"
            "      (node (ref \"R1\") (pin \"1\"))\n"
            "      (node (ref \"TA-101\") (pin \"4\")))\n"
            "    (net (code \"2\") (name \"Net-(C1-Pad1)\")\n"
            "      (node (ref \"R1\") (pin \"2\")))\n"
            "    (net (code \"3\") (name \"NC\"))))\n");
}

TEST_F(KicadTest, WritesEmptyListsWhenThereIsNothing) {
  EXPECT_EQ(write("\r\n", "\r\n"), "(export (version \"E\")\n  (design\n    " + kTool + "  (components)\n  (nets))\n");
}

TEST_F(KicadTest, WritesQuotesAndBackslashesEscapedAndPinsSplitAtTheirFirstDot) {
  const std::string out = write("\r\n", "A\"B\\C; 3: U1.A.1, U2, U3., \r\n\r\n");
  EXPECT_NE(out.find("(name \"A\\\"B\\\\C\")\n"
                     "      (node (ref \"U1\") (pin \"A.1\"))\n"
                     "      (node (ref \"U2\") (pin \"\"))\n"
                     "      (node (ref \"U3\") (pin \"\")))"),
            std::string::npos)
      << out;
}

TEST_F(KicadTest, WritesUtf8WhateverTheEncoding) {
  writeCp932("parts.tmp", "チップ! 抵抗; R1: ? \r\n\r\n");
  writeCp932("net.tmp", "電源; 1: R1.1, \r\n\r\n");
  mnkicout(context, path("out.net"));
  const std::string out = readBytes("out.net");
  EXPECT_NE(out.find("(value \"抵抗\")\n      (footprint \"チップ\")"), std::string::npos) << out;
  EXPECT_NE(out.find("(name \"電源\")"), std::string::npos) << out;
}

struct RoundTripCase {
  const char* name;
  const char* parts;
  const char* nets;
};

class KicadRoundTrip : public KicadTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(KicadRoundTrip, GivesBackTheIntermediateFiles) {
  writeBytes("back.net", write(GetParam().parts, GetParam().nets));
  Text status;
  mnkicin(context, path("back.net"), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().parts);
  EXPECT_EQ(readBytes("net.tmp"), GetParam().nets);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, KicadRoundTrip,
    ::testing::Values(
        RoundTripCase{"RealBoardNames", "SOT23! BSS138; Q1: ? \r\n! ; TA-101: ? \r\n\r\n",
                      "Net-(C1-Pad1); 2: TA-101.1, Q1.2, \r\n/VPP{slash}MCLR; 1: Q1.3, \r\n"
                      "unconnected-(U1-Pad5); 1: U1.5, \r\ngnd; 1: U1.1, \r\nGND; 1: U1.2, \r\nNC; 0: \r\n\r\n"},
        RoundTripCase{"PartsWithoutNets", "0603! 10K; R1: ? \r\n\r\n", "\r\n"},
        RoundTripCase{"Nothing", "\r\n", "\r\n"},
        RoundTripCase{"SyntaxOfTheFormatInNames", "(a)! \"q\"; R(1): ? \r\n\r\n", "(x\")\\; 1: R(1).\"), \r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// What the limits say a field carries is what the reader gives back.
enum class Field { netName, reference, pinName, partName, package };

struct LimitsCase {
  const char* name;
  Field field;
  const char* text;
  bool carried;
};

class KicadLimits : public KicadTest, public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(KicadLimits, AgreeWithTheReader) {
  const LimitsCase& limitsCase = GetParam();
  std::string fields[] = {"N", "U1", "1", "74HC00", "DIP14"};
  fields[static_cast<int>(limitsCase.field)] = limitsCase.text;
  const auto& [net, reference, pin, partName, package] = fields;
  const std::string parts = package + "! " + partName + "; " + reference + ": ? \r\n\r\n";
  const std::string nets = net + "; 2: " + reference + "." + pin + ", R9.2, \r\nVCC; 1: R9.1, \r\n\r\n";
  writeBytes("back.net", write(parts, nets));
  Text status;
  mnkicin(context, path("back.net"), status);
  EXPECT_EQ(status == kStatusGood && readBytes("parts.tmp") == parts && readBytes("net.tmp") == nets,
            limitsCase.carried);
  const FieldLimits* limits[] = {&kKicadLimits.netName, &kKicadLimits.reference, &kKicadLimits.pinName,
                                 &kKicadLimits.partName, &kKicadLimits.package};
  EXPECT_EQ(limits[static_cast<int>(limitsCase.field)]->carries(testing::text(limitsCase.text)), limitsCase.carried);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, KicadLimits,
    ::testing::Values(LimitsCase{"NetNameKiCad", Field::netName, "Net-(C1-Pad1)", true},
                      LimitsCase{"NetNameQuotes", Field::netName, "\"A\\B\"", true},
                      LimitsCase{"ReferenceWithParentheses", Field::reference, "U(1)", true},
                      LimitsCase{"ReferenceEmpty", Field::reference, "", false},
                      LimitsCase{"PinNameWithDot", Field::pinName, "A.1", true},
                      LimitsCase{"PinNameEmpty", Field::pinName, "", false},
                      LimitsCase{"PartNameEmpty", Field::partName, "", true},
                      LimitsCase{"PackageEmpty", Field::package, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

// The reader gives back a net without a name, but the board editor takes
// one for no net at all: its pins would lose their connection.
TEST(KicadNetNames, AnEmptyNameIsRenamedForTheBoardEditor) {
  EXPECT_FALSE(kKicadLimits.netName.carries(u""));
  EXPECT_TRUE(kKicadLimits.netName.carries(u"unconnected-(U1-Pad5)"));
}

}  // namespace
}  // namespace korvanel
