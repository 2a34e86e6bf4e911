#include <gtest/gtest.h>

#include "core/driver.h"
#include "core/errors.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

constexpr const char* kSample =
    "$PACKAGES\r\nDIP14 ! 74LS00 ; U1 U1\r\n$NETS\r\nVCC ; U2.14 U1.14\r\nGND ; U1.7 U1.7\r\nGND ; U3.1\r\n$END\r\n";

class Driver : public testing::ScratchTest {
 protected:
  Driver() {
    fields.inputPath = text(path("in.tel").string());
    fields.outputPath = text(path("out.tel").string());
    fields.inputFormat = u"Telesis";
    fields.outputFormat = u"ALLEGRO";
    settings.workDir = directory;
    settings.errlogDir = directory;
    writeBytes("in.tel", kSample);
  }

  RunResult run() { return runConversion(fields, host, settings, builtinFormats()); }

  ConversionFields fields;
  RunSettings settings;
};

TEST_F(Driver, ConvertsWithChecksSortAndReportsEachStepInOrder) {
  const RunResult result = run();
  EXPECT_EQ(result.outcome, RunOutcome::Finished);
  EXPECT_EQ(host.events, (std::vector<std::string>{
                             "show", "value: 0", "status: ネット変換処理中",
                             "message: ネット名の重複が有り処理が正常に行われません。処理終了後にエラー情報ボタンを押して確認してください。",
                             "message: 部品の重複があります。処理終了後にエラー情報ボタンを押して確認してください。",
                             "message: ピン番の重複があります。処理終了後にエラー情報ボタンを押して確認してください。",
                             "message: ネット名の行き先不明（１ネット）が有ります。処理終了後にエラー情報ボタンを押して確認してください。",
                             "value: 10", "status: 変換処理中", "value: 100", "status: 終了しました。", "ok"}));
  EXPECT_EQ(readCp932("errlog.txt"),
            "／／／／／／／／／エラー情報／／／／／／／／／\r\n"
            "**************ネット名重複情報**************\r\n\r\nGND・・・・・ネット名が重複しています。\r\n\r\n"
            "**************部品重複情報**************\r\n\r\nU1・・・・・部品が重複しています。\r\n\r\n"
            "*************ピン番重複情報*************\r\n\r\nU1.7・・・・・ピン番が重複しています。\r\n\r\n"
            "**************行き先不明**************\r\n\r\nネット名GNDのU3.1ピンが行き先不明です。\r\n\r\n\r\n");
  EXPECT_EQ(readBytes("out.tel"),
            "$PACKAGES\r\nDIP14! 74LS00; U1\r\nDIP14! 74LS00; U1\r\n$NETS\r\n"
            "GND;                U3.1\r\nGND;                U1.7 U1.7\r\nVCC;                U1.14 U2.14\r\n$END\r\n");
  EXPECT_FALSE(exists("net.tmp"));
  EXPECT_FALSE(exists("parts.tmp"));
}

TEST_F(Driver, WithoutSortTheReaderOrderStays) {
  fields.sortNets = false;
  fields.duplicateChecks = false;
  fields.singlePinCheck = false;
  EXPECT_EQ(run().outcome, RunOutcome::Finished);
  EXPECT_EQ(readBytes("out.tel"),
            "$PACKAGES\r\nDIP14! 74LS00; U1\r\nDIP14! 74LS00; U1\r\n$NETS\r\n"
            "VCC;                U2.14 U1.14\r\nGND;                U1.7 U1.7\r\nGND;                U3.1\r\n$END\r\n");
  EXPECT_EQ(readCp932("errlog.txt"), "／／／／／／／／／エラー情報／／／／／／／／／\r\n\r\n");
  EXPECT_TRUE(host.messages().empty());
}

constexpr const char16_t* kTwoFile = u"MM-COLMO_NEO & MM2";

struct RefusalCase {
  const char* name;
  void (*change)(ConversionFields&);
  const char* message;
};

class DriverRefusals : public Driver, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(DriverRefusals, StopAtTheFirstMissingEntryBeforeAnythingRuns) {
  GetParam().change(fields);
  EXPECT_EQ(run().outcome, RunOutcome::Refused);
  EXPECT_EQ(host.events, std::vector<std::string>{std::string("message: ") + GetParam().message});
  EXPECT_FALSE(exists("errlog.txt"));
  EXPECT_FALSE(exists("out.tel"));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DriverRefusals,
    ::testing::Values(
        RefusalCase{"EverythingEmpty", [](ConversionFields& f) { f = ConversionFields{}; f.partsCsv = true; },
                    "変換するファイル名を指定してください。"},
        RefusalCase{"NoOutput", [](ConversionFields& f) { f.outputPath.clear(); f.inputFormat.clear(); },
                    "変換後ファイル名を指定してください。"},
        RefusalCase{"NoInputFormat", [](ConversionFields& f) { f.inputFormat.clear(); f.outputFormat.clear(); },
                    "変換ファイルフォーマットを指定してください。"},
        RefusalCase{"NoOutputFormat", [](ConversionFields& f) { f.outputFormat.clear(); },
                    "変換後ファイルフォーマットを指定してください。"},
        RefusalCase{"SameText", [](ConversionFields& f) { f.outputPath = f.inputPath; f.partsCsv = true; },
                    "変換するネットと変換後のネットが同じです。変換後のネットネイムを変えてください。"},
        RefusalCase{"SameFileThroughAnotherPath",
                    [](ConversionFields& f) {
                      const auto input = toPath(f.inputPath);
                      f.outputPath = text((input.parent_path() / "." / input.filename()).string());
                    },
                    "変換するネットと変換後のネットが同じです。変換後のネットネイムを変えてください。"},
        RefusalCase{"CsvWithoutFileName", [](ConversionFields& f) { f.partsCsv = true; },
                    "CSVのファイル名を指定してください。"},
        RefusalCase{"TwoFileOutputWithoutPartsFile", [](ConversionFields& f) { f.outputFormat = kTwoFile; },
                    "部品ファイル名を指定してください。"},
        RefusalCase{"TwoFileOutputWithTheCsvInTheSameField",
                    [](ConversionFields& f) {
                      f.outputFormat = kTwoFile;
                      f.partsCsv = true;
                      f.csvOrOutputParts = u"parts.prt";
                    },
                    "部品リスト(CSV)と部品ファイルが同じファイルになります。部品リスト(CSV)のチェックを外してください。"},
        RefusalCase{"CsvOverTheInput",
                    [](ConversionFields& f) {
                      f.partsCsv = true;
                      f.csvOrOutputParts = f.inputPath;
                    },
                    "部品ファイル（CSV）が入力ファイルまたは出力ファイルと同じです。ファイル名を変えてください。"},
        RefusalCase{"CsvOverTheOutput",
                    [](ConversionFields& f) {
                      f.partsCsv = true;
                      f.csvOrOutputParts = f.outputPath;
                    },
                    "部品ファイル（CSV）が入力ファイルまたは出力ファイルと同じです。ファイル名を変えてください。"},
        RefusalCase{"OutputPartsOverTheInputParts",
                    [](ConversionFields& f) {
                      f.inputFormat = f.outputFormat = kTwoFile;
                      f.inputPartsFile = f.csvOrOutputParts = u"parts.prt";
                    },
                    "部品ファイル（CSV）が入力ファイルまたは出力ファイルと同じです。ファイル名を変えてください。"},
        RefusalCase{"OutputOverTheInputParts",
                    [](ConversionFields& f) {
                      f.inputFormat = kTwoFile;
                      f.inputPartsFile = f.outputPath;
                    },
                    "変換するネットと変換後のネットが同じです。変換後のネットネイムを変えてください。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Driver, SameFileThroughALinkIsRefused) {
  std::filesystem::create_symlink(path("in.tel"), path("link.tel"));
  fields.outputPath = text(path("link.tel").string());
  EXPECT_EQ(run().outcome, RunOutcome::Refused);
  EXPECT_EQ(readBytes("in.tel"), kSample);
}

TEST_F(Driver, EmptyCsvNameIsFineWhenTheCsvIsOff) {
  fields.partsCsv = false;
  fields.csvOrOutputParts.clear();
  EXPECT_EQ(run().outcome, RunOutcome::Finished);
}

TEST_F(Driver, WritesThePartsCsvWhenAsked) {
  fields.partsCsv = true;
  fields.csvOrOutputParts = text(path("parts.csv").string());
  EXPECT_EQ(run().outcome, RunOutcome::Finished);
  EXPECT_EQ(readCp932("parts.csv"), "部品名称,リファレンス番号,その他情報,\r\n\r\n74LS00,U1,DIP14,\r\n74LS00,U1,DIP14,\r\n\r\n");
}

TEST_F(Driver, PinTableIsUpperCasedBeforeTheChange) {
  fields.pinChangeBoxes[0] = u"u";
  fields.pinChangeBoxes[10] = u"14";
  fields.pinChangeBoxes[20] = u"vcc";
  fields.sortNets = false;
  EXPECT_EQ(run().outcome, RunOutcome::Finished);
  EXPECT_NE(readBytes("out.tel").find("VCC;                U2.VCC U1.VCC\r\n"), std::string::npos);
}

TEST_F(Driver, OutputFormatWithoutWriterRunsEverythingElseAndKeepsTheIntermediateFiles) {
  fields.outputFormat = u"FUTURE";
  EXPECT_EQ(run().outcome, RunOutcome::NoModule);
  const std::vector<std::string> tail(host.events.end() - 2, host.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"message: 変換ファイルのネットフォーマットを指定して下さい。", "hide"}));
  EXPECT_TRUE(exists("errlog.txt"));
  EXPECT_TRUE(exists("net.tmp"));
  EXPECT_TRUE(exists("parts.tmp"));
  EXPECT_FALSE(exists("out.tel"));
}

