// Speed of a whole conversion and of its stages on generated netlists.
// Run: build/bench/korvanel_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/driver.h"
#include "core/passes.h"
#include "formats/builtin_formats.h"
#include "formats/telesis.h"

namespace korvanel {
namespace {

class SilentHost : public Host {
 public:
  void showMessage(const Text&) override {}
  void showProgress() override {}
  void setProgressValue(int) override {}
  void setProgressStatus(const Text&) override {}
  void enableProgressOk() override {}
  void hideProgress() override {}
};

std::filesystem::path benchDirectory() {
  auto directory = std::filesystem::temp_directory_path() / ("korvanel-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(directory);
  return directory;
}

// A Telesis netlist of `parts` parts and `nets` nets of `pinsPerNet` pins,
// in shuffled order so that sorting has work to do.
std::filesystem::path makeTelesis(const std::filesystem::path& directory, int parts, int nets, int pinsPerNet) {
  std::mt19937 random(42);
  std::string text = "$PACKAGES\r\n";
  for (int part = 0; part < parts; ++part) text += "SO16 ! 74HC595 ; U" + std::to_string(part) + "\r\n";
  text += "$NETS\r\n";
  for (int net = 0; net < nets; ++net) {
    text += "N" + std::to_string(random() % 1000000) + "_" + std::to_string(net) + " ;";
    for (int pin = 0; pin < pinsPerNet; ++pin) {
      text += " U" + std::to_string(random() % std::max(parts, 1)) + "." + std::to_string(random() % 16 + 1);
      if (pin % 8 == 7 && pin + 1 < pinsPerNet) text += ",\r\n";
    }
    text += "\r\n";
  }
  text += "$END\r\n";
  const auto file = directory / ("in-" + std::to_string(parts) + "-" + std::to_string(nets) + "-" +
                                 std::to_string(pinsPerNet) + ".tel");
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

void BM_Conversion(benchmark::State& state) {
  const auto directory = benchDirectory();
  const int nets = static_cast<int>(state.range(0));
  const auto input = makeTelesis(directory, 1000, nets, static_cast<int>(state.range(1)));
  ConversionFields fields;
  fields.inputPath = fromUtf8(input.string());
  fields.outputPath = fromUtf8((directory / "out.tel").string());
  fields.inputFormat = u"Telesis";
  fields.outputFormat = u"Telesis";
  RunSettings settings{directory, directory, Encoding::Cp932, false};
  SilentHost host;
  for (auto _ : state) {
    const RunResult result = runConversion(fields, host, settings, builtinFormats());
    if (result.outcome != RunOutcome::Finished) state.SkipWithError("conversion failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(input)));
  std::filesystem::remove_all(directory);
}
// All checks on: at most 1001 parts, 20001 nets and 50001 pins.
BENCHMARK(BM_Conversion)->Args({1000, 10})->Args({10000, 4})->Args({20000, 2})->Unit(benchmark::kMillisecond);

void BM_ReadSortWriteOneHugeNet(benchmark::State& state) {
  const auto directory = benchDirectory();
  const auto input = makeTelesis(directory, 1000, 1, 19998);
  SilentHost host;
  const ConversionContext context{directory, Encoding::Cp932, host, u"Telesis"};
  for (auto _ : state) {
    Text status;
    mntelin(context, input, status);
    Text sorted;
    mrksort(context, sorted);
    writeWholeFile(context.netFile(), sorted, context.encoding);
    mchgpin(context, context.netFile(), PinChangeTable{});
    mntelout(context, directory / "out.tel");
  }
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_ReadSortWriteOneHugeNet)->Unit(benchmark::kMillisecond);

void BM_ReadOnlyManyNets(benchmark::State& state) {
  const auto directory = benchDirectory();
  const auto input = makeTelesis(directory, 20000, static_cast<int>(state.range(0)), 6);
  SilentHost host;
  const ConversionContext context{directory, Encoding::Cp932, host, u"Telesis"};
  for (auto _ : state) {
    Text status;
    mntelin(context, input, status);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(input)));
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_ReadOnlyManyNets)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvanel

BENCHMARK_MAIN();
