// Small helpers that the readers and writers share: walking a line position
// by position, padding to a column, and the pin separator of a format.
#pragma once

#include <cstddef>

#include "core/text.h"

namespace korvanel {

// The character at one position of a line. The position one past the last
// character yields the empty character (`empty`), which equals no character.
struct CharacterAt {
  char16_t character = 0;
  bool empty = true;

  bool is(char16_t wanted) const { return !empty && character == wanted; }
  bool isSpace() const { return is(u' '); }
  bool isTab() const { return is(u'\t'); }
  // A space, a tab or the empty character: what separates tokens.
  bool isSpaceTabOrEmpty() const { return empty || character == u' ' || character == u'\t'; }
};

inline CharacterAt characterAt(TextView line, std::size_t position) {
  if (position < line.size()) return {line[position], false};
  return {};
}

// `count` spaces appended to `out`.
inline void appendSpaces(Text& out, std::size_t count) { out.append(count, u' '); }

// `text` appended and followed by spaces up to `width` characters; a text of
// `width` characters or more gets no spaces.
inline void appendPadded(Text& out, TextView text, std::size_t width) {
  out += text;
  if (text.size() < width) appendSpaces(out, width - text.size());
}

// Where a writer breaks the pins of a net into lines of `pinsPerLine`. Asked
// for each pin in order (zero-based position), it tells whether that pin
// begins a new line. Where the last pin may not stand alone on a line, it
// stays on the line before, which then holds one pin more.
class PinLineBreaks {
 public:
  enum class LastPin { MayStandAlone, StaysWithPrevious };

  PinLineBreaks(long long pinsPerLine, long long pinCount, LastPin lastPin = LastPin::MayStandAlone)
      : pinsPerLine_(pinsPerLine), lastPosition_(pinCount - 1), lastPin_(lastPin) {}

  bool startsNewLine(long long position) {
    const bool lineIsFull = position == pinsPerLine_ * linesSoFar_;
    const bool lastPinKeptBack = lastPin_ == LastPin::StaysWithPrevious && position == lastPosition_;
    if (!lineIsFull || lastPinKeptBack) return false;
    ++linesSoFar_;
    return true;
  }

 private:
  long long pinsPerLine_;
  long long lastPosition_;
  LastPin lastPin_;
  long long linesSoFar_ = 1;
};

// `text` appended and followed by spaces up to `width` characters; a text of
// `width` characters or more is followed by one space, so the next field never
// runs into it.
inline void appendPaddedWithGap(Text& out, TextView text, std::size_t width) {
  out += text;
  appendSpaces(out, text.size() < width ? width - text.size() : 1);
}

// The layout of a net's pins written as one list that wraps onto
// continuation lines after a fixed number of pins. Each pin is preceded by
// `beforeEachPin` and followed by `betweenPins`, or by `afterLastPin` when it
// is the net's last; a full line is ended with `lineEnd` and the next one
// begins with `continuationIndent`.
struct WrappedPinList {
  TextView beforeEachPin;
  TextView betweenPins;
  TextView afterLastPin;
  long long pinsOnFirstLine = 1;
  long long pinsOnLaterLines = 1;
  TextView lineEnd = kCrLf;
  TextView continuationIndent;
};

// Appends `pinCount` pins in the `layout`; `appendPin(out, position)` writes
// the pin at zero-based `position` as its format writes it.
template <typename AppendPin>
void appendWrappedPins(Text& out, long long pinCount, const WrappedPinList& layout, AppendPin&& appendPin) {
  long long roomOnLine = layout.pinsOnFirstLine;
  for (long long position = 0; position < pinCount; ++position) {
    if (roomOnLine == 0) {
      out += layout.lineEnd;
      out += layout.continuationIndent;
      roomOnLine = layout.pinsOnLaterLines;
    }
    out += layout.beforeEachPin;
    appendPin(out, position);
    out += position + 1 < pinCount ? layout.betweenPins : layout.afterLastPin;
    --roomOnLine;
  }
}

// A pin in the intermediate form: the first `separator` that is not the pin's
// first character becomes "." (with "-": -5V stays -5V, -5V-1 becomes -5V.1).
Text pinFromSeparator(TextView pin, char16_t separator);

// Every "." of an intermediate pin turned into `separator`.
Text pinToSeparator(TextView pin, char16_t separator);

// The first "." of an intermediate pin, the one between reference and pin
// name, turned into `separator`; later dots belong to the pin name, so a
// reader that turns its first separator back gives the same pin (R.1.2
// becomes and reads back as R.1.2).
Text pinWithFirstDotAs(TextView pin, TextView separator);

}  // namespace korvanel
