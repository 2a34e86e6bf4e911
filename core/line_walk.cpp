#include "core/line_walk.h"

namespace korvanel {

Text pinFromSeparator(TextView pin, char16_t separator) {
  Text converted(pin);
  const std::size_t found = converted.find(separator, 1);
  if (found != Text::npos) converted[found] = u'.';
  return converted;
}

Text pinToSeparator(TextView pin, char16_t separator) {
  Text converted(pin);
  for (char16_t& character : converted) {
    if (character == u'.') character = separator;
  }
  return converted;
}

Text pinWithFirstDotAs(TextView pin, TextView separator) {
  const std::size_t dot = pin.find(u'.');
  if (dot == TextView::npos) return Text(pin);
  Text written(pin.substr(0, dot));
  written += separator;
  written += pin.substr(dot + 1);
  return written;
}

}  // namespace korvanel
