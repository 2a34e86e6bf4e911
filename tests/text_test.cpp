#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/text.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

struct SplitCase {
  const char* name;
  std::u16string input;
  std::vector<std::u16string> lines;
};

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, EndLinesWhereTheFileSays) { EXPECT_EQ(splitLines(GetParam().input), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(
    LineEnds, SplitLines,
    ::testing::Values(
        SplitCase{"Empty", u"", {}}, SplitCase{"CrLf", u"A\r\nB\r\n", {u"A", u"B"}},
        SplitCase{"LoneCr", u"A\rB\r", {u"A", u"B"}}, SplitCase{"NoFinalLineEnd", u"A\r\nB", {u"A", u"B"}},
        SplitCase{"EmptyLinesCount", u"A\r\n\r\nB\r\n\r\n", {u"A", u"", u"B", u""}},
        SplitCase{"LoneLfStaysInsideALineWhenTheFileHasCr", u"A\nB\r\nC\r\n", {u"A\nB", u"C"}},
        SplitCase{"LfThenCr", u"A\n\rB\r\n", {u"A\n", u"B"}},
        SplitCase{"LfEndsLinesWhenTheFileHasNoCr", u"A\nB\n\nC", {u"A", u"B", u"", u"C"}},
        SplitCase{"CrCrLf", u"A\r\r\n", {u"A", u""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Codec, Cp932RoundTripsJapaneseAndHalfWidthKatakana) {
  const Text original = text("電源ＶＣＣ ﾊﾞｰｼﾞｮﾝ ①～");
  const std::string bytes = encodeText(original, Encoding::Cp932, "f");
  EXPECT_EQ(bytes.substr(0, 2), "\x93\x64");  // 電
  EXPECT_EQ(decodeBytes(bytes, Encoding::Cp932, "f"), original);
}

TEST(Codec, InvalidCp932NamesFileAndByteOffset) {
  try {
    decodeBytes("AB\x82", Encoding::Cp932, "in.net");
    FAIL();
  } catch (const FileError& error) {
    EXPECT_STREQ(error.what(), "in.net: byte offset 2: invalid cp932 byte sequence 82");
  }
}

TEST(Codec, InvalidUtf8NamesFileAndByteOffset) {
  try {
    decodeBytes("ok\n\xC3\x28", Encoding::Utf8, "in.net");
    FAIL();
  } catch (const FileError& error) {
    EXPECT_NE(std::string(error.what()).find("in.net: byte offset 3: invalid utf-8"), std::string::npos)
        << error.what();
  }
}

TEST(Codec, Utf8ByteOrderMarkIsNotText) {
  EXPECT_EQ(decodeBytes("\xEF\xBB\xBF" "A", Encoding::Utf8, "f"), u"A");
}

TEST(Codec, CharacterThatCp932CannotHoldNamesIt) {
  try {
    encodeText(text("ok→é"), Encoding::Cp932, "out.net");
    FAIL();
  } catch (const FileError& error) {
    EXPECT_STREQ(error.what(), "out.net: the character U+00E9 'é' cannot be written in cp932");
  }
}

TEST(Codec, Utf8WritesAnyCharacter) {
  EXPECT_EQ(encodeText(text("é電"), Encoding::Utf8, "f"), "é電");
}

TEST(UpperCase, MapsEachCharacterSimply) {
  EXPECT_EQ(toUpper(text("gnd u1.7 ａｂｃ ß é")), text("GND U1.7 ＡＢＣ ß É"));
}

struct NumberCase {
  std::u16string input;
  long long value;
};

class NumericValue : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumericValue, TakesTheLeadingNumber) { EXPECT_EQ(numericValue(GetParam().input), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, NumericValue,
                         ::testing::Values(NumberCase{u"3", 3}, NumberCase{u"", 0}, NumberCase{u"x", 0},
                                           NumberCase{u"12abc", 12}, NumberCase{u" 7", 7}, NumberCase{u"-2", -2},
                                           NumberCase{u"2.5", 2}, NumberCase{u"3.5", 4}, NumberCase{u"2.6", 3},
                                           NumberCase{u"99999999999999999999999", 1000000000000000}));

}  // namespace
}  // namespace korvanel
