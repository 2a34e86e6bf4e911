#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <random>

#include "core/errors.h"
#include "core/shared_steps.h"
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

// The records of a text are its lines up to the first empty one.
TEST_P(SplitLines, RecordLinesStopAtTheFirstEmptyLine) {
  std::vector<Text> records;
  forEachRecordLine(GetParam().input, [&](TextView line) { records.emplace_back(line); });
  const auto firstEmpty = std::find(GetParam().lines.begin(), GetParam().lines.end(), u"");
  EXPECT_EQ(records, std::vector<Text>(GetParam().lines.begin(), firstEmpty));
}

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

// The codec as one call over the whole input, for comparison: the result,
// or the offset of the byte sequence where it stops.
std::pair<std::u16string, long long> wholeInputDecode(const std::string& bytes, const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(name, &status);
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  std::u16string out(bytes.size() + 1, u'\0');
  const char* source = bytes.data();
  auto* target = reinterpret_cast<UChar*>(out.data());
  ucnv_toUnicode(converter, &target, target + out.size(), &source, bytes.data() + bytes.size(), nullptr, true,
                 &status);
  char invalid[8];
  int8_t invalidLength = sizeof invalid;
  UErrorCode ignored = U_ZERO_ERROR;
  ucnv_getInvalidChars(converter, invalid, &invalidLength, &ignored);
  ucnv_close(converter);
  if (U_FAILURE(status)) return {u"", source - bytes.data() - invalidLength};
  out.resize(static_cast<std::size_t>(target - reinterpret_cast<UChar*>(out.data())));
  return {out, -1};
}

// Plain ASCII is copied and everything else decoded by the codec: the text,
// and where invalid input stops, are those of one codec call over the whole.
TEST(Codec, DecodingGivesWhatTheCodecGivesForTheWholeInput) {
  std::mt19937 random(7);
  const std::vector<std::string> pieces = {"A", "z", " ", "\r\n", "\\", "~", "\x1a", "\x1c", "\x7f", "\x93\x64",
                                           "\xb1", "\x81\x40", "\x82\xa0", "\x81", "\xfd", "\x80", "\xe0\x41",
                                           "\xc3\xa9", "\xe9\x9b\xbb", "\xef\xbb\xbf"};
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (int piece = std::uniform_int_distribution<int>(0, 40)(random); piece > 0; --piece) {
      bytes += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    }
    for (const Encoding encoding : {Encoding::Cp932, Encoding::Utf8}) {
      const std::string withoutMark =
          encoding == Encoding::Utf8 && bytes.rfind("\xef\xbb\xbf", 0) == 0 ? bytes.substr(3) : bytes;
      const auto [expected, stop] = wholeInputDecode(withoutMark, encoding == Encoding::Cp932 ? "windows-31j" : "UTF-8");
      try {
        EXPECT_EQ(decodeBytes(bytes, encoding, "f"), expected) << ::testing::PrintToString(bytes);
        EXPECT_EQ(stop, -1) << ::testing::PrintToString(bytes);
      } catch (const FileError& error) {
        EXPECT_NE(stop, -1) << ::testing::PrintToString(bytes);
        const long long markLength = static_cast<long long>(bytes.size() - withoutMark.size());
        EXPECT_NE(std::string(error.what()).find("byte offset " + std::to_string(stop + markLength) + ":"),
                  std::string::npos)
            << error.what() << " " << ::testing::PrintToString(bytes);
      }
      // What decodes encodes back to the same bytes.
      if (stop == -1) {
        EXPECT_EQ(encodeText(expected, encoding, "f"), withoutMark) << ::testing::PrintToString(bytes);
      }
    }
  }
}

// The upper-case working copy: every line after a CR LF, ASCII and other
// letters upper-cased, and a line feed inside a line (an LF-only file) made
// a CR LF, before and after the first character beyond ASCII.
TEST(UpperCaseWorkingText, UpperCasesEveryLineAndEndsLineFeeds) {
  const struct {
    std::vector<TextView> lines;
    Text workingText;
  } cases[] = {
      {{}, u""},
      {{u"net-(c1-pad1) ; u1.1", u""}, u"\r\nNET-(C1-PAD1) ; U1.1\r\n"},
      {{u"a\nb\n"}, u"\r\nA\r\nB\r\n"},
      {{u"ｕ1 電源 vcc\nr1"}, u"\r\nＵ1 電源 VCC\r\nR1"},
      {{u"aé\nb", u"straße"}, u"\r\nAÉ\r\nB\r\nSTRAßE"},
  };
  for (const auto& [lines, workingText] : cases) EXPECT_EQ(upperCaseWorkingText(lines), workingText);
}

}  // namespace
}  // namespace korvanel
