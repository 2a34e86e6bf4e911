// Speed of the readers that join nets of one name: Expedition PCB (net lines
// of one name joined) and FUTURE (pins gathered into nets), on generated
// files of 20,000 nets or PIN records, the most that either reader holds.
// Run: build/bench/korvanel_bench --benchmark_filter='Expedition|Future'
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bench/bench_support.h"
#include "core/context.h"
#include "core/host.h"
#include "formats/expedition.h"
#include "formats/future.h"

namespace korvanel {
namespace {

using bench::scratchDirectory;
using bench::writeFile;

// `netLines` net lines of three pins each: the first `names` lines name each
// net once, every later line repeats one of them at random and is joined to
// it. Then a part section of 2,000 parts.
std::string expeditionFile(int netLines, int names) {
  std::mt19937 random(7);
  std::string text = ";; V4.1.0\r\n%net\r\n%Prior=1\r\n\r\n%page=0\r\n";
  for (int line = 0; line < netLines; ++line) {
    const int name = line < names ? line : static_cast<int>(random() % names);
    text += "\\NET" + std::to_string(name) + "\\    ";
    for (int pin = 0; pin < 3; ++pin) {
      text += "\\U" + std::to_string(random() % 2000) + "\\-\\" + std::to_string(random() % 16 + 1) + "\\ ";
    }
    text += "\r\n";
  }
  text += "\r\n%Part\r\n";
  for (int part = 0; part < 2000; ++part) text += "\\74HC595\\    \\U" + std::to_string(part) + "\\ \r\n";
  return text;
}

// 5,000 symbols of four PIN records each (20,000 pins) over `nets` net names.
std::string futureFile(int nets) {
  std::mt19937 random(11);
  std::string text = "FUTURE NETLIST,1\r\nPINLIST,2\r\n";
  int pinRecord = 0;
  for (int symbol = 0; symbol < 5000; ++symbol) {
    text += "(SYM," + std::to_string(symbol) + "\r\nDATA,2,U" + std::to_string(symbol) +
            "\r\nDATA,3,74HC595\r\nDATA,4,SO16\r\n";
    for (int pin = 1; pin <= 4; ++pin, ++pinRecord) {
      const int net = pinRecord < nets ? pinRecord : static_cast<int>(random() % nets);
      text += "PIN," + std::to_string(pin) + ",N" + std::to_string(net) + ",0,0,0," + std::to_string(pin) + "\r\n";
    }
    text += ")\r\n";
  }
  return text;
}

// Reads a 20,000-line Expedition file; range(0) distinct net names.
void BM_ExpeditionReadAndJoin(benchmark::State& state) {
  const auto directory = scratchDirectory("expedition");
  const auto input = directory / "input.exp";
  writeFile(input, expeditionFile(20000, static_cast<int>(state.range(0))));
  SilentHost host;
  const ConversionContext context{directory, Encoding::Cp932, host, u"Expedition PCB"};
  for (auto _ : state) {
    Text status;
    mnexpin(context, input, status);
  }
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_ExpeditionReadAndJoin)->Arg(20000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Writes the nets and parts that a 20,000-net Expedition file gave.
void BM_ExpeditionWrite(benchmark::State& state) {
  const auto directory = scratchDirectory("expedition-write");
  const auto input = directory / "input.exp";
  writeFile(input, expeditionFile(20000, 20000));
  SilentHost host;
  const ConversionContext context{directory, Encoding::Cp932, host, u"Expedition PCB"};
  Text status;
  mnexpin(context, input, status);
  for (auto _ : state) mnexpout(context, directory / "output.exp");
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_ExpeditionWrite)->Unit(benchmark::kMillisecond);

// Reads a FUTURE file of 20,000 PIN records; range(0) distinct net names.
void BM_FutureReadAndMerge(benchmark::State& state) {
  const auto directory = scratchDirectory("future");
  const auto input = directory / "input.fut";
  writeFile(input, futureFile(static_cast<int>(state.range(0))));
  SilentHost host;
  const ConversionContext context{directory, Encoding::Cp932, host, u"FUTURE"};
  for (auto _ : state) {
    Text status;
    mnfutin(context, input, status);
  }
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_FutureReadAndMerge)->Arg(20000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvanel
