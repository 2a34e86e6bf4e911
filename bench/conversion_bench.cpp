// Speed of a whole conversion and of its stages on generated netlists.
// Run: build/bench/korvanel_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/bench_support.h"
#include "core/driver.h"
#include "core/passes.h"
#include "formats/builtin_formats.h"
#include "formats/telesis.h"

namespace korvanel {
namespace {

// A Telesis netlist of `parts` parts and `nets` nets of `pinsPerNet` pins,
// in shuffled order so that sorting has work to do.
std::filesystem::path makeTelesis(const std::filesystem::path& directory, int parts, int nets, int pinsPerNet) {
  const auto file = directory / ("in-" + std::to_string(parts) + "-" + std::to_string(nets) + "-" +
                                 std::to_string(pinsPerNet) + ".tel");
  bench::writeFile(file, bench::telesisBoard(parts, nets, nets * pinsPerNet));
  return file;
}

void BM_Conversion(benchmark::State& state) {
  const auto directory = bench::scratchDirectory("conversion");
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
  const auto directory = bench::scratchDirectory("conversion");
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
  const auto directory = bench::scratchDirectory("conversion");
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
