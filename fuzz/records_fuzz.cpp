// Arbitrary lines (UTF-16 code units) through the intermediate record
// parsers and builders: a line built from a parsed record parses to a record
// that builds the same line again.
#include <cstdint>

#include "core/errors.h"
#include "core/records.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace korvanel;
using korvanel::fuzzing::finding;

// A record parsed from the line and built again gives a line that parses
// to the same record: building what a parse gave is stable.
template <typename Parse, typename Build>
void roundTrip(TextView line, Parse parse, Build build, const char* what) {
  Record first;
  parse(first, line);
  Text once;
  build(first, once);
  Record second;
  parse(second, once);
  Text twice;
  build(second, twice);
  if (twice != once) finding(what, once + u" / " + twice);
}

// A net line read as views builds the line that the record builds.
void viewAgreesWithRecord(TextView line) {
  NetRecord record;
  mrk1net(record, line);
  Text fromRecord;
  mnrkout(record, fromRecord);
  NetRecordView view;
  view.parse(line);
  Text fromView;
  mnrkout(view, fromView);
  if (fromView != fromRecord) finding("a net line read as views came back otherwise", fromRecord + u" / " + fromView);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TextView line(reinterpret_cast<const char16_t*>(data), size / 2);
  try {
    const auto buildNetLine = [](const NetRecord& record, Text& built) { mnrkout(record, built); };
    roundTrip(line, mrk1net, buildNetLine, "a net line came back otherwise");
    viewAgreesWithRecord(line);
  } catch (const CapacityError&) {
  }
  roundTrip(line, mprk1in, mprkout, "a parts line came back otherwise");
  return 0;
}
