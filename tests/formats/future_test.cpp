#include "formats/future.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

const std::string kBoard =
    "FUTURE NETLIST,1\r\nPINLIST,2\r\n"
    "(SYM,1,0,0\r\nDATA,2,U1\r\nDATA,3,74HC00\r\nDATA,4,DIP14\r\n"
    "PIN,1,GND,0,0,0,7\r\nPIN,2,VCC,0,0,0,14\r\n)\r\n"
    "(SYM,2,0,0\r\nDATA,2,C1\r\nDATA,3,C100N\r\nDATA,4,C1608\r\n"
    "PIN,1,VCC,0,0,0,1\r\nPIN,2,GND,0,0,0,2\r\n)\r\n";
const std::string kBoardParts = "DIP14! 74HC00; U1: ? \r\nC1608! C100N; C1: ? \r\n\r\n";
const std::string kBoardNets = "GND; 2: U1.7, C1.2, \r\nVCC; 2: U1.14, C1.1, \r\n\r\n";

class FutureTest : public testing::ScratchTest {
 protected:
  // Reads `input` (UTF-8, stored as cp932) and returns the status.
  std::string read(const std::string& input) {
    writeCp932("input.fut", input);
    Text status;
    mnfutin(context, path("input.fut"), status);
    return toUtf8(status);
  }
};

TEST_F(FutureTest, ReadsPartsAndNetsWhateverTheLineEnds) {
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    std::string input = kBoard;
    for (std::size_t at = input.find("\r\n"); at != std::string::npos; at = input.find("\r\n", at + lineEnd.size())) {
      input.replace(at, 2, lineEnd);
    }
    ASSERT_EQ(read(input), "good") << ::testing::PrintToString(lineEnd);
    EXPECT_EQ(readCp932("parts.tmp"), kBoardParts);
    EXPECT_EQ(readCp932("net.tmp"), kBoardNets);
    EXPECT_TRUE(host.events.empty());
  }
}

struct ReadCase {
  const char* name;
  std::string symbols;  // LF line ends, as real schematic tools write them
  std::string parts;
  std::string nets;
};

