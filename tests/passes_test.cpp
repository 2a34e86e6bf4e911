#include <gtest/gtest.h>

#include <tuple>

#include "core/errors.h"
#include "core/passes.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

TEST(StringSort, OrdersByUtf16CodeUnits) {
  std::vector<Text> list = {u"gnd", u"GND", u"N", u"NA", u"N1", u"U1.2", u"U1.10", u"U2.1", u"U10.1",
                            text("電源"), text("ｱ"), u"", u"A"};
  modStrSort(list, 0, static_cast<long long>(list.size()) - 1);
  const std::vector<Text> expected = {u"",   u"A",     u"GND",  u"N",     u"N1",        u"NA",     u"U1.10",
                                      u"U1.2", u"U10.1", u"U2.1", u"gnd", text("電源"), text("ｱ")};
  EXPECT_EQ(list, expected);
}

TEST(StringSort, SortsOnlyTheGivenRange) {
  std::vector<Text> list = {u"C", u"B", u"A", u"0"};
  modStrSort(list, 1, 2);
  EXPECT_EQ(list, (std::vector<Text>{u"C", u"A", u"B", u"0"}));
  modStrSort(list, 2, 1);
  EXPECT_EQ(list, (std::vector<Text>{u"C", u"A", u"B", u"0"}));
}

class NetSort : public testing::ScratchTest {
 protected:
  std::string sort(const std::string& netFile) {
    writeBytes("net.tmp", netFile);
    Text sorted;
    mrksort(context, sorted);
    return toUtf8(sorted);
  }
};

TEST_F(NetSort, SortsPinsThenWholeLines) {
  EXPECT_EQ(sort("VCC; 3: U2.1, U1.10, U1.2, \r\nN; 1: A.1, \r\nN1; 1: B.1, \r\nNA; 0: \r\ngnd; 1: X.1, \r\n"
                 "GND; 2: U10.1, U2.1, \r\n\r\n"),
            "GND; 2: U10.1, U2.1, \r\nN1; 1: B.1, \r\nN; 1: A.1, \r\nNA; 0: \r\nVCC; 3: U1.10, U1.2, U2.1, \r\n"
            "gnd; 1: X.1, \r\n");
}

TEST_F(NetSort, EqualNamesOrderByCountTextAndStayTwoLines) {
  std::string nine = "N; 9: ", ten = "N; 10: ";
  for (int pin = 0; pin < 9; ++pin) nine += "A" + std::to_string(pin) + ".1, ";
  for (int pin = 0; pin < 10; ++pin) ten += "B" + std::to_string(pin) + ".1, ";
  EXPECT_EQ(sort(nine + "\r\n" + ten + "\r\n\r\n"), ten + "\r\n" + nine + "\r\n");
}

TEST_F(NetSort, RebuildsCanonicalSpacingAndStopsAtTheFirstEmptyLine) {
  EXPECT_EQ(sort("B;  1:  X.1 ,\r\nA; 0: \r\n\r\nC; 1: Y.1, \r\n"), "A; 0: \r\nB; 1: X.1, \r\n");
}

TEST_F(NetSort, EmptyFileGivesNothingAndSortedInputStaysTheSame) {
  EXPECT_EQ(sort("\r\n"), "");
  const std::string sorted = "A; 2: U1.1, U2.1, \r\nB; 1: U3.1, \r\n";
  EXPECT_EQ(sort(sorted + "\r\n"), sorted);
}

TEST_F(NetSort, CountThatIsNotANumberLeavesThePinsUnsorted) {
  EXPECT_EQ(sort("A; x: U2.1, U1.1, \r\n\r\n"), "A; x: \r\n");
}

TEST_F(NetSort, MoreThanTwentyThousandAndOneNetsExceedTheCapacity) {
  std::string nets;
  for (int net = 0; net < 20001; ++net) nets += "N" + std::to_string(net) + "; 0: \r\n";
  EXPECT_NO_THROW(sort(nets + "\r\n"));
  EXPECT_THROW(sort(nets + "X; 0: \r\n\r\n"), CapacityError);
}

