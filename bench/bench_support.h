// What the benchmarks share: a host that shows nothing, scratch directories,
// generated boards and a count of the heap in use.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "core/host.h"

namespace korvanel::bench {

// A fresh directory of this process, named after `name`.
std::filesystem::path scratchDirectory(const std::string& name);

void writeFile(const std::filesystem::path& file, const std::string& bytes);
std::string readFile(const std::filesystem::path& file);

// A Telesis board of `parts` parts (QFP 74HC595 U0 ...) and `nets` nets of
// `pins` pins in all, spread evenly. As on a real board every pin is on one
// net only: the pins of the parts are dealt to the nets in a random order,
// which the sort has work to do for. A continued line after every eighth pin.
std::string telesisBoard(int parts, int nets, int pins);

// The heap that operator new holds: now, and the most since the last reset.
std::size_t heapInUse();
std::size_t heapPeakSinceReset();
void resetHeapPeak();

}  // namespace korvanel::bench