class FutureReading : public FutureTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(FutureReading, GivesItsPartsAndNets) {
  ASSERT_EQ(read("PINLIST,2\n" + GetParam().symbols), "good");
  EXPECT_EQ(readCp932("parts.tmp"), GetParam().parts + "\r\n");
  EXPECT_EQ(readCp932("net.tmp"), GetParam().nets + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FutureReading,
    ::testing::Values(
        ReadCase{"BusNetKeepsItsPinAndTheLaterOnes",
                 "(SYM,1\nDATA,2,U1\nDATA,3,RAM\nDATA,4,SOP\nPIN,1,D(0),0,0,0,1\nPIN,2,D(1),0,0,0,2\n)\n",
                 "SOP! RAM; U1: ? \r\n", "D(0); 1: U1.1, \r\nD(1); 1: U1.2, \r\n"},
        ReadCase{"EverySymbolStartsWithoutReferenceOrPackage",
                 "(SYM,1\nDATA,2,U1\nDATA,3,A\nDATA,4,P1\n)\n(SYM,2\nDATA,3,B\nPIN,1,N,0,0,0,5\n)\n",
                 "P1! A; U1: ? \r\n! B; : ? \r\n", "N; 1: 5, \r\n"},
        ReadCase{"PartCarriesItsOwnPackageInAnyOrder",
                 "(SYM,1\nDATA,4,SO8\nDATA,3,LM358\nDATA,2,U1\nPIN,1,N,0,0,0,1\n)\n"
                 "(SYM,2\nDATA,3,R\nDATA,2,R1\nDATA,4,R0603\n)\n",
                 "SO8! LM358; U1: ? \r\nR0603! R; R1: ? \r\n", "N; 1: U1.1, \r\n"},
        ReadCase{"NetOverSymbolsInFileOrder",
                 "(SYM,1\nDATA,2,U1\nPIN,1,B,0,0,0,1\nPIN,2,A,0,0,0,2\n)\n(SYM,2\nDATA,2,U2\nPIN,1,A,0,0,0,1\n)\n", "",
                 "B; 1: U1.1, \r\nA; 2: U1.2, U2.1, \r\n"},
        ReadCase{"SevenFieldsMakeAPin", "(SYM,1\nDATA,2,U1\nPIN,1,N,0,0,0\nPIN,2,N,0,0,0,2,9,9\n)\n", "",
                 "N; 1: U1.2, \r\n"},
        ReadCase{"PinsWithoutNetOrNumberAreLeftOut",
                 "(SYM,1\nDATA,2,U1\nPIN,1,,0,0,0,1\nPIN,2,N,0,0,0,\nPIN,3,N,0,0,0,3\n)\n", "", "N; 1: U1.3, \r\n"},
        ReadCase{"RecordsOutsideSymbolsAreIgnored",
                 "PIN,1,N,0,0,0,1\n(SYM,1\nDATA,2,U1\nPIN,1,N,0,0,0,2\n  )\t\nPIN,1,N,0,0,0,3\nDATA,3,X\n", "",
                 "N; 1: U1.2, \r\n"},
        ReadCase{"OpenSymbolEndsAtTheNextOrAtTheEnd",
                 "(SYM,1\nDATA,2,U1\nDATA,3,X\nPIN,1,A,0,0,0,1\n(SYM,2\nDATA,2,U2\nDATA,3,Y\nPIN,1,A,0,0,0,1",
                 "! X; U1: ? \r\n! Y; U2: ? \r\n", "A; 2: U1.1, U2.1, \r\n"},
        ReadCase{"UpperCasedWithoutBlanksAndCaseOnlyNamesMeet",
                 "(sym,1\ndata, 2, u 1\ndata,3,74hc 00\npin,1, vcc\t3v3 ,0,0,0, 7\nPIN,2,VCC3V3,0,0,0,8\n)\n",
                 "! 74HC00; U1: ? \r\n", "VCC3V3; 2: U1.7, U1.8, \r\n"},
        ReadCase{"RealBoardNames",
                 "(SYM,1\nDATA,2,TA-101\nDATA,3,抵抗\nDATA,4,Resistor_SMD\nPIN,1,Net-(C1-Pad1),0,0,0,1\n"
                 "PIN,2,/VPP{slash}MCLR,0,0,0,2\nPIN,3,unconnected-(U1-Pad5),0,0,0,3\n)\n",
                 "RESISTOR_SMD! 抵抗; TA-101: ? \r\n",
                 "NET-(C1-PAD1); 1: TA-101.1, \r\n/VPP{SLASH}MCLR; 1: TA-101.2, \r\n"
                 "UNCONNECTED-(U1-PAD5); 1: TA-101.3, \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FutureTest, SymbolsBeforeThePinListGivePinsButNoParts) {
  ASSERT_EQ(read("(SYM,1\nDATA,2,U1\nDATA,3,X\nPIN,1,A,0,0,0,1\n)\nPINLIST,2\n"), "good");
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "A; 1: U1.1, \r\n\r\n");
}

class FutureBad : public FutureTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(FutureBad, InputWithoutThePinListLineIsBad) {
  writeBytes("net.tmp", "old nets");
  EXPECT_EQ(read(GetParam() + "\r\n(SYM,1\r\nDATA,2,U1\r\nDATA,3,X\r\nPIN,1,A,0,0,0,1\r\n)\r\n"), "bad");
  EXPECT_EQ(host.events, std::vector<std::string>{"hide"});
  EXPECT_EQ(readBytes("parts.tmp"), "\r\n");
  EXPECT_EQ(readBytes("net.tmp"), "old nets");
}

INSTANTIATE_TEST_SUITE_P(Failures, FutureBad, ::testing::Values("", "pinlist,2", "PINLIST,2 ", "PINLIST, 2"));

// One symbol U1 with a PIN record for each of `netOfPin` (net names).
std::string symbolWithPins(int pins, const std::function<std::string(int)>& netOfPin) {
  std::string input = "PINLIST,2\n(SYM,1\nDATA,2,U1\n";
  for (int pin = 1; pin <= pins; ++pin) input += "PIN,1," + netOfPin(pin) + ",0,0,0," + std::to_string(pin) + "\n";
  return input + ")\n";
}

TEST_F(FutureTest, CapacityOfPinsNetsAndPinRecords) {
  const auto oneNet = [](int) { return std::string("GND"); };
  const auto ownNet = [](int pin) { return "N" + std::to_string(pin); };
  const auto twoNets = [](int pin) { return std::string(pin % 2 ? "A" : "B"); };
  ASSERT_EQ(read(symbolWithPins(19999, oneNet)), "good");
  EXPECT_EQ(readBytes("net.tmp").substr(0, 24), "GND; 19999: U1.1, U1.2, ");
  EXPECT_THROW(read(symbolWithPins(20000, oneNet)), CapacityError);
  EXPECT_EQ(read(symbolWithPins(20000, ownNet)), "good");
  EXPECT_THROW(read(symbolWithPins(20001, ownNet)), CapacityError);
  EXPECT_EQ(read(symbolWithPins(20001, twoNets)), "good");
  EXPECT_THROW(read(symbolWithPins(20002, twoNets)), CapacityError);
}

}  // namespace
}  // namespace korvanel
