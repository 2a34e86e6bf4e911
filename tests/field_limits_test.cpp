#include "core/field_limits.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

constexpr TextView kKeywords[] = {u"NET"};
constexpr TextView kPrefixes[] = {u"/*"};
constexpr TextView kSequences[] = {u"*/"};
const FieldLimits kField{.syntaxCharacters = u"()'",
                         .syntaxFirstCharacters = u"#",
                         .syntaxLaterCharacters = u"-",
                         .syntaxSequences = kSequences,
                         .keywords = kKeywords,
                         .prefixes = kPrefixes,
                         .longestLength = 8,
                         .carriesEmpty = false};

struct FieldCase {
  const char* field;
  bool carried;
  const char* safe;
};

class FieldLimitsCases : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldLimitsCases, TellWhatReadsBackAndMakeTheRestSafe) {
  EXPECT_EQ(kField.carries(text(GetParam().field)), GetParam().carried);
  EXPECT_EQ(toUtf8(kField.madeSafe(text(GetParam().field))), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FieldLimitsCases,
    ::testing::Values(FieldCase{"GND", true, "GND"}, FieldCase{"N(1)", false, "N_1_"}, FieldCase{"#N", false, "_N"},
                      FieldCase{"N#", true, "N#"}, FieldCase{"net", false, "net_"}, FieldCase{"NETS", true, "NETS"},
                      FieldCase{"", false, "_"}, FieldCase{"ABCDEFGHIJ", false, "ABCDEFGH"},
                      FieldCase{"A\tB", false, "A_B"}, FieldCase{"/*N", false, "_/*N"},
                      FieldCase{"/VPP", true, "/VPP"},
                      FieldCase{"-5V", true, "-5V"}, FieldCase{"TA-101", false, "TA_101"},
                      FieldCase{"A*/B", false, "A_/B"}, FieldCase{"電源", true, "電源"}));

class NamesForAWriter : public testing::ScratchTest {
 protected:
  const FormatLimits limits{.readerUpperCases = true,
                            .netName = {.syntaxCharacters = u"()'"},
                            .reference = {.syntaxCharacters = u"-"},
                            .pinName = {.syntaxCharacters = u"."},
                            .pinWithoutNameSyntaxCharacters = u"#",
                            .partName = {.carriesEmpty = false}};
};

TEST_F(NamesForAWriter, RenamesWhatCannotBeCarriedKeepsNetsApartAndReportsTheRest) {
  const std::string nets =
      "Net-(C1-Pad1); 2: C1.1, TA-101.1, \r\nNet-_C1-Pad1_; 1: C2.1, \r\nGND; 1: U1.7, \r\n"
      "gnd; 1: U2.7, \r\nTP; 3: TP1, TP#1, TP#2.1, \r\nNet-(C1-Pad1); 1: R1.1.2, \r\n\r\n";
  writeBytes("net.tmp", nets);
  writeBytes("parts.tmp", "DIP14! ; TA-101: ? \r\n\r\n");
  Text findings;
  makeNamesSafeForWriter(context, limits, findings);
  Text errorLog;
  appendNamesSection(errorLog, findings);
  // Lines whose names stay are kept byte for byte; nets of one name keep one.
  EXPECT_EQ(readBytes("net.tmp"),
            "Net-_C1-Pad1__2; 2: C1.1, TA-101.1, \r\nNet-_C1-Pad1_; 1: C2.1, \r\nGND; 1: U1.7, \r\n"
            "gnd_2; 1: U2.7, \r\nTP; 3: TP1, TP#1, TP#2.1, \r\nNet-_C1-Pad1__2; 1: R1.1.2, \r\n\r\n");
  EXPECT_EQ(toUtf8(errorLog),
            "**************名前変更情報**************\r\n\r\n"
            "ネット名Net-(C1-Pad1)をNet-_C1-Pad1__2に変更しました。\r\n"
            "ネット名gndをgnd_2に変更しました。\r\n"
            "リファレンスTA-101は変換後のネットフォーマットで正しく表せません。\r\n"
            "ピンTP#1は変換後のネットフォーマットで正しく表せません。\r\n"
            "ピンR1.1.2は変換後のネットフォーマットで正しく表せません。\r\n"
            "部品名称は変換後のネットフォーマットで正しく表せません。\r\n\r\n");
}

TEST_F(NamesForAWriter, LeavesEverythingAsItIsWhenTheFormatCarriesIt) {
  const std::string nets = "/VPP{slash}MCLR; 2: U1.1, R1.2, \r\nunconnected-_U1-Pad5_; 0: \r\n\r\n";
  writeBytes("net.tmp", nets);
  writeBytes("parts.tmp", "SOIC8! PIC12F; U1: ? \r\n\r\n");
  Text findings;
  makeNamesSafeForWriter(context, limits, findings);
  EXPECT_TRUE(findings.empty());
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(readBytes("net.tmp"), nets);
}

TEST_F(NamesForAWriter, PartFieldsThatHoldTheDelimitersOfAPartsLineAreMadeSafeAndReported) {
  Text findings;
  context.nameFindings = &findings;
  PartRecord part;
  part.at(kPartName) = u"10k;1%";
  part.at(kReference) = u"R1";
  part.at(kOtherInformation) = u"Resistor_SMD:R_0805";
  Text lines;
  appendPartsLine(context, part, lines);
  part.at(kPartName) = u"74HC00";
  part.at(kOtherInformation) = u"SOIC-14";
  appendPartsLine(context, part, lines);
  EXPECT_EQ(toUtf8(lines), "R_0805! 10k_1%; R1: ? \r\nSOIC-14! 74HC00; R1: ? \r\n");
  EXPECT_EQ(toUtf8(findings),
            "部品名称10k;1%を10k_1%に変更しました。\r\nその他情報Resistor_SMD:R_0805をR_0805に変更しました。\r\n");
}

}  // namespace
}  // namespace korvanel