TEST_F(Driver, InputFormatWithoutReaderOrTypedWrongIsRefusedAfterTheProgressShows) {
  for (const Text name : {u"CR5000(PC)", u"telesis", u"Telesis "}) {
    host.events.clear();
    fields.inputFormat = name;
    EXPECT_EQ(run().outcome, RunOutcome::NoModule);
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"show", "value: 0", "status: ネット変換処理中",
                                        "message: 変換ファイルのネットフォーマットを指定して下さい。", "hide"}));
  }
  EXPECT_FALSE(exists("errlog.txt"));
}

TEST_F(Driver, ReaderThatDoesNotRecogniseItsInputLeavesTheErrorLogOfTheLastRun) {
  writeBytes("errlog.txt", "previous run");
  writeBytes("in.tel", "not a netlist\r\n");
  EXPECT_EQ(run().outcome, RunOutcome::FormatMismatch);
  EXPECT_EQ(host.events, (std::vector<std::string>{"show", "value: 0", "status: ネット変換処理中", "hide", "hide",
                                                   "message: ネットフォーマットが一致しません。"}));
  EXPECT_EQ(readBytes("errlog.txt"), "previous run");
}

TEST_F(Driver, NetBeyondTheCapacityHidesTheProgressAndSaysSo) {
  std::string input = "$PACKAGES\r\n$NETS\r\nBIG ;";
  for (int pin = 0; pin < 19999; ++pin) input += " U" + std::to_string(pin) + ".1";
  writeBytes("in.tel", input + "\r\n$END\r\n");
  EXPECT_EQ(run().outcome, RunOutcome::CapacityExceeded);
  const std::vector<std::string> tail(host.events.end() - 2, host.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"hide", "message: ネット数の許容量が越えました。"}));
  EXPECT_TRUE(exists("net.tmp"));
  EXPECT_FALSE(exists("out.tel"));
}

