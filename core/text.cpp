#include "core/text.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <memory>
#include <type_traits>

#include "core/errors.h"

namespace korvanel {
namespace {

// Shift-JIS as written by Windows (code page 932), with its NEC and IBM rows.
constexpr const char* kCp932ConverterName = "windows-31j";

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openStrictConverter(Encoding encoding) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(encoding == Encoding::Cp932 ? kCp932ConverterName : "UTF-8", &status));
  if (U_FAILURE(status)) {
    throw FileError(std::string("the codec for ") + encodingName(encoding) + " is not available: " + u_errorName(status));
  }
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  return converter;
}

void appendCodePoint(Text& text, UChar32 codePoint) {
  if (U_IS_BMP(codePoint)) {
    text += static_cast<char16_t>(codePoint);
  } else {
    text += static_cast<char16_t>(U16_LEAD(codePoint));
    text += static_cast<char16_t>(U16_TRAIL(codePoint));
  }
}

std::string describeCharacter(char32_t codePoint) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(codePoint));
  std::string description = buffer;
  if (codePoint >= 0x20 && codePoint != 0x7F && !U_IS_SURROGATE(codePoint)) {
    Text character;
    appendCodePoint(character, static_cast<UChar32>(codePoint));
    description += " '" + toUtf8(character) + "'";
  }
  return description;
}

// A character that both encodings write as the one byte of its ASCII code.
// Shift-JIS as Windows writes it swaps three control characters (0x1A,
// 0x1C and 0x7F), which are left to the codec.
bool isPlainAscii(unsigned code, Encoding encoding) {
  if (code >= 0x80) return false;
  return encoding == Encoding::Utf8 || (code != 0x1A && code != 0x1C && code != 0x7F);
}

// Whether any lane of `word` (lanes of `laneBits` bits) equals `value`.
template <int laneBits>
bool anyLaneEquals(std::uint64_t word, std::uint64_t value) {
  constexpr std::uint64_t kOnes = laneBits == 8 ? 0x0101010101010101ULL : 0x0001000100010001ULL;
  constexpr std::uint64_t kHighBits = kOnes << (laneBits - 1);
  const std::uint64_t difference = word ^ (kOnes * value);
  return ((difference - kOnes) & ~difference & kHighBits) != 0;
}

// Whether every unit of a word of eight bytes or four UTF-16 units is plain.
template <int laneBits>
bool wordIsPlain(std::uint64_t word, Encoding encoding) {
  constexpr std::uint64_t kNonAscii = laneBits == 8 ? 0x8080808080808080ULL : 0xFF80FF80FF80FF80ULL;
  if ((word & kNonAscii) != 0) return false;
  return encoding == Encoding::Utf8 || (!anyLaneEquals<laneBits>(word, 0x1A) &&
                                        !anyLaneEquals<laneBits>(word, 0x1C) && !anyLaneEquals<laneBits>(word, 0x7F));
}

#if defined(__SSE2__)
// Sixteen bytes, or eight UTF-16 units, at a time: how many units at the
// start of `units` are plain in whole blocks, copied to `target`.
std::size_t copyPlainBlocks(std::string_view bytes, char16_t* target, Encoding encoding) {
  const __m128i zero = _mm_setzero_si128();
  std::size_t copied = 0;
  for (; copied + 16 <= bytes.size(); copied += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + copied));
    __m128i offending = block;  // the high bit of a byte of 0x80 and above
    if (encoding == Encoding::Cp932) {
      offending = _mm_or_si128(offending, _mm_cmpeq_epi8(block, _mm_set1_epi8(0x1A)));
      offending = _mm_or_si128(offending, _mm_cmpeq_epi8(block, _mm_set1_epi8(0x1C)));
      offending = _mm_or_si128(offending, _mm_cmpeq_epi8(block, _mm_set1_epi8(0x7F)));
    }
    if (_mm_movemask_epi8(offending) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + copied), _mm_unpacklo_epi8(block, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + copied + 8), _mm_unpackhi_epi8(block, zero));
  }
  return copied;
}

