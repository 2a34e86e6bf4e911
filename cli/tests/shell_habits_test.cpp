// korvanel-cli's habits as a shell tool: the closest names after a mistyped
// format name, and the progress bar that a large conversion shows on a
// terminal, and only there.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "cli/format_suggestions.h"
#include "cli/progress_bar.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel::cli {
namespace {

struct NameCase {
  const char* typed;
  bool outputList;
  std::vector<std::string> closest;
};

class ClosestNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ClosestNames, AreTheNamesWithinASmallSlip) {
  const NameCase& test = GetParam();
  const FormatTable& formats = builtinFormats();
  EXPECT_EQ(closestNames(test.typed, test.outputList ? formats.outputNames() : formats.inputNames()), test.closest);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, ClosestNames,
    ::testing::Values(NameCase{"telesis", false, {"Telesis"}}, NameCase{"PCAD(WRL)", true, {"Pcad(wrl)"}},
                      NameCase{"Telesys", false, {"Telesis"}}, NameCase{"ALEGRO", true, {"ALLEGRO"}},
                      NameCase{"SXF", false, {"SFX"}}, NameCase{"D2CAD", true, {"D2 CAD"}},
                      NameCase{"CR4000", true, {"CR2000", "CR3000", "CR5000"}},
                      NameCase{"PADS", false, {}}, NameCase{"Telesis", false, {}}, NameCase{"FUTURE", true, {}},
                      NameCase{"ネット", false, {}}));

TEST(DidYouMean, NamesOneTwoOrMoreNames) {
  EXPECT_EQ(didYouMean({}), "");
  EXPECT_EQ(didYouMean({"Telesis"}), "did you mean 'Telesis'?");
  EXPECT_EQ(didYouMean({"PADS2000", "PADSPCB"}), "did you mean 'PADS2000' or 'PADSPCB'?");
  EXPECT_EQ(didYouMean({"CR2000", "CR3000", "CR5000"}), "did you mean 'CR2000', 'CR3000' or 'CR5000'?");
}

TEST(ProgressBar, OnlyOnATerminalAndForAnInputAboveAFewMegabytes) {
  EXPECT_TRUE(wantsProgressBar(true, kProgressBarSmallestInput + 1));
  EXPECT_FALSE(wantsProgressBar(true, kProgressBarSmallestInput));
  EXPECT_FALSE(wantsProgressBar(false, 1u << 30));
}

TEST(ProgressBar, RedrawsOneLineAndLeavesItForAMessage) {
  std::ostringstream out;
  TerminalProgressBar bar(out);
  bar.show();  // not switched on: nothing
  EXPECT_EQ(out.str(), "");
  bar.switchOn();
  bar.show();
  bar.setValue(10);
  bar.setStatus("変換処理中");
  bar.interrupt();
  out << "message\n";
  bar.resume();
  bar.setValue(100);
  bar.finish();
  bar.hide();  // the finished bar stays
  const std::string empty(30, '.'), three = "###" + std::string(27, '.'), full(30, '#');
  EXPECT_EQ(out.str(), "\r[" + empty + "]   0% \x1b[K\r[" + three + "]  10% \x1b[K\r[" + three +
                           "]  10% 変換処理中\x1b[K\r\x1b[Kmessage\n\r[" + three + "]  10% 変換処理中\x1b[K\r[" +
                           full + "] 100% 変換処理中\x1b[K\r[" + full + "] 100% 変換処理中\x1b[K\n");
}

// korvanel-cli run in the scratch directory, standard error read back.
class ShellHabits : public testing::ScratchTest {
 protected:
  int run(const std::string& arguments, std::string& errors) {
    const std::string command = "cd '" + directory.string() + "' && '" KORVANEL_CLI_PATH "' " + arguments +
                                " >cli.out 2>cli.err </dev/null";
    const int status = std::system(command.c_str());
    errors = readBytes("cli.err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // A Telesis netlist above the bar's threshold: 12,000 nets of 40 pins.
  void writeLargeInput() {
    std::string netlist = "$PACKAGES\r\n0603 ! 10K ; R1\r\n$NETS\r\n";
    for (int net = 1; net <= 12000; ++net) {
      netlist += "NET" + std::to_string(net) + " ;";
      for (int pin = 0; pin < 40; ++pin) netlist += " R" + std::to_string(net % 900 + 1) + "." + std::to_string(net * 50 + pin);
      netlist += "\r\n";
    }
    writeBytes("large.tel", netlist + "$END\r\n");
    ASSERT_GT(netlist.size(), kProgressBarSmallestInput);
  }
};

TEST_F(ShellHabits, AMistypedFormatNameGetsTheDriversMessageThenTheClosestNames) {
  writeBytes("in.tel", "$NETS\r\nGND ; U1.7 U2.7\r\n$END\r\n");
  std::string errors;
  EXPECT_EQ(run("convert --from telesis --to ALLEGRO in.tel out.all", errors), 1);
  EXPECT_EQ(errors, "変換ファイルのネットフォーマットを指定して下さい。\ndid you mean 'Telesis'?\n");
  EXPECT_EQ(run("write --to alegro --work-dir . out.all", errors), 1);
  EXPECT_EQ(errors, "変換ファイルのネットフォーマットを指定して下さい。\ndid you mean 'ALLEGRO'?\n");
  EXPECT_EQ(run("read --from 'no such format' --work-dir . in.tel", errors), 1);
  EXPECT_EQ(errors, "変換ファイルのネットフォーマットを指定して下さい。\n");
}

TEST_F(ShellHabits, ALargeConversionShowsItsBarOnATerminalOnly) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1) to give a terminal";
  writeLargeInput();
  const std::string convert = "convert --from Telesis --to ALLEGRO --no-sort --no-duplicate-check "
                              "--no-single-pin-check large.tel large.all";
  std::string errors;
  ASSERT_EQ(run(convert, errors), 0);
  EXPECT_EQ(errors, "");
  // script(1) runs korvanel-cli on a terminal and copies what it shows.
  const std::string onTerminal = "cd '" + directory.string() + "' && script -qec \"'" KORVANEL_CLI_PATH "' " +
                                 convert + "\" /dev/null >terminal.txt </dev/null";
  ASSERT_EQ(std::system(onTerminal.c_str()), 0);
  const std::string shown = readBytes("terminal.txt");
  EXPECT_NE(shown.find("\r[" + std::string(30, '#') + "] 100% 終了しました。"), std::string::npos) << shown;
}

}  // namespace
}  // namespace korvanel::cli
