// Intermediate files on which fuzzing found a writer and its own reader to
// disagree: through the writer and back, every net comes back with its pins,
// or the run reports the field that the format cannot carry.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/driver.h"
#include "core/field_limits.h"
#include "core/records.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using NetsByName = std::map<Text, std::multiset<Text>>;

struct RoundTripFinding {
  const char* what;
  const char16_t* format;
  std::string nets;
  // The field that the errlog.txt of the writer names, or "" when the nets
  // must come back.
  std::string reported;
};

class RoundTripFindings : public testing::ScratchTest, public ::testing::WithParamInterface<RoundTripFinding> {
 protected:
  NetsByName netsOf(const std::filesystem::path& netFile, bool upperCase) {
    NetsByName nets;
    NetRecord net;
    for (const auto& line : readRecordLines(netFile, Encoding::Cp932)) {
      mrk1net(net, line);
      if (pinCount(net) == 0) continue;
      auto& pins = nets[upperCase ? toUpper(net.get(kNetName)) : Text(net.get(kNetName))];
      for (long long pin = 0; pin < pinCount(net); ++pin) pins.insert(toUpper(net.get(kFirstPin + pin)));
    }
    return nets;
  }
};

TEST_P(RoundTripFindings, NetsComeBackOrTheFieldIsReported) {
  const RoundTripFinding& finding = GetParam();
  for (const char* directory : {"written", "read"}) std::filesystem::create_directories(path(directory));
  writeBytes("written/net.tmp", finding.nets + "\r\n");
  writeBytes("written/parts.tmp", "\r\n");
  const ConversionContext writing{path("written"), Encoding::Cp932, host, u"Telesis"};
  const ConversionContext reading{path("read"), Encoding::Cp932, host, finding.format};
  const Text partsFile = testing::text(path("out.prt").string());
  ASSERT_EQ(runWriterOnly(finding.format, {path("out.net"), partsFile}, writing, builtinFormats()).outcome,
            RunOutcome::Finished);
  ASSERT_EQ(runReaderOnly(finding.format, {path("out.net"), partsFile}, reading, builtinFormats()).outcome,
            RunOutcome::Finished);
  if (!finding.reported.empty()) {
    EXPECT_NE(readCp932("written/errlog.txt").find(finding.reported), std::string::npos);
  } else {
    const bool upperCases = builtinFormats().findWriterLimits(finding.format)->readerUpperCases;
    EXPECT_EQ(netsOf(path("read/net.tmp"), upperCases), netsOf(path("written/net.tmp"), upperCases));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Writers, RoundTripFindings,
    ::testing::Values(
        RoundTripFinding{"CsiNetWithoutAName", u"CSi", "; 2: U1.1, R1.2, \r\n", ""},
        RoundTripFinding{"CsiPinWithoutPinNumberIsReported", u"CSi", "GND; 2: U0, R1.2, \r\n", "ピンU0は"},
        RoundTripFinding{"Cr5000PinWithoutPinNumberIsReported", u"CR5000", "SO; 2: 1U4, R1.2, \r\n",
                         "ピン1U4は"}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace korvanel
