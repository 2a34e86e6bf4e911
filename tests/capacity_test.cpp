// Each fixed-table bound stops a run just past it with the capacity message,
// and the same run converts once the bounds are lifted.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/driver.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

std::string repeated(int count, const std::function<std::string(int)>& piece) {
  std::string all;
  for (int index = 0; index < count; ++index) all += piece(index);
  return all;
}

std::string telesis(const std::string& parts, const std::string& nets) {
  return "$PACKAGES\r\n" + parts + "$NETS\r\n" + nets + "$END\r\n";
}

struct BoundCase {
  const char* name;
  const char16_t* from;
  const char16_t* to;
  // The passes on: the duplicate checks, the sort.
  bool checks;
  bool sort;
  std::function<std::string()> input;
};

class CapacityBounds : public testing::ScratchTest, public ::testing::WithParamInterface<BoundCase> {
 protected:
  RunOutcome convert(bool lift) {
    ConversionFields fields;
    fields.inputPath = text(path("in.net").string());
    fields.outputPath = text(path("out.net").string());
    fields.inputFormat = GetParam().from;
    fields.outputFormat = GetParam().to;
    fields.duplicateChecks = GetParam().checks;
    fields.sortNets = GetParam().sort;
    fields.singlePinCheck = false;
    fields.liftCapacityLimits = lift;
    return runConversion(fields, host, RunSettings{directory, directory, Encoding::Cp932, false}, builtinFormats())
        .outcome;
  }
};

TEST_P(CapacityBounds, StopJustPastTheBoundAndConvertWhenLifted) {
  writeBytes("in.net", GetParam().input());
  EXPECT_EQ(convert(false), RunOutcome::CapacityExceeded);
  EXPECT_EQ(host.messages().back(), "ネット数の許容量が越えました。");
  EXPECT_EQ(convert(true), RunOutcome::Finished);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, CapacityBounds,
    ::testing::Values(
        BoundCase{"NetRecordOf19999Pins", u"Telesis", u"Telesis", false, false,
                  [] { return telesis("", "BIG ;" + repeated(19999, [](int p) { return " U" + std::to_string(p) + ".1"; }) + "\r\n"); }},
        BoundCase{"SortOf20002Nets", u"Telesis", u"Telesis", false, true,
                  [] { return telesis("", repeated(20002, [](int n) { return "N" + std::to_string(n) + " ; U1.1\r\n"; })); }},
        BoundCase{"NetNameCheckOf20002Nets", u"Telesis", u"Telesis", true, false,
                  [] { return telesis("", repeated(20002, [](int n) { return "N" + std::to_string(n) + " ; U1.1\r\n"; })); }},
        BoundCase{"PartCheckOf1002Parts", u"Telesis", u"Telesis", true, false,
                  [] { return telesis(repeated(1002, [](int p) { return "P ! T ; R" + std::to_string(p) + "\r\n"; }), "N ; R1.1\r\n"); }},
        BoundCase{"PinCheckOf50002Pins", u"Telesis", u"Telesis", true, false,
                  [] { return telesis("", repeated(10, [](int n) {
                    return "N" + std::to_string(n) + " ;" +
                           repeated(n < 2 ? 5001 : 5000, [n](int p) { return " U" + std::to_string(n) + "." + std::to_string(p); }) + "\r\n";
                  })); }},
        BoundCase{"SortedPartsOf20001ForCr5000", u"Telesis", u"CR5000", false, false,
                  [] { return telesis(repeated(20001, [](int p) { return "P ! T ; R" + std::to_string(p) + "\r\n"; }), "N ; R1.1\r\n"); }},
        BoundCase{"MentorNetLinesOf20002", u"MENTOR", u"Telesis", false, false,
                  [] { return repeated(20002, [](int n) { return "NET 'N" + std::to_string(n % 10) + "' U" + std::to_string(n) + "-1\r\n"; }); }},
        BoundCase{"MentorNetsOf20001Names", u"MENTOR", u"Telesis", false, false,
                  [] { return repeated(20001, [](int n) { return "NET 'N" + std::to_string(n) + "' U1-1\r\n"; }); }},
        BoundCase{"FuturePinRecordsOf20004", u"FUTURE", u"Telesis", false, false,
                  [] { return "PINLIST,2\r\n" + repeated(5001, [](int symbol) {
                    return "(SYM," + std::to_string(symbol) + "\r\nDATA,2,U" + std::to_string(symbol) + "\r\n" +
                           repeated(4, [](int pin) { return "PIN,1,N" + std::to_string(pin) + ",0,0,0," + std::to_string(pin) + "\r\n"; }) +
                           ")\r\n";
                  }); }},
        BoundCase{"ExpeditionNetLinesOf20002", u"Expedition PCB", u"Telesis", false, false,
                  [] { return ";; V4.1.0\r\n%net\r\n%Prior=1\r\n\r\n%page=0\r\n" +
                              repeated(20002, [](int n) { return "\\N" + std::to_string(n) + "\\    \\U1\\-\\1\\ \r\n"; }); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvanel
