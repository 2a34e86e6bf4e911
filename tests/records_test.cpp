#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/records.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

NetRecord netOf(std::initializer_list<const char*> elements) {
  NetRecord record;
  long long index = 0;
  for (const char* element : elements) record.at(index++) = text(element);
  return record;
}

Text netLineOf(const NetRecord& record) {
  Text line;
  mnrkout(record, line);
  return line;
}

TEST(NetLine, BuildsNameCountAndEveryPinFollowedByCommaBlank) {
  EXPECT_EQ(netLineOf(netOf({"N1", "2", "U1.1", "R1.2"})), u"N1; 2: U1.1, R1.2, ");
  EXPECT_EQ(netLineOf(netOf({"GND", "3", "U1.7", "U2.7", "C1.2"})), u"GND; 3: U1.7, U2.7, C1.2, ");
  EXPECT_EQ(netLineOf(netOf({"NC", "0"})), u"NC; 0: ");
}

TEST(NetLine, CountDecidesHowManyPinsAreWritten) {
  EXPECT_EQ(netLineOf(netOf({"N", "3", "A.1", "B.1", "C.1", "D.1", "E.1"})), u"N; 3: A.1, B.1, C.1, ");
  EXPECT_EQ(netLineOf(netOf({"N", "x", "A.1"})), u"N; x: ");
  EXPECT_EQ(netLineOf(netOf({"N", "2abc", "A.1", "B.1"})), u"N; 2abc: A.1, B.1, ");
}

TEST(NetLine, ParsesBackAndStoresAnEmptyElementAfterTheLastPin) {
  NetRecord record;
  record.at(4) = u"left over";
  mrk1net(record, u"N1; 2: U1.1, R1.2, ");
  EXPECT_EQ(record.get(0), u"N1");
  EXPECT_EQ(record.get(1), u"2");
  EXPECT_EQ(record.get(2), u"U1.1");
  EXPECT_EQ(record.get(3), u"R1.2");
  EXPECT_EQ(record.get(4), u"");
}

TEST(NetLine, ParserKeepsHigherElementsOfAnEarlierLongerNet) {
  NetRecord record;
  mrk1net(record, u"A; 4: P.1, P.2, P.3, P.4, ");
  mrk1net(record, u"B; 1: Q.1, ");
  EXPECT_EQ(record.get(2), u"Q.1");
  EXPECT_EQ(record.get(3), u"");
  EXPECT_EQ(record.get(4), u"P.3");
  EXPECT_EQ(record.get(5), u"P.4");
}

TEST(NetLine, BlanksAreDroppedButTabsStay) {
  NetRecord record;
  mrk1net(record, netLineOf(netOf({"VCC 5V", "1", "U1.\t1"})));
  EXPECT_EQ(record.get(0), u"VCC5V");
  EXPECT_EQ(record.get(2), u"U1.\t1");
}

// A field that a reader copied with a delimiter in it is written with "_"
// there, so that the line reads back as the fields it was built from. A
// reference loses the delimiters of both files, so that a part and its pins
// keep one reference; a pin name keeps what a parts line allows.
struct DelimiterCase {
  std::vector<const char*> net;  // name, count, pins
  const char16_t* line;
};

TEST(NetLine, DelimitersInsideAFieldAreWrittenAsUnderscore) {
  const DelimiterCase cases[] = {
      {{"A:B", "1", "U1.1"}, u"A_B; 1: U1.1, "},
      {{"A,B;C", "1", "U1.1"}, u"A_B_C; 1: U1.1, "},
      {{"N", "3", "Q1.2,", ":R1.1", "U;1.1"}, u"N; 3: Q1.2_, _R1.1, U_1.1, "},
      {{"N", "2", "R?1.2", "J!.A!B?"}, u"N; 2: R_1.2, J_.A!B?, "},
      {{"A\r\nB", "1", "U\r1.\n1"}, u"A__B; 1: U_1._1, "},
      {{"NET-(C1-PAD1)", "1", "TA-101.1"}, u"NET-(C1-PAD1); 1: TA-101.1, "},
  };
  for (const DelimiterCase& delimiterCase : cases) {
    NetRecord built;
    long long index = 0;
    for (const char* element : delimiterCase.net) built.at(index++) = text(element);
    const Text line = netLineOf(built);
    EXPECT_EQ(line, delimiterCase.line);
    NetRecord back;
    mrk1net(back, line);
    EXPECT_EQ(netLineOf(back), line) << "reads back as built";
  }
}

TEST(NetLine, TheCharacterAfterSemicolonIsAlwaysSkipped) {
  NetRecord record;
  mrk1net(record, u"N1;2: U1.1, ");
  EXPECT_EQ(record.get(0), u"N1");
  EXPECT_EQ(record.get(1), u"");
  EXPECT_EQ(record.get(2), u"U1.1");
}

