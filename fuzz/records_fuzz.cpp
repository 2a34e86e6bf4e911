// Arbitrary lines through the intermediate record parsers and builders: a
// line parsed and built again must parse to the same record.
#include <cstdint>
#include <cstdlib>

#include "core/errors.h"
#include "core/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvanel;
  const Text line(reinterpret_cast<const char16_t*>(data), size / 2);
  try {
    NetRecord net;
    mrk1net(net, line);
    Text rebuilt;
    mnrkout(net, rebuilt);
    NetRecord again;
    mrk1net(again, rebuilt);
    PartRecord part;
    mprk1in(part, line);
    Text partLine;
    mprkout(part, partLine);
    PartRecord partAgain;
    mprk1in(partAgain, partLine);
    for (int element = 1; element <= 4; ++element) {
      // Fields without the parser's terminators and blanks survive a round trip.
      const Text& field = part.get(element);
      if (field.find_first_of(u"!;:? \t") == Text::npos && partAgain.get(element) != field) std::abort();
    }
  } catch (const CapacityError&) {
  }
  return 0;
}