TEST_F(Driver, OtherFailuresEndSilentlyButNameTheFile) {
  fields.inputPath = text(path("absent.tel").string());
  const RunResult result = run();
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  EXPECT_NE(result.failure.find("absent.tel"), std::string::npos) << result.failure;
  EXPECT_TRUE(host.messages().empty());
  EXPECT_EQ(host.events.back(), "status: ネット変換処理中");
}

TEST_F(Driver, OutputThatCannotBeWrittenFailsWithoutTouchingThePreviousFile) {
  writeBytes("out.tel", "previous output");
  settings.encoding = Encoding::Utf8;
  writeBytes("in.tel", "$PACKAGES\n$NETS\nÉ ; U1.1 U2.1\n$END\n");
  fields.outputPath = text(path("missing-dir/out.tel").string());
  EXPECT_EQ(run().outcome, RunOutcome::Failed);
  EXPECT_EQ(readBytes("out.tel"), "previous output");
}

void throwingReader(const ConversionContext&, const ReaderArguments&, Text&) { throw std::out_of_range("substr"); }

TEST_F(Driver, AFaultInsideAModuleEndsTheRunAsAFailure) {
  const FormatTable faulty({{u"X", throwingReader, nullptr}}, {u"X"}, {});
  fields.inputFormat = u"X";
  const RunResult result = runConversion(fields, host, settings, faulty);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  EXPECT_EQ(result.failure, "internal error: substr");
}

TEST_F(Driver, NamesTheOutputFormatCannotCarryAreRenamedAndReportedOnceAfterTheChecks) {
  writeBytes("in.tel", "$PACKAGES\r\nDIP14 ! 74LS00 ; TA-101\r\n$NETS\r\nNET-(C1-PAD1) ; TA-101.1 U1.1\r\n"
                       "NET-(C2-PAD1) ; U1.2\r\n$END\r\n");
  fields.outputFormat = u"MENTOR";
  fields.outputPath = text(path("out.net").string());
  fields.duplicateChecks = false;
  EXPECT_EQ(run().outcome, RunOutcome::Finished);
  const std::vector<std::string> messages = host.messages();
  EXPECT_EQ(messages, (std::vector<std::string>{
                          "ネット名の行き先不明（１ネット）が有ります。処理終了後にエラー情報ボタンを押して確認してください。",
                          "出力フォーマットで表せない名前が有ります。処理終了後にエラー情報ボタンを押して確認してください。"}));
  EXPECT_EQ(readCp932("errlog.txt"),
            "／／／／／／／／／エラー情報／／／／／／／／／\r\n"
            "**************行き先不明**************\r\n\r\nネット名NET-(C2-PAD1)のU1.2ピンが行き先不明です。\r\n\r\n"
            "**************名前変更情報**************\r\n\r\n"
            "ネット名NET-(C1-PAD1)をNET-_C1-PAD1_に変更しました。\r\n"
            "ネット名NET-(C2-PAD1)をNET-_C2-PAD1_に変更しました。\r\n"
            "リファレンスTA-101は変換後のネットフォーマットで正しく表せません。\r\n\r\n\r\n");
  EXPECT_NE(readBytes("out.net").find("NET 'NET-_C1-PAD1_' TA-101-1 U1-1\r\n"), std::string::npos);
}

TEST_F(Driver, PartFieldsTheReaderHadToChangeAreReportedWithTheWritersRenamesUnderOneMessage) {
  writeBytes("in.pro", "[\r\nR1\r\nResistor_SMD:R_0805\r\n10k\r\n\r\n]\r\n(\r\nNet-(R1-Pad1)\r\nR1-1\r\n)\r\n");
  fields.inputPath = text(path("in.pro").string());
  fields.inputFormat = u"PROTEL";
  fields.outputFormat = u"MENTOR";
  fields.outputPath = text(path("out.net").string());
  fields.duplicateChecks = fields.singlePinCheck = false;
  EXPECT_EQ(run().outcome, RunOutcome::Finished);
  EXPECT_EQ(host.messages(), std::vector<std::string>{"出力フォーマットで表せない名前が有ります。"
                                                      "処理終了後にエラー情報ボタンを押して確認してください。"});
  EXPECT_EQ(readCp932("errlog.txt"),
            "／／／／／／／／／エラー情報／／／／／／／／／\r\n"
            "**************名前変更情報**************\r\n\r\n"
            "その他情報RESISTOR_SMD:R_0805をR_0805に変更しました。\r\n"
            "ネット名NET-(R1-PAD1)をNET-_R1-PAD1_に変更しました。\r\n\r\n\r\n");
}

TEST_F(Driver, KeepsTheIntermediateFilesWhenAsked) {
  settings.keepIntermediateFiles = true;
  EXPECT_EQ(run().outcome, RunOutcome::Finished);
  EXPECT_TRUE(exists("net.tmp"));
  EXPECT_TRUE(exists("parts.tmp"));
}

TEST_F(Driver, ErrorLogGoesToItsOwnDirectory) {
  std::filesystem::create_directory(path("log"));
  settings.errlogDir = path("log");
  EXPECT_EQ(run().outcome, RunOutcome::Finished);
  EXPECT_TRUE(std::filesystem::exists(path("log") / "errlog.txt"));
  EXPECT_FALSE(exists("errlog.txt"));
}

class WholeFileWrite : public testing::ScratchTest {};

TEST_F(WholeFileWrite, AddsOneLineEndAndNeverLeavesAHalfWrittenFile) {
  writeWholeFile(path("f.txt"), u"A\r\nB", Encoding::Cp932);
  EXPECT_EQ(readBytes("f.txt"), "A\r\nB\r\n");
  writeWholeFile(path("f.txt"), u"C", Encoding::Cp932, u"\n");
  EXPECT_EQ(readBytes("f.txt"), "C\n");
  EXPECT_THROW(writeWholeFile(path("f.txt"), text("é"), Encoding::Cp932), FileError);
  EXPECT_EQ(readBytes("f.txt"), "C\n");
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++files;
  EXPECT_EQ(files, 1u);
}

// A file written in pieces is the same file; one given up before it is
// complete leaves the previous file and nothing else.
TEST_F(WholeFileWrite, PiecesMakeTheSameFileAndAnUnfinishedOneLeavesThePrevious) {
  const Text piece = Text(70000, u'A') + text("𠮷");  // the pair split where the piece ends
  Text out = piece.substr(0, piece.size() - 1);
  {
    WholeFileOutput file(path("f.txt"), Encoding::Utf8);
    file.spill(out);
    EXPECT_TRUE(out.empty());
    file.commit(piece.substr(piece.size() - 1) + u"!", u"\n");
  }
  EXPECT_EQ(readBytes("f.txt"), std::string(70000, 'A') + "𠮷!\n");
  {
    WholeFileOutput file(path("f.txt"), Encoding::Utf8);
    Text more(70000, u'B');
    file.spill(more);
  }
  EXPECT_EQ(readBytes("f.txt"), std::string(70000, 'A') + "𠮷!\n");
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++files;
  EXPECT_EQ(files, 1u);
}

TEST_F(WholeFileWrite, WritingThroughALinkReplacesTheFileItPointsTo) {
  writeBytes("target.txt", "old");
  std::filesystem::create_symlink(path("target.txt"), path("link.txt"));
  writeWholeFile(path("link.txt"), u"new", Encoding::Cp932);
  EXPECT_TRUE(std::filesystem::is_symlink(path("link.txt")));
  EXPECT_EQ(readBytes("target.txt"), "new\r\n");
}

}  // namespace
}  // namespace korvanel
