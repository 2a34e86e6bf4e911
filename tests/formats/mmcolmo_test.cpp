#include "formats/mmcolmo.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

const std::string kIndent(11, ' ');
const std::string kNetFileEnd = "$END\r\n$THM\r\n$END\r\n";

class MmColmoTest : public testing::ScratchTest {
 protected:
  // Reads the net file `nets` and, unless `parts` is empty, the parts file
  // `parts` (both bytes); returns the status.
  std::string read(const std::string& nets, const std::string& parts = "") {
    writeBytes("input.net", nets);
    writeBytes("input.pts", parts);
    Text status = u"unset";
    mnmmcin(context, path("input.net"), parts.empty() ? Text() : path("input.pts").u16string(), status);
    return toUtf8(status);
  }
  // Writes the intermediate files (bytes); returns the parts file and the
  // net file written.
  std::pair<std::string, std::string> write(const std::string& parts, const std::string& nets) {
    writeBytes("parts.tmp", parts);
    writeBytes("net.tmp", nets);
    mnmmcout(context, path("output.net"), path("output.pts").u16string());
    return {readBytes("output.pts"), readBytes("output.net")};
  }
};

std::string pins(int first, int last) {
  std::string written;
  for (int pin = first; pin <= last; ++pin) written += "P-" + std::to_string(pin) + (pin < last ? ", " : "");
  return written;
}

TEST_F(MmColmoTest, WritesBothFiles) {
  std::string tenPins = "GND; 10: ";
  for (int pin = 1; pin <= 10; ++pin) tenPins += "P." + std::to_string(pin) + ", ";
  const auto [parts, nets] = write("DIP14! 74HC00; U1: ? \r\n! 10K; R1: ? \r\n\r\n", tenPins + "\r\n\r\n");
  EXPECT_EQ(parts, "$PTS\r\nDIP14 !74HC00 ;U1\r\n !10K ;R1\r\n$END\r\n");
  EXPECT_EQ(nets, "$NET\r\nGND      ; " + pins(1, 9) + ", \r\n" + kIndent + "P-10\r\n" + kNetFileEnd);
}

struct Case {
  const char* name;
  std::string from;
  std::string to;
};
std::string caseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class MmColmoWriter : public MmColmoTest, public ::testing::WithParamInterface<Case> {};

TEST_P(MmColmoWriter, WritesTheNet) {
  EXPECT_EQ(write("\r\n", GetParam().from + "\r\n\r\n").second, "$NET\r\n" + GetParam().to + "\r\n" + kNetFileEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, MmColmoWriter,
    ::testing::Values(
        Case{"NameOf8IsPaddedTo9", "ABCDEFGH; 1: U1.1, ", "ABCDEFGH ; U1-1"},
        Case{"NameOf9IsNotPadded", "ABCDEFGHI; 1: U1.1, ", "ABCDEFGHI; U1-1"},
        Case{"NineteenPins",
             "N; 19: P.1, P.2, P.3, P.4, P.5, P.6, P.7, P.8, P.9, P.10, P.11, P.12, P.13, P.14, P.15, P.16, P.17, "
             "P.18, P.19, ",
             "N        ; " + pins(1, 9) + ", \r\n" + kIndent + pins(10, 18) + ", \r\n" + kIndent + "P-19"},
        Case{"NoPins", "NC; 0: ", "NC       ; "},
        Case{"OnlyTheFirstDotTurns", "A; 3: R.1.2, U1.-5V, J1, ", "A        ; R-1.2, U1--5V, J1"}),
    caseName);

class MmColmoPartsReader : public MmColmoTest, public ::testing::WithParamInterface<Case> {};

TEST_P(MmColmoPartsReader, ReadsTheParts) {
  ASSERT_EQ(read("$NET\r\n$END\r\n", "$PTS\r\n" + GetParam().from), "good");
  EXPECT_EQ(readBytes("parts.tmp"), GetParam().to + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MmColmoPartsReader,
    ::testing::Values(
        Case{"UpperCasedWithoutBlanksAndTabs", "dip 14\t! 74hc00 ; u1\r\n$END\r\n", "DIP14! 74HC00; U1: ? \r\n"},
        Case{"EndAloneOnItsLineStops", "A !B ;U1\r\n$END\r\nC !D ;U2\r\n", "A! B; U1: ? \r\n"},
        Case{"EndWithMoreStops", "A !B ;U1\r\n$END $THM\r\nC !D ;U2\r\n", "A! B; U1: ? \r\n"},
        Case{"NoEndReadsToTheEndOfTheFile", "A !B ;U1\r\n\r\nC !D ;U2", "A! B; U1: ? \r\nC! D; U2: ? \r\n"},
        Case{"PackageAndReferenceMayBeMissing", " !10K ;R1\r\nSOT23 !BSS138 ;\r\n",
             "! 10K; R1: ? \r\nSOT23! BSS138; : ? \r\n"},
        Case{"NoPartNameNoPart", "DIP14 ! ;U1\r\nDIP14 !74HC00 U2\r\n", ""}),
    caseName);

class MmColmoNetReader : public MmColmoTest, public ::testing::WithParamInterface<Case> {};

TEST_P(MmColmoNetReader, ReadsTheNets) {
  ASSERT_EQ(read(GetParam().from), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), GetParam().to + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MmColmoNetReader,
    ::testing::Values(
        Case{"Example", "$NET\r\ngnd      ; u1-7, u2-7\r\n" + kNetFileEnd, "GND; 2: U1.7, U2.7, \r\n"},
        Case{"TrailingCommaContinuesEvenWithBlanksAfterIt", "$NET\r\nA ; U1-1, \r\n  U2-2,\t\r\n  U3-3,\r\nU4-4",
             "A; 4: U1.1, U2.2, U3.3, U4.4, \r\n"},
        Case{"NameWithoutPins", "$NET\r\nA ;\r\nB ; U1-1", "A; 0: \r\nB; 1: U1.1, \r\n"},
        Case{"EmptyTokensEndNoPin", "$NET\r\nA ; U1-1,,U2-2 , ,U3-3", "A; 3: U1.1, U2.2, U3.3, \r\n"},
        Case{"EmptyLinesAreSkipped", "$NET\r\nA ; U1-1,\r\n\r\n  \r\nU2-2\r\n\r\nB ; U3-3",
             "A; 2: U1.1, U2.2, \r\nB; 1: U3.3, \r\n"},
        Case{"EndStops", "$NET\r\nA ; U1-1\r\n $end \r\nB ; U2-2", "A; 1: U1.1, \r\n"},
        Case{"EmptyNamesAreNumbered", "$NET\r\n; U1-1\r\n ; U2-2", "un0; 1: U1.1, \r\nun1; 1: U2.2, \r\n"},
        Case{"LinesOutsideANetGiveNothing", "HEADER\r\n$NET\r\nA ; U1-1\r\nU9-9, U8-8\r\nB ; U2-2",
             "A; 1: U1.1, \r\nB; 1: U2.2, \r\n"},
        Case{"ANameEndsAContinuedNet", "$NET\r\nA ; U1-1,\r\nB ; U2-2", "A; 1: U1.1, \r\nB; 1: U2.2, \r\n"},
        Case{"ContinuedNetAtTheEndOfTheFile", "$NET\r\nA ; U1-1, U2-2,", "A; 2: U1.1, U2.2, \r\n"},
        Case{"NetSectionAlone", "$NET", ""},
        Case{"OnlyTheFirstInnerDashTurns", "$NET\r\nN ; -5V, R-1-2, U1--3", "N; 3: -5V, R.1-2, U1.-3, \r\n"},
        Case{"LfLineEnds", "$NET\nA ; U1-1,\nU2-2\nB ; U3-3\n$END\n", "A; 2: U1.1, U2.2, \r\nB; 1: U3.3, \r\n"}),
    caseName);

TEST_F(MmColmoTest, NameBeforeTheNetSectionIsBadAndLeavesTheNetFile) {
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read("A ; U1-1\r\n$NET\r\n", "$PTS\r\nA !B ;U1\r\n$END\r\n"), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "A! B; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

TEST_F(MmColmoTest, FileWithoutNetSectionIsBadAndWritesAnEmptyNetFile) {
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read("HEADER\r\nU1-1, U2-2\r\n"), "bad");
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "\r\n");
}

TEST_F(MmColmoTest, NetHoldsAtMost19999Pins) {
  auto netWithPins = [](int count) { return "$NET\r\nBIG ; " + pins(1, count); };
  ASSERT_EQ(read(netWithPins(19999)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 22), "BIG; 19999: P.1, P.2, ");
  EXPECT_THROW(read(netWithPins(20000)), CapacityError);
}

TEST_F(MmColmoTest, WrittenFilesReadBackAsTheyWere) {
  const std::string parts =
      "DIP14! 74HC00; TA-101: ? \r\n! 10K; R1: ? \r\nSOT23! BSS138; : ? \r\nＤＩＰ! 抵抗; R2: ? \r\n\r\n";
  std::string nets =
      "NET-(C1-PAD1); 3: C1.1, R.1.2, U1.-5V, \r\n/VPP{SLASH}MCLR; 1: J1, \r\nUNCONNECTED-(U1-PAD5); 0: \r\n"
      "電源; 2: R1.1, 抵抗1.2, \r\n";
  for (int count = 1; count <= 19; ++count) {
    nets += "N" + std::to_string(count) + "; " + std::to_string(count) + ": ";
    for (int pin = 1; pin <= count; ++pin) nets += "U" + std::to_string(pin) + ".1, ";
    nets += "\r\n";
  }
  nets += "\r\n";
  writeCp932("parts.tmp", parts);
  writeCp932("net.tmp", nets);
  mnmmcout(context, path("output.net"), path("output.pts").u16string());
  Text status;
  mnmmcin(context, path("output.net"), path("output.pts").u16string(), status);
  EXPECT_EQ(toUtf8(status), "good");
  EXPECT_EQ(readCp932("parts.tmp"), parts);
  EXPECT_EQ(readCp932("net.tmp"), nets);
}

// What the limits say a part field carries is what the reader gives back: a
// field that grows to "$END" or "$PTS" ends the parts file or skips its line.
struct PartFieldCase {
  const char* name;
  int element;
  const char* text;
  bool carried;
};

class MmColmoPartLimits : public MmColmoTest, public ::testing::WithParamInterface<PartFieldCase> {};

TEST_P(MmColmoPartLimits, AgreeWithTheReader) {
  const PartFieldCase& fieldCase = GetParam();
  PartRecord part;
  part.at(kOtherInformation) = u"SO8";
  part.at(kPartName) = u"LM358";
  part.at(kReference) = u"U1";
  part.at(fieldCase.element) = testing::text(fieldCase.text);
  Text line;
  mprkout(part, line);
  const std::string parts = toUtf8(line) + "\r\nDIP8! NE555; U2: ? \r\n\r\n";
  write(parts, "GND; 1: U2.4, \r\n\r\n");
  writeBytes("again.net", readBytes("output.net"));
  writeBytes("again.pts", readBytes("output.pts"));
  Text status;
  mnmmcin(context, path("again.net"), path("again.pts").u16string(), status);
  EXPECT_EQ(readBytes("parts.tmp") == parts, fieldCase.carried) << readBytes("parts.tmp");
  const FieldLimits& limits = fieldCase.element == kPartName    ? kMmColmoLimits.partName
                              : fieldCase.element == kReference ? kMmColmoLimits.reference
                                                                : kMmColmoLimits.package;
  EXPECT_EQ(limits.carries(testing::text(fieldCase.text)), fieldCase.carried);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, MmColmoPartLimits,
    ::testing::Values(PartFieldCase{"ReferenceEndKeyword", kReference, "$ENDKEIS_", false},
                      PartFieldCase{"ReferencePartsKeyword", kReference, "$PTS1", false},
                      PartFieldCase{"ReferenceWithKeywordInside", kReference, "R$END", true},
                      PartFieldCase{"PartNameEndKeyword", kPartName, "$END", false},
                      PartFieldCase{"PartNameDollar", kPartName, "$EN", true},
                      PartFieldCase{"PackageEndKeyword", kOtherInformation, "$END-SO8", false},
                      PartFieldCase{"PackageKiCad", kOtherInformation, "SOIC-8_3.9X4.9MM", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvanel
