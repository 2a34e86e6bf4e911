#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "tests/support/test_support.h"

namespace korvanel {
namespace {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string shellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char character : word) {
    if (character == '\'') {
      quoted += "'\\''";
    } else {
      quoted += character;
    }
  }
  return quoted + "'";
}

class Cli : public testing::ScratchTest {
 protected:
  // Runs korvanel-cli in the scratch directory.
  CliResult cli(const std::vector<std::string>& arguments) {
    std::string command = "cd " + shellQuoted(directory.string()) + " && " + shellQuoted(KORVANEL_CLI_PATH);
    for (const std::string& argument : arguments) command += " " + shellQuoted(argument);
    command += " >cli.out 2>cli.err </dev/null";
    const int raw = std::system(command.c_str());
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readBytes("cli.out");
    result.err = readBytes("cli.err");
    std::filesystem::remove(path("cli.out"));
    std::filesystem::remove(path("cli.err"));
    return result;
  }

  void writeSample() {
    writeBytes("in.tel", "$PACKAGES\r\nDIP14 ! 74LS00 ; U1 U1\r\n$NETS\r\nGND ; U1.7 U2.7\r\nNC ; U1.1\r\n$END\r\n");
  }
};

TEST_F(Cli, FormatsListsInputNamesThenOutputNamesInWindowOrder) {
  const CliResult result = cli({"formats"});
  EXPECT_EQ(result.status, 0);
  const std::size_t input = result.out.find("Input formats:\n  ACCEL\n  ALLEGRO\n  CADIX XID\n  CADLUS-PC(Reverse Net)\n");
  const std::size_t output = result.out.find("Output formats:\n  ACCEL\n  ALLEGRO\n  CADIX XID\n  CADVANCE\n");
  EXPECT_EQ(input, 0u) << result.out;
  EXPECT_NE(output, std::string::npos);
  EXPECT_NE(result.out.find("  MENTOR\n  MM-COLMO_NEO & MM2\n"), std::string::npos);  // input list
  EXPECT_NE(result.out.find("  MM-COLMO_NEO & MM2\n  MENTOR\n"), std::string::npos);  // output list
  EXPECT_TRUE(result.out.ends_with("  Telesis\n  WACOM SIMPLE NET\n  KiCad\n  tEDAx\n"));
  std::size_t names = 0;
  for (std::size_t at = result.out.find("\n  "); at != std::string::npos; at = result.out.find("\n  ", at + 1)) ++names;
  EXPECT_EQ(names, 29u + 26u);
}

TEST_F(Cli, VersionAndHelpExitZero) {
  const CliResult version = cli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("korvanel-cli 1."), std::string::npos) << version.out;
  EXPECT_EQ(cli({"--help"}).status, 0);
  EXPECT_EQ(cli({"convert", "--help"}).status, 0);
}

TEST_F(Cli, UsageErrorsExitTwo) {
  writeSample();
  const std::vector<std::vector<std::string>> usages = {
      {},
      {"unknown"},
      {"convert", "--to", "Telesis", "in.tel", "out.tel"},
      {"convert", "--from", "Telesis", "--to", "Telesis", "in.tel"},
      {"convert", "--from", "Telesis", "--to", "Telesis", "--bogus", "in.tel", "out.tel"},
      {"convert", "--from", "Telesis", "--to", "Telesis", "--pin-change", "D:1", "in.tel", "out.tel"},
      {"convert", "--from", "Telesis", "--to", "Telesis", "--pin-change", "D:1:A:B", "in.tel", "out.tel"},
      {"convert", "--from", "Telesis", "--to", "Telesis", "--parts-csv", "a.csv", "--output-parts", "b.prt",
       "in.tel", "out.tel"},
      {"convert", "--from", "Telesis", "--to", "Telesis", "--keep-intermediate", "in.tel", "out.tel"},
      {"convert", "--from", "Telesis", "--to", "Telesis", "--encoding", "latin1", "in.tel", "out.tel"},
      {"read", "--from", "Telesis", "in.tel"},
      {"write", "--to", "Telesis", "out.tel"},
  };
  for (const auto& arguments : usages) {
    const CliResult result = cli(arguments);
    EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments) << result.err;
    EXPECT_FALSE(result.err.empty());
  }
  std::vector<std::string> tooMany = {"convert", "--from", "Telesis", "--to", "Telesis"};
  for (int row = 0; row < 11; ++row) {
    tooMany.push_back("--pin-change");
    tooMany.push_back("D:1:A");
  }
  tooMany.push_back("in.tel");
  tooMany.push_back("out.tel");
  EXPECT_EQ(cli(tooMany).status, 2);
  EXPECT_FALSE(exists("out.tel"));
}

TEST_F(Cli, ConvertPrintsEachMessageOnALineAndWritesTheErrorLogHere) {
  writeSample();
  const CliResult result = cli({"convert", "--from", "Telesis", "--to", "ALLEGRO", "in.tel", "out.tel"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err,
            "部品の重複があります。処理終了後にエラー情報ボタンを押して確認してください。\n"
            "ネット名の行き先不明（１ネット）が有ります。処理終了後にエラー情報ボタンを押して確認してください。\n");
  EXPECT_EQ(readBytes("out.tel"),
            "$PACKAGES\r\nDIP14! 74LS00; U1\r\nDIP14! 74LS00; U1\r\n$NETS\r\n"
            "GND;                U1.7 U2.7\r\nNC;                 U1.1\r\n$END\r\n");
  EXPECT_TRUE(exists("errlog.txt"));
  EXPECT_FALSE(exists("net.tmp"));
  EXPECT_FALSE(exists("parts.tmp"));
}

TEST_F(Cli, ConvertOptionsMirrorTheWindowsFields) {
  writeSample();
  const CliResult result = cli({"convert", "--from", "Telesis", "--to", "Telesis", "--no-sort", "--no-duplicate-check",
                                "--no-single-pin-check", "--parts-csv", "parts.csv", "--pin-change", "u:7:gnd",
                                "--pin-change", "::", "in.tel", "out.tel"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_NE(readBytes("out.tel").find("GND;                U1.GND U2.GND\r\n"), std::string::npos);
  EXPECT_EQ(readCp932("parts.csv"), "部品名称,リファレンス番号,その他情報,\r\n\r\n74LS00,U1,DIP14,\r\n74LS00,U1,DIP14,\r\n\r\n");
  EXPECT_EQ(readCp932("errlog.txt"), "／／／／／／／／／エラー情報／／／／／／／／／\r\n\r\n");
}

TEST_F(Cli, RefusalsAndUnknownFormatsExitOneWithTheMessage) {
  writeSample();
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"convert", "--from", "Telesis", "--to", "Telesis", "", "out.tel"}, "変換するファイル名を指定してください。\n"},
      {{"convert", "--from", "", "--to", "Telesis", "in.tel", "out.tel"},
       "変換ファイルフォーマットを指定してください。\n"},
      {{"convert", "--from", "Telesis", "--to", "Telesis", "in.tel", "./in.tel"},
       "変換するネットと変換後のネットが同じです。変換後のネットネイムを変えてください。\n"},
      {{"convert", "--from", "Telesis", "--to", "Telesis", "--parts-csv", "", "in.tel", "out.tel"},
       "CSVのファイル名を指定してください。\n"},
      {{"convert", "--from", "CR5000(PC)", "--to", "Telesis", "in.tel", "out.tel"},
       "変換ファイルのネットフォーマットを指定して下さい。\n"},
      {{"read", "--from", "CR5000(PC)", "--work-dir", "w", "in.tel"}, "変換ファイルのネットフォーマットを指定して下さい。\n"},
      {{"write", "--to", "FUTURE", "--work-dir", "w", "out.tel"}, "変換ファイルのネットフォーマットを指定して下さい。\n"},
  };
  for (const Case& test : cases) {
    const CliResult result = cli(test.arguments);
    EXPECT_EQ(result.status, 1) << ::testing::PrintToString(test.arguments);
    EXPECT_EQ(result.err, test.message) << ::testing::PrintToString(test.arguments);
  }
  EXPECT_FALSE(exists("out.tel"));
}

TEST_F(Cli, InputOfAnotherFormatExitsOne) {
  writeBytes("in.txt", "just some text\n");
  const CliResult result = cli({"convert", "--from", "Telesis", "--to", "Telesis", "in.txt", "out.tel"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ネットフォーマットが一致しません。\n");
}

TEST_F(Cli, CapacityFailureExitsThree) {
  std::string input = "$PACKAGES\r\n$NETS\r\nBIG ;";
  for (int pin = 0; pin < 19999; ++pin) input += " U" + std::to_string(pin) + ".1";
  writeBytes("in.tel", input + "\r\n$END\r\n");
  const CliResult result = cli({"convert", "--from", "Telesis", "--to", "Telesis", "in.tel", "out.tel"});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err, "ネット数の許容量が越えました。\n");
}

TEST_F(Cli, OtherFailuresExitFourNamingTheFileAndCause) {
  const CliResult missing = cli({"convert", "--from", "Telesis", "--to", "Telesis", "absent.tel", "out.tel"});
  EXPECT_EQ(missing.status, 4);
  EXPECT_NE(missing.err.find("absent.tel"), std::string::npos) << missing.err;
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);

  writeBytes("bad.tel", "$PACKAGES\r\n\xFF\xFF\r\n");
  const CliResult invalid = cli({"convert", "--from", "Telesis", "--to", "Telesis", "bad.tel", "out.tel"});
  EXPECT_EQ(invalid.status, 4);
  EXPECT_NE(invalid.err.find("bad.tel: byte offset 11"), std::string::npos) << invalid.err;
  EXPECT_FALSE(exists("out.tel"));
}

TEST_F(Cli, WorkDirHoldsTheFilesOfTheRun) {
  writeSample();
  EXPECT_EQ(cli({"convert", "--from", "Telesis", "--to", "Telesis", "--work-dir", "w", "in.tel", "out.tel"}).status, 0);
  EXPECT_TRUE(exists("w/errlog.txt"));
  EXPECT_FALSE(exists("errlog.txt"));
  EXPECT_FALSE(exists("w/net.tmp"));

  EXPECT_EQ(cli({"convert", "--from", "Telesis", "--to", "Telesis", "--work-dir", "k", "--keep-intermediate",
                 "in.tel", "out.tel"})
                .status,
            0);
  EXPECT_EQ(readBytes("k/net.tmp"), "GND; 2: U1.7, U2.7, \r\nNC; 1: U1.1, \r\n\r\n");

  EXPECT_EQ(cli({"convert", "--from", "Telesis", "--to", "FUTURE", "--work-dir", "f", "in.tel", "out.tel"}).status, 1);
  EXPECT_TRUE(exists("f/net.tmp"));
  EXPECT_TRUE(exists("f/parts.tmp"));
}

TEST_F(Cli, ReadAndWriteRunOneModuleEach) {
  writeSample();
  const CliResult read = cli({"read", "--from", "ALLEGRO", "--work-dir", "w", "in.tel"});
  EXPECT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(readBytes("w/parts.tmp"), "DIP14! 74LS00; U1: ? \r\nDIP14! 74LS00; U1: ? \r\n\r\n");
  EXPECT_EQ(readBytes("w/net.tmp"), "GND; 2: U1.7, U2.7, \r\nNC; 1: U1.1, \r\n\r\n");

  const CliResult write = cli({"write", "--to", "Telesis", "--input-format", "PADSPCB", "--work-dir", "w", "out.tel"});
  EXPECT_EQ(write.status, 0) << write.err;
  EXPECT_EQ(readBytes("out.tel"),
            "$PACKAGES\r\nDIP14! 74LS00; U1\r\nDIP14! 74LS00; U1\r\n$NETS\r\n"
            "GND;                U1.7 U2.7\r\nNC;                 U1.1\r\n$END\r\n");

  writeBytes("other.txt", "no keywords\r\n");
  const CliResult bad = cli({"read", "--from", "Telesis", "--work-dir", "b", "other.txt"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "ネットフォーマットが一致しません。\n");
  EXPECT_EQ(readBytes("b/net.tmp"), "\r\nNO KEYWORDS\r\n");

  EXPECT_EQ(cli({"write", "--to", "Telesis", "--work-dir", "empty", "x.tel"}).status, 4);
}

TEST_F(Cli, Utf8EncodingReadsAndWritesUtf8) {
  writeBytes("in.tel", "$PACKAGES\nＤＩＰ ! 抵抗 ; R1\n$NETS\nélan ; R1.1 R1.2\n$END\n");
  const CliResult result =
      cli({"convert", "--from", "Telesis", "--to", "Telesis", "--encoding", "utf-8", "in.tel", "out.tel"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(readBytes("out.tel"), "$PACKAGES\r\nＤＩＰ! 抵抗; R1\r\n$NETS\r\nÉLAN;               R1.1 R1.2\r\n$END\r\n");
}

}  // namespace
}  // namespace korvanel