class Checks : public testing::ScratchTest {
 protected:
  std::string run(void (*check)(const ConversionContext&, Text&)) {
    Text log;
    check(context, log);
    return toUtf8(log);
  }
};

TEST_F(Checks, DuplicateNetNamesGiveOneLineLessThanTheirCount) {
  writeBytes("net.tmp", "GND; 0: \r\nA; 0: \r\nGND; 0: \r\ngnd; 0: \r\nGND; 0: \r\n; 0: \r\n; 0: \r\n\r\nA; 0: \r\n");
  EXPECT_EQ(run(mchecknn),
            "**************ネット名重複情報**************\r\n\r\n"
            "GND・・・・・ネット名が重複しています。\r\nGND・・・・・ネット名が重複しています。\r\n\r\n");
  EXPECT_EQ(host.messages(), std::vector<std::string>{"ネット名の重複が有り処理が正常に行われません。"
                                                      "処理終了後にエラー情報ボタンを押して確認してください。"});
}

TEST_F(Checks, DuplicatePartsIgnoreEmptyReferences) {
  writeBytes("parts.tmp", "A! B; U1: ? \r\nA! B; : ? \r\nA! B; : ? \r\nC! D; U1: ? \r\nC! D; R1: ? \r\n\r\n");
  EXPECT_EQ(run(mcheckdp),
            "**************部品重複情報**************\r\n\r\nU1・・・・・部品が重複しています。\r\n\r\n");
  EXPECT_EQ(host.messages(),
            std::vector<std::string>{"部品の重複があります。処理終了後にエラー情報ボタンを押して確認してください。"});
}

TEST_F(Checks, DuplicatePinsAcrossAndWithinNets) {
  writeBytes("net.tmp", "A; 2: U1.1, U2.1, \r\nB; 2: U1.1, u1.1, \r\nC; 2: R1.1, R1.1, \r\n\r\n");
  EXPECT_EQ(run(mcheckdn),
            "*************ピン番重複情報*************\r\n\r\n"
            "R1.1・・・・・ピン番が重複しています。\r\nU1.1・・・・・ピン番が重複しています。\r\n\r\n");
  EXPECT_EQ(host.messages(),
            std::vector<std::string>{"ピン番の重複があります。処理終了後にエラー情報ボタンを押して確認してください。"});
}

TEST_F(Checks, SinglePinNetsInFileOrderEvenWithEmptyTexts) {
  writeBytes("net.tmp", "Z; 1: U9.1, \r\nTWO; 2: A.1, B.1, \r\nNONE; 0: \r\n; 1: , \r\nX; 1: U1.1, \r\n\r\n");
  EXPECT_EQ(run(mcheckn1),
            "**************行き先不明**************\r\n\r\n"
            "ネット名ZのU9.1ピンが行き先不明です。\r\n"
            "ネット名のピンが行き先不明です。\r\n"
            "ネット名XのU1.1ピンが行き先不明です。\r\n\r\n");
  EXPECT_EQ(host.messages().size(), 1u);
}

TEST_F(Checks, NoFindingsAppendNothingAndShowNothing) {
  writeBytes("net.tmp", "A; 2: U1.1, U2.1, \r\nB; 2: U1.2, U2.2, \r\n\r\n");
  writeBytes("parts.tmp", "A! B; U1: ? \r\nA! B; U2: ? \r\n\r\n");
  for (auto* check : {mchecknn, mcheckdp, mcheckdn, mcheckn1}) EXPECT_EQ(run(check), "");
  EXPECT_TRUE(host.events.empty());
}

