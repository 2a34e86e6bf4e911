// korvanel-cli: the conversion driver from the command line. Every field of
// the window has an option, so every behaviour of the driver can be reached
// from a script.
#include <CLI/CLI.hpp>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/compare_command.h"
#include "cli/detect_command.h"
#include "cli/format_suggestions.h"
#include "cli/progress_bar.h"
#include "core/driver.h"
#include "core/errors.h"
#include "core/interruption.h"
#include "core/memory_reuse.h"
#include "formats/builtin_formats.h"
#include "korvanel/version.h"

namespace {

using namespace korvanel;

enum ExitStatus {
  kExitFinished = 0,
  kExitRefused = 1,
  kExitUsage = 2,
  kExitCapacity = 3,
  kExitFailure = 4,
};

// Message boxes become lines on standard error; the progress window becomes
// a bar there, once switched on.
class TerminalHost : public Host {
 public:
  void showMessage(const Text& message) override {
    progress.interrupt();
    std::cerr << toUtf8(message) << std::endl;
    progress.resume();
  }
  void showProgress() override { progress.show(); }
  void setProgressValue(int percent) override { progress.setValue(percent); }
  void setProgressStatus(const Text& status) override { progress.setStatus(toUtf8(status)); }
  void enableProgressOk() override { progress.finish(); }
  void hideProgress() override { progress.hide(); }

  cli::TerminalProgressBar progress{std::cerr};
};

// After the driver's message for a format name without a module, the names
// the user most likely meant.
void suggestFormatNames(const RunResult& result, const std::string& inputFormat, const std::string& outputFormat) {
  const std::string line = cli::suggestionAfter(result, inputFormat, outputFormat, builtinFormats());
  if (!line.empty()) std::cerr << line << std::endl;
}

int exitStatusOf(const RunResult& result) {
  switch (result.outcome) {
    case RunOutcome::Finished: return kExitFinished;
    case RunOutcome::Refused:
    case RunOutcome::FormatMismatch:
    case RunOutcome::NoModule: return kExitRefused;
    case RunOutcome::CapacityExceeded: return kExitCapacity;
    case RunOutcome::Failed:
      std::cerr << "korvanel-cli: " << result.failure << std::endl;
      return kExitFailure;
  }
  return kExitFailure;
}

// A directory of this run's own for the intermediate files, removed when the
// run ends.
class PrivateDirectory {
 public:
  PrivateDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvanel-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot make a private working directory in " +
                               std::filesystem::temp_directory_path().string());
    }
    path_ = pattern;
    guard_.emplace(path_);
  }
  ~PrivateDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  PrivateDirectory(const PrivateDirectory&) = delete;
  PrivateDirectory& operator=(const PrivateDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::optional<WorkingDirectoryGuard> guard_;
};

Encoding parseEncoding(const std::string& name) { return name == "utf-8" ? Encoding::Utf8 : Encoding::Cp932; }

// REF:OLD:NEW, any of the three may be empty.
bool parsePinChange(const std::string& row, Text& reference, Text& before, Text& after) {
  const std::size_t first = row.find(':');
  if (first == std::string::npos) return false;
  const std::size_t second = row.find(':', first + 1);
  if (second == std::string::npos || row.find(':', second + 1) != std::string::npos) return false;
  reference = fromUtf8(row.substr(0, first));
  before = fromUtf8(row.substr(first + 1, second - first - 1));
  after = fromUtf8(row.substr(second + 1));
  return true;
}

void ensureDirectory(const std::filesystem::path& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) throw FileError(directory.string() + ": cannot make the working directory: " + error.message());
}

struct ConvertOptions {
  std::string from, to, input, output;
  bool noSort = false, noDuplicateCheck = false, noSinglePinCheck = false, noCapacityLimits = false;
  std::optional<std::string> partsCsv, outputParts, inputParts, workDir;
  std::vector<std::string> pinChanges;
  // The rows of --pin-change, parsed once when the command line is checked.
  std::array<Text, 30> pinChangeBoxes;
  bool keepIntermediate = false;
  std::string encoding = "cp932";
};

struct ReadOptions {
  std::string from, input, workDir;
  std::string inputParts;
  std::string encoding = "cp932";
};

struct WriteOptions {
  std::string to, output, workDir;
  std::string outputParts, inputFormat;
  std::string encoding = "cp932";
};

int runFormats() {
  const FormatTable& formats = builtinFormats();
  std::cout << "Input formats:\n";
  for (const Text& name : formats.inputNames()) std::cout << "  " << toUtf8(name) << "\n";
  std::cout << "Output formats:\n";
  for (const Text& name : formats.outputNames()) std::cout << "  " << toUtf8(name) << "\n";
  return kExitFinished;
}

int runConvert(const ConvertOptions& options) {
  ConversionFields fields;
  fields.inputPath = fromUtf8(options.input);
  fields.outputPath = fromUtf8(options.output);
  fields.inputFormat = fromUtf8(options.from);
  fields.outputFormat = fromUtf8(options.to);
  fields.sortNets = !options.noSort;
  fields.duplicateChecks = !options.noDuplicateCheck;
  fields.singlePinCheck = !options.noSinglePinCheck;
  fields.liftCapacityLimits = options.noCapacityLimits;
  fields.partsCsv = options.partsCsv.has_value();
  if (options.partsCsv) fields.csvOrOutputParts = fromUtf8(*options.partsCsv);
  if (options.outputParts) fields.csvOrOutputParts = fromUtf8(*options.outputParts);
  if (options.inputParts) fields.inputPartsFile = fromUtf8(*options.inputParts);
  fields.pinChangeBoxes = options.pinChangeBoxes;

  TerminalHost host;
  if (cli::wantsProgressBar(std::filesystem::path(options.input))) host.progress.switchOn();
  RunSettings settings;
  settings.encoding = parseEncoding(options.encoding);
  std::optional<PrivateDirectory> privateDirectory;
  try {
    if (options.workDir) {
      settings.workDir = *options.workDir;
      settings.errlogDir = settings.workDir;
      ensureDirectory(settings.workDir);
      settings.keepIntermediateFiles = options.keepIntermediate;
    } else {
      privateDirectory.emplace();
      settings.workDir = privateDirectory->path();
      settings.errlogDir = std::filesystem::current_path();
    }
  } catch (const std::exception& error) {
    std::cerr << "korvanel-cli: " << error.what() << std::endl;
    return kExitFailure;
  }
  const RunResult result = runConversion(fields, host, settings, builtinFormats());
  host.progress.hide();
  suggestFormatNames(result, options.from, options.to);
  return exitStatusOf(result);
}

int runRead(const ReadOptions& options) {
  TerminalHost host;
  try {
    ensureDirectory(options.workDir);
  } catch (const std::exception& error) {
    std::cerr << "korvanel-cli: " << error.what() << std::endl;
    return kExitFailure;
  }
  const ConversionContext context{options.workDir, parseEncoding(options.encoding), host, fromUtf8(options.from)};
  const ReaderArguments arguments{std::filesystem::path(options.input), fromUtf8(options.inputParts)};
  const RunResult result = runReaderOnly(fromUtf8(options.from), arguments, context, builtinFormats());
  suggestFormatNames(result, options.from, "");
  return exitStatusOf(result);
}

int runWrite(const WriteOptions& options) {
  TerminalHost host;
  const ConversionContext context{options.workDir, parseEncoding(options.encoding), host,
                                  fromUtf8(options.inputFormat)};
  const WriterArguments arguments{std::filesystem::path(options.output), fromUtf8(options.outputParts)};
  const RunResult result = runWriterOnly(fromUtf8(options.to), arguments, context, builtinFormats());
  suggestFormatNames(result, "", options.to);
  return exitStatusOf(result);
}

void addEncodingOption(CLI::App& command, std::string& encoding) {
  command.add_option("--encoding", encoding, "Encoding of every file read or written (default cp932)")
      ->check(CLI::IsMember({"cp932", "utf-8"}));
}

}  // namespace

int main(int argc, char** argv) {
  removeLeftoversOnInterruption();
  keepFreedMemoryForReuse();
  CLI::App app{"Korvanel: converts printed-circuit-board netlists between the formats of PCB CAD systems.",
               "korvanel-cli"};
  app.set_version_flag("--version", std::string("korvanel-cli ") + kVersion);
  app.set_help_all_flag("--help-all", "Print this help message with every command's options and exit");
  app.require_subcommand(1);

  app.add_subcommand("formats", "List the input format names, then the output format names");

  ConvertOptions convert;
  CLI::App* convertCommand = app.add_subcommand("convert", "Convert INPUT of one format into OUTPUT of another");
  convertCommand->add_option("--from", convert.from, "Input format name (exact text), or auto to recognise it")
      ->required();
  convertCommand->add_option("--to", convert.to, "Output format name (exact text)")->required();
  convertCommand->add_flag("--no-sort", convert.noSort, "Do not sort the nets and their pins");
  convertCommand->add_flag("--no-duplicate-check", convert.noDuplicateCheck,
                           "Do not check for duplicate net names, parts and pins");
  convertCommand->add_flag("--no-single-pin-check", convert.noSinglePinCheck, "Do not check for single-pin nets");
  convertCommand->add_flag("--no-capacity-limits", convert.noCapacityLimits,
                           "Lift the fixed table bounds (20,000 pins a net, 20,001 nets, 1,001 parts ...) for "
                           "large boards; only memory bounds them");
  convertCommand->add_option("--parts-csv", convert.partsCsv, "Write the parts list as CSV to FILE");
  convertCommand->add_option("--output-parts", convert.outputParts,
                             "Parts file written with an \"MM-COLMO_NEO & MM2\" output");
  convertCommand->add_option("--input-parts", convert.inputParts,
                             "Parts file read with an \"MM-COLMO_NEO & MM2\" input");
  convertCommand
      ->add_option("--pin-change", convert.pinChanges,
                   "REF:OLD:NEW: pins OLD of the parts whose reference letters are REF become NEW (up to 10)")
      ->allow_extra_args(false)
      ->take_all()
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  CLI::Option* convertWorkDir =
      convertCommand->add_option("--work-dir", convert.workDir, "Make net.tmp, parts.tmp and errlog.txt in DIR");
  convertCommand->add_flag("--keep-intermediate", convert.keepIntermediate, "Keep net.tmp and parts.tmp")
      ->needs(convertWorkDir);
  addEncodingOption(*convertCommand, convert.encoding);
  convertCommand->add_option("INPUT", convert.input, "Input netlist (\"\" for none)")->required();
  convertCommand->add_option("OUTPUT", convert.output, "Output netlist (\"\" for none)")->required();

  ReadOptions read;
  CLI::App* readCommand = app.add_subcommand("read", "Run only the reader: INPUT into DIR/net.tmp and DIR/parts.tmp");
  readCommand->add_option("--from", read.from, "Input format name (exact text)")->required();
  readCommand->add_option("--input-parts", read.inputParts, "Parts file of an \"MM-COLMO_NEO & MM2\" input");
  readCommand->add_option("--work-dir", read.workDir, "Directory for net.tmp and parts.tmp")->required();
  addEncodingOption(*readCommand, read.encoding);
  readCommand->add_option("INPUT", read.input, "Input netlist")->required();

  WriteOptions write;
  CLI::App* writeCommand = app.add_subcommand("write", "Run only the writer: DIR/net.tmp and DIR/parts.tmp into OUTPUT");
  writeCommand->add_option("--to", write.to, "Output format name (exact text)")->required();
  writeCommand->add_option("--output-parts", write.outputParts, "Parts file of an \"MM-COLMO_NEO & MM2\" output");
  writeCommand->add_option("--input-format", write.inputFormat, "Input format name for writers that name it");
  writeCommand->add_option("--work-dir", write.workDir, "Directory holding net.tmp and parts.tmp")->required();
  addEncodingOption(*writeCommand, write.encoding);
  writeCommand->add_option("OUTPUT", write.output, "Output netlist")->required();

  cli::CompareOptions compare;
  CLI::App* compareCommand = cli::addCompareCommand(app, compare);
  cli::DetectOptions detect;
  CLI::App* detectCommand = cli::addDetectCommand(app, detect);

  try {
    app.parse(argc, argv);
    if (convertCommand->parsed()) {
      if (convert.pinChanges.size() > 10) throw CLI::ValidationError("--pin-change", "at most 10 rows");
      for (std::size_t row = 0; row < convert.pinChanges.size(); ++row) {
        auto& boxes = convert.pinChangeBoxes;
        if (!parsePinChange(convert.pinChanges[row], boxes[row], boxes[10 + row], boxes[20 + row])) {
          throw CLI::ValidationError("--pin-change", "'" + convert.pinChanges[row] + "' is not REF:OLD:NEW");
        }
      }
      if (convert.partsCsv && convert.outputParts && *convert.partsCsv != *convert.outputParts) {
        throw CLI::ValidationError("--output-parts",
                                   "names another file than --parts-csv; both fill the same field");
      }
    }
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForAllHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version);
  } catch (const CLI::ParseError& error) {
    app.exit(error);
    return kExitUsage;
  }

  if (convertCommand->parsed()) {
    if (const int status = cli::resolveAutoFormat(convert.from, convert.input, convert.encoding); status != 0) {
      return status;
    }
    return runConvert(convert);
  }
  if (compareCommand->parsed()) return cli::runCompare(compare);
  if (detectCommand->parsed()) return cli::runDetect(detect);
  if (readCommand->parsed()) return runRead(read);
  if (writeCommand->parsed()) return runWrite(write);
  return runFormats();
}
