#include "core/driver.h"

#include <system_error>

#include "core/capacity.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/memory_reuse.h"
#include "core/passes.h"

namespace korvanel {
namespace {

// Two paths name the same file when their texts are equal or when both
// exist and are one file (another letter case on a folding file system, a
// relative path, a link).
bool nameSameFile(const Text& first, const Text& second) {
  if (first == second) return true;
  std::error_code error;
  return std::filesystem::equivalent(toPath(first), toPath(second), error) && !error;
}

// The first entry that is missing or wrong, as its message; empty when all
// entries are fine. No file that the run writes may be one that it reads,
// nor may two of its outputs be one file.
TextView refusal(const ConversionFields& fields, const FormatTable& formats) {
  if (fields.inputPath.empty()) return kMessageNoInputFile;
  if (fields.outputPath.empty()) return kMessageNoOutputFile;
  if (fields.inputFormat.empty()) return kMessageNoInputFormat;
  if (fields.outputFormat.empty()) return kMessageNoOutputFormat;
  if (nameSameFile(fields.inputPath, fields.outputPath)) return kMessageSameFile;
  if (fields.partsCsv && fields.csvOrOutputParts.empty()) return kMessageNoCsvFile;

  const bool readsInputParts =
      formats.hasCompanionPartsFile(fields.inputFormat) && !fields.inputPartsFile.empty();
  const bool writesOutputParts = formats.hasCompanionPartsFile(fields.outputFormat);
  if (writesOutputParts && fields.csvOrOutputParts.empty()) return kMessageNoOutputPartsFile;
  if (writesOutputParts && fields.partsCsv) return kMessageCsvIsOutputPartsFile;
  if (readsInputParts && nameSameFile(fields.inputPartsFile, fields.outputPath)) return kMessageSameFile;
  if (fields.partsCsv || writesOutputParts) {
    const Text& partsOutput = fields.csvOrOutputParts;
    const bool replacesAnotherFile = nameSameFile(partsOutput, fields.inputPath) ||
                                     nameSameFile(partsOutput, fields.outputPath) ||
                                     (readsInputParts && nameSameFile(partsOutput, fields.inputPartsFile));
    if (replacesAnotherFile) return kMessagePartsFileIsAnotherFile;
  }
  return {};
}

PinChangeTable upperCased(const std::array<Text, 30>& boxes) {
  PinChangeTable table;
  for (std::size_t index = 0; index < boxes.size(); ++index) table[index] = toUpper(boxes[index]);
  return table;
}

void removeIntermediateFiles(const ConversionContext& context) {
  std::error_code ignored;
  std::filesystem::remove(context.netFile(), ignored);
  std::filesystem::remove(context.partsFile(), ignored);
}

// The steps from the reader to the deletion of the intermediate files.
RunOutcome convert(const ConversionFields& fields, const ConversionContext& context, const RunSettings& settings,
                   const FormatTable& formats) {
  Host& host = context.host;
  host.showProgress();
  host.setProgressValue(0);
  host.setProgressStatus(Text(kProgressReading));

  Text status;
  const Reader reader = formats.findReader(fields.inputFormat);
  if (reader == nullptr) {
    host.showMessage(Text(kMessageUnknownFormat));
    host.hideProgress();
    return RunOutcome::NoModule;
  }
  if (formats.hasCompanionPartsFile(fields.inputFormat) && fields.inputPartsFile.empty()) {
    host.showMessage(Text(kMessageNoInputPartsFile));
  }
  reader(context, ReaderArguments{toPath(fields.inputPath), fields.inputPartsFile}, status);
  if (status == kStatusBad) {
    host.hideProgress();
    host.showMessage(Text(kMessageFormatMismatch));
    return RunOutcome::FormatMismatch;
  }

  Text errorLog(kErrorLogHeading);
  errorLog += kCrLf;
  runChecks(context, fields.duplicateChecks, fields.singlePinCheck, errorLog);
  // The checks' sets of names and pins go; the sort takes its memory in a
  // few large blocks.
  returnFreedMemory();
  // The names that the reader or the writer changed or cannot carry come
  // last, in one section; one message tells of them.
  Text& nameFindings = *context.nameFindings;
  const Text errorLogOfChecks = errorLog;
  if (!nameFindings.empty()) {
    host.showMessage(Text(kMessageNamesChanged));
    appendNamesSection(errorLog, nameFindings);
  }
  const std::filesystem::path errlogFile = settings.errlogDir / "errlog.txt";
  writeWholeFile(errlogFile, errorLog, context.encoding);

  host.setProgressValue(10);
  host.setProgressStatus(Text(kProgressConverting));
  if (fields.sortNets) {
    WholeFileOutput sortedNetFile(context.netFile(), context.encoding);
    mrksort(context, sortedNetFile);
  }
  mchgpin(context, context.netFile(), upperCased(fields.pinChangeBoxes));
  if (fields.partsCsv) mprtcsv(context, toPath(fields.csvOrOutputParts));

  const Writer writer = formats.findWriter(fields.outputFormat);
  if (writer == nullptr) {
    host.showMessage(Text(kMessageUnknownFormat));
    host.hideProgress();
    return RunOutcome::NoModule;
  }
  if (const FormatLimits* limits = formats.findWriterLimits(fields.outputFormat)) {
    const std::size_t findingsOfTheReader = nameFindings.size();
    makeNamesSafeForWriter(context, *limits, nameFindings);
    if (nameFindings.size() != findingsOfTheReader) {
      if (findingsOfTheReader == 0) host.showMessage(Text(kMessageNamesChanged));
      errorLog = errorLogOfChecks;
      appendNamesSection(errorLog, nameFindings);
      writeWholeFile(errlogFile, errorLog, context.encoding);
    }
  }
  writer(context, WriterArguments{toPath(fields.outputPath), fields.csvOrOutputParts});

  host.setProgressValue(100);
  host.setProgressStatus(Text(kProgressFinished));
  host.enableProgressOk();
  if (!settings.keepIntermediateFiles) removeIntermediateFiles(context);
  return RunOutcome::Finished;
}

// Runs one stage, turning the failures that end a conversion into outcomes:
// a capacity failure hides the progress window and says so.
template <typename Stage>
RunResult guarded(Host& host, Stage&& stage) {
  try {
    return {stage(), {}};
  } catch (const CapacityError&) {
    host.hideProgress();
    host.showMessage(Text(kMessageCapacity));
    return {RunOutcome::CapacityExceeded, {}};
  } catch (const FileError& error) {
    return {RunOutcome::Failed, error.what()};
  } catch (const std::filesystem::filesystem_error& error) {
    return {RunOutcome::Failed, error.what()};
  } catch (const std::bad_alloc&) {
    return {RunOutcome::Failed, "out of memory"};
  } catch (const std::exception& error) {
    // A fault of the program itself still ends the run with a clear outcome.
    return {RunOutcome::Failed, std::string("internal error: ") + error.what()};
  }
}

}  // namespace

RunResult runConversion(const ConversionFields& fields, Host& host, const RunSettings& settings,
                        const FormatTable& formats) {
  if (const TextView message = refusal(fields, formats); !message.empty()) {
    host.showMessage(Text(message));
    return {RunOutcome::Refused, {}};
  }
  Text nameFindings;
  const ConversionContext context{settings.workDir, settings.encoding, host, fields.inputFormat, &nameFindings};
  const CapacityLimitsLifted capacity(fields.liftCapacityLimits);
  return guarded(host, [&] { return convert(fields, context, settings, formats); });
}

RunResult runReaderOnly(TextView formatName, const ReaderArguments& arguments, const ConversionContext& context,
                        const FormatTable& formats) {
  return guarded(context.host, [&] {
    const Reader reader = formats.findReader(formatName);
    if (reader == nullptr) {
      context.host.showMessage(Text(kMessageUnknownFormat));
      return RunOutcome::NoModule;
    }
    Text status;
    reader(context, arguments, status);
    if (status == kStatusBad) {
      context.host.showMessage(Text(kMessageFormatMismatch));
      return RunOutcome::FormatMismatch;
    }
    return RunOutcome::Finished;
  });
}

RunResult runWriterOnly(TextView formatName, const WriterArguments& arguments, const ConversionContext& context,
                        const FormatTable& formats) {
  return guarded(context.host, [&] {
    const Writer writer = formats.findWriter(formatName);
    if (writer == nullptr) {
      context.host.showMessage(Text(kMessageUnknownFormat));
      return RunOutcome::NoModule;
    }
    // The names that the writer changes or cannot carry go to the working
    // directory's error log.
    if (const FormatLimits* limits = formats.findWriterLimits(formatName)) {
      Text findings;
      makeNamesSafeForWriter(context, *limits, findings);
      if (!findings.empty()) {
        context.host.showMessage(Text(kMessageNamesChanged));
        Text errorLog(kErrorLogHeading);
        errorLog += kCrLf;
        appendNamesSection(errorLog, findings);
        writeWholeFile(context.workDir / "errlog.txt", errorLog, context.encoding);
      }
    }
    writer(context, arguments);
    return RunOutcome::Finished;
  });
}

}  // namespace korvanel