TEST_F(Checks, CapacitiesOfTheCollectionLists) {
  std::string parts;
  for (int part = 0; part < 1001; ++part) parts += "A! B; R" + std::to_string(part) + ": ? \r\n";
  writeBytes("parts.tmp", parts + "\r\n");
  EXPECT_NO_THROW(run(mcheckdp));
  writeBytes("parts.tmp", parts + "A! B; X: ? \r\n\r\n");
  EXPECT_THROW(run(mcheckdp), CapacityError);

  std::string pins;
  for (int net = 0; net < 5; ++net) {
    pins += "N" + std::to_string(net) + "; 10000: ";
    for (int pin = 0; pin < 10000; ++pin) pins += "U" + std::to_string(net) + "." + std::to_string(pin) + ", ";
    pins += "\r\n";
  }
  writeBytes("net.tmp", pins + "L; 1: X.1, \r\n\r\n");
  EXPECT_NO_THROW(run(mcheckdn));
  writeBytes("net.tmp", pins + "L; 2: X.1, X.2, \r\n\r\n");
  EXPECT_THROW(run(mcheckdn), CapacityError);

  std::string nets;
  for (int net = 0; net < 20001; ++net) nets += "N" + std::to_string(net) + "; 0: \r\n";
  writeBytes("net.tmp", nets + "\r\n");
  EXPECT_NO_THROW(run(mchecknn));
  writeBytes("net.tmp", nets + "X; 0: \r\n\r\n");
  EXPECT_THROW(run(mchecknn), CapacityError);
}

// The checks from one reading of net.tmp give what the four give one after
// the other: the same sections and messages in the same order, and a list
// that overflows fails after the sections of the checks before it.
TEST_F(Checks, OneWalkAgreesWithTheChecksOneAfterTheOther) {
  std::string manyPins;
  for (int net = 0; net < 6; ++net) {
    manyPins += "P" + std::to_string(net) + "; 9000: ";
    for (int pin = 0; pin < 9000; ++pin) manyPins += "U" + std::to_string(net) + "." + std::to_string(pin) + ", ";
    manyPins += "\r\n";
  }
  const std::string findings = "GND; 2: U1.1, R1.1, \r\nGND; 1: U1.1, \r\nNet-(C1-Pad1); 1: C1.1, \r\n";
  for (const std::string& nets : {findings, findings + manyPins, std::string("A; 2: U1.1, U2.1, \r\n")}) {
    writeBytes("net.tmp", nets + "\r\n");
    writeBytes("parts.tmp", "SO8! LM358; U1: ? \r\nSO8! LM358; U1: ? \r\n\r\n");
    for (const auto& [duplicates, singlePins] : {std::pair{true, true}, {true, false}, {false, true}}) {
      auto runInTurn = [&](auto&& checks) {
        host.events.clear();
        Text log;
        bool failed = false;
        try {
          checks(log);
        } catch (const CapacityError&) {
          failed = true;
        }
        return std::tuple{toUtf8(log), host.messages(), failed};
      };
      const auto oneWalk = runInTurn([&](Text& log) { runChecks(context, duplicates, singlePins, log); });
      const auto inTurn = runInTurn([&](Text& log) {
        if (duplicates) {
          for (auto* check : {mchecknn, mcheckdp, mcheckdn}) check(context, log);
        }
        if (singlePins) mcheckn1(context, log);
      });
      EXPECT_EQ(oneWalk, inTurn) << nets.size() << duplicates << singlePins;
    }
  }
}

class PinChange : public testing::ScratchTest {
 protected:
  std::string change(const std::string& netFile, std::initializer_list<std::array<const char*, 3>> rows) {
    PinChangeTable table;
    int row = 0;
    for (const auto& fields : rows) {
      table[row] = text(fields[0]);
      table[10 + row] = text(fields[1]);
      table[20 + row] = text(fields[2]);
      ++row;
    }
    writeBytes("net.tmp", netFile);
    mchgpin(context, path("net.tmp"), table);
    return readBytes("net.tmp");
  }
};

