#include "bench/bench_support.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <utility>
#include <vector>

namespace korvanel::bench {
namespace {

std::size_t inUse = 0;
std::size_t peak = 0;

void* allocate(std::size_t size) {
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) throw std::bad_alloc();
  inUse += malloc_usable_size(memory);
  peak = std::max(peak, inUse);
  return memory;
}

void release(void* memory) {
  if (memory == nullptr) return;
  inUse -= malloc_usable_size(memory);
  std::free(memory);
}

}  // namespace

std::filesystem::path scratchDirectory(const std::string& name) {
  auto directory = std::filesystem::temp_directory_path() /
                   ("korvanel-bench-" + std::to_string(::getpid()) + "-" + name);
  std::filesystem::create_directories(directory);
  return directory;
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

std::string telesisBoard(int parts, int nets, int pins) {
  std::mt19937 random(42);
  const int pinsPerPart = std::max(1, (pins + std::max(parts, 1) - 1) / std::max(parts, 1));
  std::vector<std::pair<int, int>> partPins;  // part, pin number
  partPins.reserve(static_cast<std::size_t>(pins));
  for (int pin = 0; pin < pins; ++pin) partPins.emplace_back(pin / pinsPerPart, pin % pinsPerPart + 1);
  std::shuffle(partPins.begin(), partPins.end(), random);

  std::string text = "$PACKAGES\r\n";
  for (int part = 0; part < parts; ++part) text += "QFP ! 74HC595 ; U" + std::to_string(part) + "\r\n";
  text += "$NETS\r\n";
  std::size_t dealt = 0;
  for (int net = 0; net < nets; ++net) {
    text += "N" + std::to_string(random() % 1000000) + "_" + std::to_string(net) + " ;";
    const int pinsOfNet = pins / nets + (net < pins % nets ? 1 : 0);
    for (int pin = 0; pin < pinsOfNet; ++pin) {
      const auto& [part, number] = partPins[dealt++];
      text += " U" + std::to_string(part) + "." + std::to_string(number);
      if (pin % 8 == 7 && pin + 1 < pinsOfNet) text += ",\r\n";
    }
    text += "\r\n";
  }
  text += "$END\r\n";
  return text;
}

std::size_t heapInUse() { return inUse; }
std::size_t heapPeakSinceReset() { return peak; }
void resetHeapPeak() { peak = inUse; }

}  // namespace korvanel::bench

// Every allocation of the benchmark program is counted.
void* operator new(std::size_t size) { return korvanel::bench::allocate(size); }
void* operator new[](std::size_t size) { return korvanel::bench::allocate(size); }
void operator delete(void* memory) noexcept { korvanel::bench::release(memory); }
void operator delete[](void* memory) noexcept { korvanel::bench::release(memory); }
void operator delete(void* memory, std::size_t) noexcept { korvanel::bench::release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { korvanel::bench::release(memory); }
