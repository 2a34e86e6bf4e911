// One conversion, from the user's entries to the converted file: check the
// entries, read, check, sort, change pins, write the parts list, write.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "core/format_table.h"
#include "core/host.h"
#include "core/text.h"

namespace korvanel {

// The entries of one conversion, named after the window's fields.
struct ConversionFields {
  Text inputPath;           // Text1
  Text outputPath;          // Text2
  Text inputFormat;         // Combo1
  Text outputFormat;        // Combo2
  Text inputPartsFile;      // Text3: parts file of a two-file input
  Text csvOrOutputParts;    // Text4: parts list CSV, or parts file of a two-file output
  bool sortNets = true;         // Check1
  bool duplicateChecks = true;  // Check2
  bool singlePinCheck = true;   // Check3
  bool partsCsv = false;        // Check4
  // Lift every fixed-table bound, for boards beyond them (off by default).
  bool liftCapacityLimits = false;
  // Trefp: box r reference letters, 10 + r pin before, 20 + r pin after.
  std::array<Text, 30> pinChangeBoxes;
};

// Where the files of a run live and how they are encoded.
struct RunSettings {
  std::filesystem::path workDir;   // net.tmp and parts.tmp
  std::filesystem::path errlogDir; // errlog.txt
  Encoding encoding = Encoding::Cp932;
  bool keepIntermediateFiles = false;
};

enum class RunOutcome {
  Finished,          // the converted file was written
  Refused,           // an entry is missing or wrong; nothing ran
  FormatMismatch,    // the reader did not recognise its input
  NoModule,          // the format name has no reader or writer
  CapacityExceeded,  // a fixed list overflowed
  Failed,            // a file could not be read or written
};

struct RunResult {
  RunOutcome outcome = RunOutcome::Finished;
  // For Failed: the file and the cause.
  std::string failure;
};

// The driver's messages.
inline constexpr TextView kMessageNoInputFile = u"変換するファイル名を指定してください。";
inline constexpr TextView kMessageNoOutputFile = u"変換後ファイル名を指定してください。";
inline constexpr TextView kMessageNoInputFormat = u"変換ファイルフォーマットを指定してください。";
inline constexpr TextView kMessageNoOutputFormat = u"変換後ファイルフォーマットを指定してください。";
inline constexpr TextView kMessageSameFile =
    u"変換するネットと変換後のネットが同じです。変換後のネットネイムを変えてください。";
inline constexpr TextView kMessageNoCsvFile = u"CSVのファイル名を指定してください。";
// A two-file output needs its parts file, and the one field that names it
// cannot name the parts list CSV as well.
inline constexpr TextView kMessageNoOutputPartsFile = u"部品ファイル名を指定してください。";
inline constexpr TextView kMessageCsvIsOutputPartsFile =
    u"部品リスト(CSV)と部品ファイルが同じファイルになります。部品リスト(CSV)のチェックを外してください。";
// The parts list CSV or the parts file would replace a file that the run
// reads or writes.
inline constexpr TextView kMessagePartsFileIsAnotherFile =
    u"部品ファイル（CSV）が入力ファイルまたは出力ファイルと同じです。ファイル名を変えてください。";
// A two-file input without its parts file: the nets are read, the parts not.
inline constexpr TextView kMessageNoInputPartsFile = u"部品ファイルが指定されていません。ネットだけを変換します。";
inline constexpr TextView kMessageUnknownFormat = u"変換ファイルのネットフォーマットを指定して下さい。";
inline constexpr TextView kMessageFormatMismatch = u"ネットフォーマットが一致しません。";
inline constexpr TextView kMessageCapacity = u"ネット数の許容量が越えました。";

inline constexpr TextView kProgressReading = u"ネット変換処理中";
inline constexpr TextView kProgressConverting = u"変換処理中";
inline constexpr TextView kProgressFinished = u"終了しました。";

RunResult runConversion(const ConversionFields& fields, Host& host, const RunSettings& settings,
                        const FormatTable& formats);

// Runs only the reader of `formatName`, leaving net.tmp and parts.tmp in the
// context's working directory as the reader made them. A name without a
// reader gives NoModule, a "bad" status FormatMismatch; each with the
// driver's message.
RunResult runReaderOnly(TextView formatName, const ReaderArguments& arguments, const ConversionContext& context,
                        const FormatTable& formats);

// Runs only the writer of `formatName` on the working directory's net.tmp and
// parts.tmp.
RunResult runWriterOnly(TextView formatName, const WriterArguments& arguments, const ConversionContext& context,
                        const FormatTable& formats);

}  // namespace korvanel
