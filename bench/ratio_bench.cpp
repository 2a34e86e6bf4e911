// The cost of every reader, every writer, the sort and the checks alone and
// the whole conversion, each as a
// ratio to the floor that any conversion must pay: the Shift-JIS (cp932)
// decode and encode of the same bytes with the codec alone. Peak memory is
// the most heap the step held beyond what was held before it, as a multiple
// of the input's size. Boards: about 1,000 parts, 8,000 nets and 45,000
// pins (within every fixed table), twice and four times that (bounds
// lifted), and a 10 MB board of 200,000 nets for the whole conversion.
// Run: make bench (prints the table after the timings).
#include <benchmark/benchmark.h>
#include <unicode/ucnv.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/capacity.h"
#include "core/driver.h"
#include "core/memory_reuse.h"
#include "core/passes.h"
#include "formats/builtin_formats.h"

namespace korvanel::bench {
namespace {

struct Board {
  std::string name;
  int parts, nets, pins;
  bool readersAndWriters;
};

const Board kBoards[] = {{"1x", 1000, 8000, 45000, true},
                         {"2x", 2000, 16000, 90000, true},
                         {"4x", 4000, 32000, 180000, true},
                         {"10MB", 1000, 200000, 1000000, false}};

std::string fileNameOf(const Text& format) {
  std::string name;
  for (const char character : toUtf8(format)) name += std::isalnum(static_cast<unsigned char>(character)) ? character : '_';
  return name;
}

// The floor: the codec alone decodes the bytes and encodes the text again.
void decodeAndEncode(const std::string& bytes) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("windows-31j", &status);
  std::u16string text(bytes.size() + 1, u'\0');
  const char* source = bytes.data();
  auto* target = reinterpret_cast<UChar*>(text.data());
  ucnv_toUnicode(converter, &target, target + text.size(), &source, source + bytes.size(), nullptr, true, &status);
  const auto units = static_cast<std::size_t>(target - reinterpret_cast<UChar*>(text.data()));
  std::string encoded(units * 2 + 16, '\0');
  const auto* unicodeSource = reinterpret_cast<const UChar*>(text.data());
  char* byteTarget = encoded.data();
  ucnv_fromUnicode(converter, &byteTarget, encoded.data() + encoded.size(), &unicodeSource, unicodeSource + units,
                   nullptr, true, &status);
  ucnv_close(converter);
  benchmark::DoNotOptimize(byteTarget);
}

// Runs `step` once per iteration and records its peak heap beyond what was
// held before it, as a multiple of `bytes`.
template <typename Step>
void measure(benchmark::State& state, std::size_t bytes, Step&& step) {
  std::size_t peak = 0;
  for (auto _ : state) {
    const std::size_t before = heapInUse();
    resetHeapPeak();
    step();
    peak = std::max(peak, heapPeakSinceReset() - before);
  }
  state.counters["peak_x_input"] = static_cast<double>(peak) / static_cast<double>(bytes);
  state.counters["bytes"] = static_cast<double>(bytes);
}

ConversionFields conversionFields(const std::filesystem::path& directory, const std::filesystem::path& input,
                                  const Text& from, const Text& to, bool checks, bool lift) {
  ConversionFields fields;
  fields.inputPath = fromUtf8(input.string());
  fields.outputPath = fromUtf8((directory / ("out-" + fileNameOf(to))).string());
  fields.inputFormat = from;
  fields.outputFormat = to;
  fields.inputPartsFile = fromUtf8((input.string() + ".prt"));
  fields.csvOrOutputParts = fromUtf8((directory / ("out-" + fileNameOf(to) + ".prt")).string());
  fields.duplicateChecks = fields.singlePinCheck = fields.sortNets = checks;
  fields.liftCapacityLimits = lift;
  return fields;
}

SilentHost host;

template <typename Function>
void registerTimed(const char* name, Function&& function) {
  benchmark::RegisterBenchmark(name, std::forward<Function>(function))->Unit(benchmark::kMillisecond);
}

void registerBoard(const Board& board) {
  const std::filesystem::path directory = scratchDirectory(board.name);
  const std::filesystem::path input = directory / "board.tel";
  const std::string telesis = telesisBoard(board.parts, board.nets, board.pins);
  writeFile(input, telesis);
  const bool lift = board.parts > 1001 || board.nets > 20001 || board.pins > 50001;
  const RunSettings settings{directory, directory, Encoding::Cp932, false};

  registerTimed(("floor/" + board.name + "/Telesis").c_str(), [telesis](benchmark::State& state) {
    measure(state, telesis.size(), [&] { decodeAndEncode(telesis); });
  });
  for (const Text& format : builtinFormats().firstNamePerWriter()) {
    const std::string name = toUtf8(format);
    registerTimed(("convert/" + board.name + "/" + name).c_str(), [=](benchmark::State& state) {
      const ConversionFields fields = conversionFields(directory, input, u"Telesis", format, true, lift);
      measure(state, telesis.size(), [&] {
        if (runConversion(fields, host, settings, builtinFormats()).outcome != RunOutcome::Finished) {
          state.SkipWithError("conversion failed");
        }
      });
    });
  }
  if (!board.readersAndWriters) return;

  // The intermediate files of the board, and the board in every format.
  const std::filesystem::path intermediate = directory / "intermediate";
  std::filesystem::create_directories(intermediate);
  {
    const CapacityLimitsLifted capacity(true);
    const ConversionContext context{intermediate, Encoding::Cp932, host, u"Telesis"};
    runReaderOnly(u"Telesis", ReaderArguments{input, {}}, context, builtinFormats());
  }
  // The passes that every conversion with sorting and checks makes, alone:
  // each reads the intermediate files; the sort writes beside them.
  const auto registerPass = [&](const char* pass, void (*step)(const ConversionContext&)) {
    registerTimed(("pass/" + board.name + "/" + pass).c_str(), [=](benchmark::State& state) {
      const CapacityLimitsLifted capacity(true);
      const ConversionContext context{intermediate, Encoding::Cp932, host, u"Telesis"};
      measure(state, telesis.size(), [&] { step(context); });
    });
  };
  registerPass("sort", [](const ConversionContext& context) {
    WholeFileOutput sorted(context.workDir / "sorted.tmp", context.encoding);
    mrksort(context, sorted);
  });
  registerPass("checks", [](const ConversionContext& context) {
    Text errorLog;
    runChecks(context, true, true, errorLog);
    benchmark::DoNotOptimize(errorLog.data());
  });
  for (const Text& format : builtinFormats().firstNamePerWriter()) {
    const std::string name = toUtf8(format);
    const ConversionFields fields = conversionFields(directory, input, u"Telesis", format, false, true);
    runConversion(fields, host, settings, builtinFormats());
    const std::filesystem::path written = toPath(fields.outputPath);
    const std::string writtenBytes = readFile(written);
    registerTimed(("floor/" + board.name + "/" + name).c_str(), [writtenBytes](benchmark::State& state) {
      measure(state, writtenBytes.size(), [&] { decodeAndEncode(writtenBytes); });
    });
    registerTimed(("write/" + board.name + "/" + name).c_str(), [=](benchmark::State& state) {
      const CapacityLimitsLifted capacity(true);
      const ConversionContext context{intermediate, Encoding::Cp932, host, u"Telesis"};
      const WriterArguments arguments{directory / ("again-" + fileNameOf(format)), fromUtf8(written.string() + ".again")};
      measure(state, writtenBytes.size(), [&] { runWriterOnly(format, arguments, context, builtinFormats()); });
    });
    if (builtinFormats().findReader(format) == nullptr) continue;
    registerTimed(("read/" + board.name + "/" + name).c_str(), [=](benchmark::State& state) {
      const std::filesystem::path readDirectory = directory / ("read-" + fileNameOf(format));
      std::filesystem::create_directories(readDirectory);
      const CapacityLimitsLifted capacity(true);
      const ConversionContext context{readDirectory, Encoding::Cp932, host, format};
      const ReaderArguments arguments{written, fields.csvOrOutputParts};
      measure(state, writtenBytes.size(), [&] {
        if (runReaderOnly(format, arguments, context, builtinFormats()).outcome != RunOutcome::Finished) {
          state.SkipWithError("reader failed");
        }
      });
    });
  }
}

// Prints the timings as usual and, at the end, the table of ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.benchmark_name();
      const auto peak = run.counters.find("peak_x_input");
      results_[name] = {run.GetAdjustedRealTime(), peak == run.counters.end() ? 0.0 : double(peak->second)};
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n| step | board | format | time (ms) | x floor | peak heap x input |\n|---|---|---|---|---|---|\n");
    for (const auto& [name, result] : results_) {
      const std::size_t firstSlash = name.find('/');
      const std::size_t secondSlash = name.find('/', firstSlash + 1);
      const std::string step = name.substr(0, firstSlash);
      if (step == "floor") continue;
      const std::string board = name.substr(firstSlash + 1, secondSlash - firstSlash - 1);
      const std::string format = name.substr(secondSlash + 1);
      // A conversion and a pass are held against the floor of the input, a
      // reader and a writer against that of their own format's file.
      const bool ofInput = step == "convert" || step == "pass";
      const auto floor = results_.find("floor/" + board + "/" + (ofInput ? "Telesis" : format));
      const double ratio = floor == results_.end() ? 0.0 : result.milliseconds / floor->second.milliseconds;
      std::printf("| %s | %s | %s | %.1f | %.2f | %.1f |\n", step.c_str(), board.c_str(), format.c_str(),
                  result.milliseconds, ratio, result.peakTimesInput);
    }
  }

 private:
  struct Result {
    double milliseconds = 0;
    double peakTimesInput = 0;
  };
  std::map<std::string, Result> results_;
};

}  // namespace
}  // namespace korvanel::bench

int main(int argc, char** argv) {
  korvanel::keepFreedMemoryForReuse();
  benchmark::Initialize(&argc, argv);
  for (const korvanel::bench::Board& board : korvanel::bench::kBoards) korvanel::bench::registerBoard(board);
  korvanel::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