std::size_t copyPlainBlocks(TextView units, char* target, Encoding encoding) {
  const __m128i zero = _mm_setzero_si128();
  std::size_t copied = 0;
  for (; copied + 8 <= units.size(); copied += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units.data() + copied));
    __m128i offending = _mm_xor_si128(_mm_cmpeq_epi16(_mm_and_si128(block, _mm_set1_epi16(static_cast<short>(0xFF80))), zero),
                                      _mm_set1_epi16(-1));
    if (encoding == Encoding::Cp932) {
      offending = _mm_or_si128(offending, _mm_cmpeq_epi16(block, _mm_set1_epi16(0x1A)));
      offending = _mm_or_si128(offending, _mm_cmpeq_epi16(block, _mm_set1_epi16(0x1C)));
      offending = _mm_or_si128(offending, _mm_cmpeq_epi16(block, _mm_set1_epi16(0x7F)));
    }
    if (_mm_movemask_epi8(offending) != 0) break;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(target + copied), _mm_packus_epi16(block, block));
  }
  return copied;
}
#else
template <typename From, typename To>
std::size_t copyPlainBlocks(std::basic_string_view<From>, To*, Encoding) {
  return 0;
}
#endif

// Copies the run of plain ASCII at the start of `units` into `target`, each
// unit as one unit of the other width; returns how many it copied. Whole
// blocks and words are tested first, the rest one unit at a time.
template <typename From, typename To>
std::size_t copyPlainAscii(std::basic_string_view<From> units, To* target, Encoding encoding) {
  constexpr std::size_t kUnitsPerWord = sizeof(std::uint64_t) / sizeof(From);
  std::size_t copied = copyPlainBlocks(units, target, encoding);
  while (copied + kUnitsPerWord <= units.size()) {
    std::uint64_t word;
    std::memcpy(&word, units.data() + copied, sizeof word);
    if (!wordIsPlain<8 * sizeof(From)>(word, encoding)) break;
    for (std::size_t unit = 0; unit < kUnitsPerWord; ++unit) {
      target[copied + unit] = static_cast<To>(static_cast<std::make_unsigned_t<From>>(units[copied + unit]));
    }
    copied += kUnitsPerWord;
  }
  while (copied < units.size() && isPlainAscii(static_cast<std::make_unsigned_t<From>>(units[copied]), encoding)) {
    target[copied] = static_cast<To>(static_cast<std::make_unsigned_t<From>>(units[copied]));
    ++copied;
  }
  return copied;
}

// Where a run of bytes that the codec must decode ends: at the next plain
// ASCII byte that begins a character. A Shift-JIS lead byte takes the byte
// after it along, whatever it is; UTF-8 sequences are all bytes of 0x80 and
// above.
std::size_t codecRunEnd(std::string_view bytes, std::size_t position, Encoding encoding) {
  while (position < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[position]);
    if (isPlainAscii(byte, encoding)) break;
    const bool isShiftJisLeadByte =
        encoding == Encoding::Cp932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
    position += isShiftJisLeadByte ? 2 : 1;
  }
  return std::min(position, bytes.size());
}

// The position of the next CR at or after `position` (or LF too, when
// `lineFeedToo`), the size of the text when there is none.
std::size_t nextLineEndCharacter(TextView text, std::size_t position, bool lineFeedToo) {
#if defined(__SSE2__)
  const __m128i carriageReturn = _mm_set1_epi16(u'\r');
  const __m128i lineFeed = _mm_set1_epi16(lineFeedToo ? u'\n' : u'\r');
  for (; position + 8 <= text.size(); position += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + position));
    const int found = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi16(block, carriageReturn), _mm_cmpeq_epi16(block, lineFeed)));
    if (found != 0) return position + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(found))) / 2;
  }
#endif
  for (; position < text.size(); ++position) {
    if (text[position] == u'\r' || (lineFeedToo && text[position] == u'\n')) return position;
  }
  return text.size();
}

}  // namespace

std::string encodingName(Encoding encoding) { return encoding == Encoding::Cp932 ? "cp932" : "utf-8"; }

