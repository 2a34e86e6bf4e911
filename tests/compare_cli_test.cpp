// korvanel-cli compare, detect and the format name auto: what they print and
// their exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "tests/support/test_support.h"

namespace korvanel {
namespace {

const std::string kBoard = std::string(KORVANEL_EXAMPLES_DIR) + "/board.tel";

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CompareCli : public testing::ScratchTest {
 protected:
  // Runs korvanel-cli in the scratch directory.
  CliResult cli(const std::vector<std::string>& arguments) {
    const auto quoted = [](const std::string& word) {
      std::string result = "'";
      for (const char character : word) result += character == '\'' ? std::string("'\\''") : std::string(1, character);
      return result + "'";
    };
    std::string command = "cd " + quoted(directory.string()) + " && " + quoted(KORVANEL_CLI_PATH);
    for (const std::string& argument : arguments) command += " " + quoted(argument);
    command += " >cli.out 2>cli.err </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes("cli.out"), readBytes("cli.err")};
  }

  void SetUp() override {
    writeBytes("board.tel", testing::readFileBytes(kBoard));
    // The board with one net renamed.
    std::string edited = testing::readFileBytes(kBoard);
    edited.replace(edited.find("QH_CHAIN"), 8, "SERIAL_CHAIN");
    writeBytes("edited.tel", edited);
    writeBytes("pads.net", "*PART*\r\nU1 74HC04\r\n*NET*\r\n*SIGNAL* GND\r\nU1.7 U2.7\r\n*END*\r\n");
    writeBytes("text.txt", "hello\r\n");
    ASSERT_EQ(cli({"convert", "--from", "Telesis", "--to", "ACCEL", "board.tel", "board.acc"}).status, 0);
  }
};

struct CliCase {
  const char* name;
  std::vector<std::string> arguments;
  int status;
  std::string out;  // the start of standard output
  std::string err;  // a part of standard error
};

class CompareCliCases : public CompareCli, public ::testing::WithParamInterface<CliCase> {};

TEST_P(CompareCliCases, PrintAndExitAsDocumented) {
  const CliResult result = cli(GetParam().arguments);
  EXPECT_EQ(result.status, GetParam().status) << result.err;
  EXPECT_EQ(result.out.substr(0, GetParam().out.size()), GetParam().out);
  EXPECT_NE(result.err.find(GetParam().err), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CompareCliCases,
    ::testing::Values(
        CliCase{"DetectPrintsTheBestModuleFirst", {"detect", "board.tel"}, 0, "ALLEGRO / Telesis\n", ""},
        CliCase{"DetectShowsFits", {"detect", "--fits", "board.acc"}, 0, "ACCEL\theader\n", ""},
        CliCase{"DetectFindsNothing", {"detect", "text.txt"}, 1, "", "no format's reader accepts this file"},
        CliCase{"DetectCannotRead", {"detect", "missing.net"}, 4, "", "missing.net"},
        CliCase{"ConvertFromAuto",
                {"convert", "--from", "auto", "--to", "ALLEGRO", "board.acc", "out.tel"},
                0,
                "",
                "board.acc: read as ACCEL (header of ACCEL)"},
        CliCase{"AutoStopsWhenTwoFitEqually",
                {"convert", "--from", "auto", "--to", "ACCEL", "pads.net", "out.acc"},
                2,
                "",
                "these formats fit equally well: PADS2000, PADSPCB"},
        CliCase{"Equivalent",
                {"compare", "--format-a", "Telesis", "--format-b", "auto", "board.tel", "board.acc"},
                0,
                "The netlists are equivalent: 29 nets and 35 parts.\n",
                "read as ACCEL"},
        CliCase{"Different",
                {"compare", "--format-a", "Telesis", "--format-b", "Telesis", "board.tel", "edited.tel"},
                1,
                "Renamed nets (1):\n  QH_CHAIN -> SERIAL_CHAIN: U3.9 U4.14\n",
                ""},
        CliCase{"NotInItsFormat",
                {"compare", "--format-a", "ACCEL", "--format-b", "Telesis", "board.tel", "board.tel"},
                1,
                "",
                "ネットフォーマットが一致しません。"},
        CliCase{"UnknownFormatName",
                {"compare", "--format-a", "Telesys", "--format-b", "Telesis", "board.tel", "board.tel"},
                2,
                "",
                "変換ファイルのネットフォーマットを指定して下さい。"},
        CliCase{"FormatMissing", {"compare", "--format-a", "Telesis", "board.tel", "board.tel"}, 2, "", "--format-b"},
        CliCase{"FileMissing",
                {"compare", "--format-a", "Telesis", "--format-b", "Telesis", "board.tel", "none.tel"},
                4,
                "",
                "none.tel"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CompareCli, JsonHoldsTheReportsContent) {
  const CliResult result =
      cli({"compare", "--json", "--format-a", "Telesis", "--format-b", "Telesis", "board.tel", "edited.tel"});
  EXPECT_EQ(result.status, 1);
  const nlohmann::json document = nlohmann::json::parse(result.out);
  EXPECT_FALSE(document["equivalent"].get<bool>());
  EXPECT_EQ(document["renamed_nets"],
            nlohmann::json::parse(R"([{"name_a": "QH_CHAIN", "name_b": "SERIAL_CHAIN", "pins": ["U3.9", "U4.14"]}])"));
  EXPECT_EQ(document["nets_in_both"], 29);
  EXPECT_TRUE(document["moved_pins"].empty() && document["changed_parts"].empty());
  EXPECT_EQ(document["b"]["file"], "edited.tel");
}

}  // namespace
}  // namespace korvanel
