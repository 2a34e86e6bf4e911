// Arbitrary bytes through the file codec and the line splitting (the first
// byte picks the encoding): a decoded file encodes and decodes again to the
// same text (UTF-8 to the same bytes, without a byte order mark), no line
// holds a line end, and the text numbers and upper-casing stay in range.
#include <cstdint>

#include "core/errors.h"
#include "core/text.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace korvanel;
using korvanel::fuzzing::finding;

void checkLines(TextView text) {
  const bool lineFeedEndsLines = text.find(u'\r') == TextView::npos;
  std::size_t characters = 0;
  const std::vector<Text> lines = splitLines(text);
  for (const Text& line : lines) {
    if (line.find(u'\r') != Text::npos) finding("a line holds a CR");
    if (lineFeedEndsLines && line.find(u'\n') != Text::npos) finding("a line holds an LF in a file without CR");
    characters += line.size();
    numericValue(line);
    if (toUpper(line).size() != line.size()) finding("upper-casing changed a line's length", line);
  }
  if (characters > text.size()) finding("the lines hold more than the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Encoding encoding = data[0] % 2 == 0 ? Encoding::Cp932 : Encoding::Utf8;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  Text text;
  try {
    text = decodeBytes(bytes, encoding, "input");
  } catch (const FileError&) {
    return 0;
  }
  const std::string encoded = encodeText(text, encoding, "output");
  // Decoding drops one byte order mark at the start; a second one is text.
  const std::string byteOrderMark = encoding == Encoding::Utf8 ? "\xEF\xBB\xBF" : "";
  if (decodeBytes(byteOrderMark + encoded, encoding, "output") != text) {
    finding("a decoded text came back otherwise", text);
  }
  if (encoding == Encoding::Utf8 && encoded != bytes.substr(bytes.starts_with(byteOrderMark) ? 3 : 0)) {
    finding("UTF-8 bytes came back otherwise", text);
  }
  checkLines(text);
  return 0;
}