Text decodeBytes(std::string_view bytes, Encoding encoding, const std::filesystem::path& fileName) {
  // A byte order mark is not part of the netlist; offsets still count it.
  const std::string_view wholeFile = bytes;
  if (encoding == Encoding::Utf8 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  // No byte gives more than one UTF-16 code unit, but for a four-byte UTF-8
  // sequence, which gives two.
  Text text(bytes.size(), u'\0');
  char16_t* target = text.data();
  Converter converter;
  std::size_t position = 0;
  while (position < bytes.size()) {
    // Runs of plain ASCII are copied; whatever else lies between them goes
    // through the codec, from one character boundary to the next.
    const std::size_t plainCount = copyPlainAscii(bytes.substr(position), target, encoding);
    position += plainCount;
    target += plainCount;
    if (position == bytes.size()) break;
    const std::size_t codecEnd = codecRunEnd(bytes, position, encoding);
    if (!converter) converter = openStrictConverter(encoding);
    ucnv_resetToUnicode(converter.get());
    const char* source = bytes.data() + position;
    const char* sourceEnd = bytes.data() + codecEnd;
    auto* unicodeTarget = reinterpret_cast<UChar*>(target);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &unicodeTarget, reinterpret_cast<UChar*>(text.data() + text.size()), &source,
                   sourceEnd, nullptr, true, &status);
    if (U_FAILURE(status)) {
      char invalid[8];
      int8_t invalidLength = sizeof invalid;
      UErrorCode ignored = U_ZERO_ERROR;
      ucnv_getInvalidChars(converter.get(), invalid, &invalidLength, &ignored);
      const auto offset = static_cast<long long>(source - wholeFile.data()) - invalidLength;
      std::string hex;
      for (int i = 0; i < invalidLength; ++i) {
        char byteText[4];
        std::snprintf(byteText, sizeof byteText, "%s%02X", i ? " " : "", static_cast<unsigned char>(invalid[i]));
        hex += byteText;
      }
      throw FileError(fileName.string() + ": byte offset " + std::to_string(offset < 0 ? 0 : offset) +
                      ": invalid " + encodingName(encoding) + " byte sequence" + (hex.empty() ? "" : " " + hex));
    }
    target = reinterpret_cast<char16_t*>(unicodeTarget);
    position = codecEnd;
  }
  text.resize(static_cast<std::size_t>(target - text.data()));
  return text;
}

std::string encodeText(TextView text, Encoding encoding, const std::filesystem::path& fileName) {
  // A UTF-16 code unit never needs more than three bytes (UTF-8; Shift-JIS
  // takes two at most, and a surrogate pair four for two units).
  const std::size_t mostBytesPerUnit = encoding == Encoding::Utf8 ? 3 : 2;
  std::string bytes(text.size() * mostBytesPerUnit, '\0');
  char* target = bytes.data();
  Converter converter;
  // The run the codec encoded last and its bytes: the same words on many
  // lines (an error log) are encoded once.
  TextView lastRun;
  std::string_view lastRunBytes;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t plainCount = copyPlainAscii(text.substr(position), target, encoding);
    position += plainCount;
    target += plainCount;
    if (position == text.size()) break;
    std::size_t codecEnd = position;
    while (codecEnd < text.size() && !isPlainAscii(text[codecEnd], encoding)) ++codecEnd;
    const TextView run = text.substr(position, codecEnd - position);
    if (run == lastRun) {
      target = std::copy(lastRunBytes.begin(), lastRunBytes.end(), target);
      position = codecEnd;
      continue;
    }
    char* const runTarget = target;
    if (!converter) converter = openStrictConverter(encoding);
    ucnv_resetFromUnicode(converter.get());
    const auto* source = reinterpret_cast<const UChar*>(text.data() + position);
    const auto* sourceEnd = reinterpret_cast<const UChar*>(text.data() + codecEnd);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(converter.get(), &target, bytes.data() + bytes.size(), &source, sourceEnd, nullptr, true,
                     &status);
    if (U_FAILURE(status)) {
      UChar invalid[4];
      int8_t invalidLength = 4;
      UErrorCode ignored = U_ZERO_ERROR;
      ucnv_getInvalidUChars(converter.get(), invalid, &invalidLength, &ignored);
      char32_t codePoint = invalidLength > 0 ? invalid[0] : 0;
      if (invalidLength == 2 && U16_IS_LEAD(invalid[0]) && U16_IS_TRAIL(invalid[1])) {
        codePoint = U16_GET_SUPPLEMENTARY(invalid[0], invalid[1]);
      }
      throw FileError(fileName.string() + ": the character " + describeCharacter(codePoint) +
                      " cannot be written in " + encodingName(encoding));
    }
    lastRun = run;
    lastRunBytes = std::string_view(runTarget, static_cast<std::size_t>(target - runTarget));
    position = codecEnd;
  }
  bytes.resize(static_cast<std::size_t>(target - bytes.data()));
  return bytes;
}

std::vector<Text> splitLines(TextView text) {
  const std::vector<TextView> views = splitLineViews(text);
  return std::vector<Text>(views.begin(), views.end());
}

LineList::LineList(Text text) : text_(std::make_shared<const Text>(std::move(text))), lines_(splitLineViews(*text_)) {}