TEST_F(PinChange, RenamesPinsOfEveryPartWithTheReferenceLetters) {
  EXPECT_EQ(change("A; 6: D1.1, D2.1, D15.1, D1.2, LED1.1, U1.1, \r\n\r\n", {{"D", "1", "ANODE"}}),
            "A; 6: D1.ANODE, D2.ANODE, D15.ANODE, D1.2, LED1.1, U1.1, \r\n\r\n");
  EXPECT_EQ(change("A; 3: LED1.1, LED22.1, D1.1, \r\n\r\n", {{"LED", "1", "K"}}),
            "A; 3: LED1.K, LED22.K, D1.1, \r\n\r\n");
}

TEST_F(PinChange, RebuildsTheReferenceWithItsLettersFirst) {
  EXPECT_EQ(change("A; 1: U1A.3, \r\n\r\n", {{"UA", "3", "X"}}), "A; 1: UA1.X, \r\n\r\n");
}

TEST_F(PinChange, PinNumberRunsToTheEndAndLaterRowsSeeEarlierChanges) {
  EXPECT_EQ(change("A; 2: R1.1.2, R1.1, \r\n\r\n", {{"R", "1.2", "5"}}), "A; 2: R1.5, R1.1, \r\n\r\n");
  EXPECT_EQ(change("A; 1: Q1.1, \r\n\r\n", {{"Q", "1", "A"}, {"Q", "A", "B"}}), "A; 1: Q1.B, \r\n\r\n");
}

TEST_F(PinChange, PinsWithoutDotAndLowerCaseLettersStay) {
  EXPECT_EQ(change("A; 2: D1, d1.1, \r\n\r\n", {{"D", "1", "X"}}), "A; 2: D1, d1.1, \r\n\r\n");
}

TEST_F(PinChange, EmptyTableRewritesCanonicallyAndDropsLinesAfterTheFirstEmptyOne) {
  EXPECT_EQ(change("A;  2:  U1.1 , U2.1, \r\nB; x: U3.1, \r\n\r\nC; 0: \r\n", {}),
            "A; 2: U1.1, U2.1, \r\nB; x: \r\n\r\n");
}

TEST_F(PinChange, OverflowLeavesTheFileAsItWas) {
  std::string net = "BIG; 19999: ";
  for (int pin = 0; pin < 19999; ++pin) net += "U" + std::to_string(pin) + ".1, ";
  const std::string original = "A; 1: U1.1, \r\n" + net + "\r\n\r\n";
  writeBytes("net.tmp", original);
  EXPECT_THROW(mchgpin(context, path("net.tmp"), PinChangeTable{}), CapacityError);
  EXPECT_EQ(readBytes("net.tmp"), original);
}

class PartsCsv : public testing::ScratchTest {};

TEST_F(PartsCsv, WritesHeaderEmptyLineAndOneLinePerPart) {
  writeBytes("parts.tmp", "DIP14! 74HC00; U1: ? \r\n! ; R1: ? \r\nA,B! C; Q1: EXTRA? \r\n\r\nX! Y; Z: ? \r\n");
  mprtcsv(context, path("parts.csv"));
  EXPECT_EQ(readCp932("parts.csv"),
            "部品名称,リファレンス番号,その他情報,\r\n\r\n74HC00,U1,DIP14,\r\n,R1,,\r\nC,Q1,A,B,EXTRA\r\n\r\n");
}

TEST_F(PartsCsv, EmptyPartsFileGivesHeaderAndTwoEmptyLines) {
  writeBytes("parts.tmp", "\r\n");
  mprtcsv(context, path("parts.csv"));
  EXPECT_EQ(readCp932("parts.csv"), "部品名称,リファレンス番号,その他情報,\r\n\r\n\r\n");
}

TEST_F(PartsCsv, UnwritablePathFailsAndLeavesNoFile) {
  writeBytes("parts.tmp", "\r\n");
  EXPECT_THROW(mprtcsv(context, path("no-such-dir/parts.csv")), FileError);
}

}  // namespace
}  // namespace korvanel