TEST(NetLine, EmptyLineSetsOnlyTheName) {
  NetRecord record = netOf({"OLD", "1", "X.1"});
  mrk1net(record, u"");
  EXPECT_EQ(record.get(0), u"");
  EXPECT_EQ(record.get(1), u"1");
  EXPECT_EQ(record.get(2), u"X.1");
}

TEST(PartLine, BuildsInTheOrderOtherNameReferenceAdditional) {
  PartRecord record;
  record.at(1) = u"74HC00";
  record.at(2) = u"U1";
  record.at(3) = u"DIP14";
  Text line;
  mprkout(record, line);
  EXPECT_EQ(line, u"DIP14! 74HC00; U1: ? ");

  PartRecord parsed;
  mprk1in(parsed, line);
  EXPECT_EQ(parsed.get(1), u"74HC00");
  EXPECT_EQ(parsed.get(2), u"U1");
  EXPECT_EQ(parsed.get(3), u"DIP14");
  EXPECT_EQ(parsed.get(4), u"");
}

TEST(PartLine, DelimitersInsideAFieldAreWrittenAsUnderscore) {
  PartRecord record;
  record.at(kPartName) = u"10K;1%";
  record.at(kReference) = u"R,1!";
  record.at(kOtherInformation) = u"LIB:R0603";
  record.at(kAdditionalText) = u"WHY?";
  Text line;
  mprkout(record, line);
  EXPECT_EQ(line, u"LIB_R0603! 10K_1%; R_1_: WHY_? ");
}

TEST(PartLine, MissingTerminatorKeepsThePreviousValueAndTabsAreDropped) {
  PartRecord record;
  mprk1in(record, u"DIP14! 74HC00; U1: EXTRA? ");
  mprk1in(record, u"SO8! LM358; U\t2: ");
  EXPECT_EQ(record.get(1), u"LM358");
  EXPECT_EQ(record.get(2), u"U2");
  EXPECT_EQ(record.get(3), u"SO8");
  EXPECT_EQ(record.get(4), u"EXTRA");
  mprk1in(record, u"A! B; C: D? trailing");
  EXPECT_EQ(record.get(4), u"D");
}

TEST(RecordCapacity, ElementTwentyThousandIsTheLast) {
  NetRecord record;
  EXPECT_NO_THROW(record.at(20000) = u"P");
  EXPECT_THROW(record.at(20001), CapacityError);
  EXPECT_THROW(record.get(20001), CapacityError);
}

// A line with `pins` pins, as a reader builds it.
Text lineWithPins(int pins) {
  NetRecord record;
  record.at(0) = u"BIG";
  for (int index = 0; index < pins; ++index) record.at(2 + index) = u"U" + decimalText(index) + u".1";
  record.at(1) = decimalText(pins);
  Text line;
  mnrkout(record, line);
  return line;
}

TEST(RecordCapacity, NineteenThousandNineHundredNinetyEightPinsParseBackAndOneMoreFails) {
  NetRecord record;
  EXPECT_NO_THROW(mrk1net(record, lineWithPins(19998)));
  EXPECT_EQ(record.get(19999), u"U19997.1");
  EXPECT_THROW(mrk1net(record, lineWithPins(19999)), CapacityError);
}

TEST(RecordCapacity, BuildingPastTheBoundFails) {
  NetRecord record = netOf({"N", "19999"});
  EXPECT_NO_THROW(netLineOf(record));
  record.at(1) = u"20000";
  EXPECT_THROW(netLineOf(record), CapacityError);
}

// The view record stores what mrk1net stores, line after line, left-overs
// of longer lines included, and fails at the same bound.
TEST(NetRecordView, GivesTheElementsOfTheTextRecord) {
  const std::vector<Text> lines = {u"GND; 3: U1.7, U2.7, C1.2, ", u"N 1; 1: U 1 . 2, ", u"N1;2: A, B, ", u"A, B, C: D; E",
                                   u"X; 1: ", u"", u";", u"N;", u"N; 2: A,B,", u"N; 4: P1, P2, "};
  NetRecord record;
  NetRecordView view;
  for (const Text& line : lines) {
    mrk1net(record, line);
    view.parse(line);
    for (long long index = 0; index < 8; ++index) {
      EXPECT_EQ(view.get(index), record.get(index)) << toUtf8(line) << " element " << index;
    }
    EXPECT_EQ(view.pinCount(), pinCount(record));
  }
  EXPECT_THROW(view.parse(lineWithPins(19999)), CapacityError);
  EXPECT_THROW(view.get(20001), CapacityError);
}

}  // namespace
}  // namespace korvanel