void LineList::keepLinesBeforeFirstEmptyLine() {
  const auto firstEmpty = std::find_if(lines_.begin(), lines_.end(), [](TextView line) { return line.empty(); });
  lines_.erase(firstEmpty, lines_.end());
}

LineFinder::LineFinder(TextView text)
    : text_(text), lineFeedEndsLines_(nextLineEndCharacter(text, 0, false) == text.size()) {}

std::optional<TextView> LineFinder::next() {
  if (lineStart_ >= text_.size()) return std::nullopt;
  const std::size_t lineStart = lineStart_;
  std::size_t lineEnd = nextLineEndCharacter(text_, lineStart, lineFeedEndsLines_);
  lineStart_ = lineEnd + 1;
  // CR LF ends a line as one line end.
  if (lineEnd < text_.size() && text_[lineEnd] == u'\r' && lineStart_ < text_.size() && text_[lineStart_] == u'\n') {
    ++lineStart_;
  }
  return text_.substr(lineStart, lineEnd - lineStart);
}

std::vector<TextView> splitLineViews(TextView text) {
  std::vector<TextView> lines;
  LineFinder finder(text);
  while (const std::optional<TextView> line = finder.next()) lines.push_back(*line);
  return lines;
}

void appendUpperCased(Text& out, TextView text) {
  // ASCII letters in place; from the first other character on, the Unicode
  // mapping.
  const std::size_t start = out.size();
  out += text;
  std::size_t position = 0;
  for (; position < text.size() && text[position] < 0x80; ++position) {
    if (text[position] >= u'a' && text[position] <= u'z') out[start + position] -= u'a' - u'A';
  }
  if (position == text.size()) return;
  out.resize(start + position);
  while (position < text.size()) {
    UChar32 codePoint;
    U16_NEXT(text.data(), position, text.size(), codePoint);
    appendCodePoint(out, u_toupper(codePoint));
  }
}

Text toUpper(TextView text) {
  Text upper;
  appendUpperCased(upper, text);
  return upper;
}

long long numericValue(TextView text) {
  std::size_t position = 0;
  while (position < text.size() && (text[position] == u' ' || text[position] == u'\t')) ++position;
  bool negative = false;
  if (position < text.size() && (text[position] == u'-' || text[position] == u'+')) {
    negative = text[position] == u'-';
    ++position;
  }
  // Values far beyond any list bound are held at a ceiling that still fails
  // every bound check, so no overflow can occur.
  constexpr double kCeiling = 1e15;
  double value = 0;
  bool anyDigit = false;
  while (position < text.size() && text[position] >= u'0' && text[position] <= u'9') {
    value = std::min(value * 10 + (text[position] - u'0'), kCeiling);
    anyDigit = true;
    ++position;
  }
  if (position < text.size() && text[position] == u'.') {
    double scale = 0.1;
    for (++position; position < text.size() && text[position] >= u'0' && text[position] <= u'9'; ++position) {
      value += (text[position] - u'0') * scale;
      scale /= 10;
      anyDigit = true;
    }
  }
  if (!anyDigit) return 0;
  const auto rounded = static_cast<long long>(std::nearbyint(value));  // halves go to the even neighbour
  return negative ? -rounded : rounded;
}

std::string toUtf8(TextView text) {
  std::string utf8;
  utf8.reserve(text.size());
  std::size_t position = 0;
  while (position < text.size()) {
    UChar32 codePoint;
    U16_NEXT(text.data(), position, text.size(), codePoint);
    if (U_IS_SURROGATE(codePoint)) codePoint = 0xFFFD;
    char buffer[4];
    std::size_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, codePoint);
    utf8.append(buffer, length);
  }
  return utf8;
}

Text fromUtf8(std::string_view utf8) {
  Text text;
  text.reserve(utf8.size());
  std::size_t position = 0;
  while (position < utf8.size()) {
    UChar32 codePoint;
    U8_NEXT(reinterpret_cast<const uint8_t*>(utf8.data()), position, utf8.size(), codePoint);
    if (codePoint < 0) codePoint = 0xFFFD;
    appendCodePoint(text, codePoint);
  }
  return text;
}

std::filesystem::path toPath(TextView text) { return std::filesystem::path(toUtf8(text)); }

Text decimalText(long long value) {
  const std::string digits = std::to_string(value);
  return Text(digits.begin(), digits.end());
}

}  // namespace korvanel
