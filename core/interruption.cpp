#include "core/interruption.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace korvanel {
namespace {

// Paths are kept in fixed slots, so that the signal handler only reads
// memory that exists for the whole life of the process.
constexpr int kSlots = 16;
constexpr std::size_t kLongestPath = 4096;

enum class SlotKind : int { free, temporaryFile, workingDirectory };

struct Slot {
  std::atomic<int> kind{static_cast<int>(SlotKind::free)};
  char path[kLongestPath];
};

Slot slots[kSlots];

// The files of a private working directory that a run may leave in it.
constexpr const char* kIntermediateFiles[] = {"net.tmp", "parts.tmp", "errlog.txt"};

int claimSlot(const std::filesystem::path& path, SlotKind kind) {
  const std::string text = path.string();
  if (text.size() >= kLongestPath) return -1;
  for (int index = 0; index < kSlots; ++index) {
    int expected = static_cast<int>(SlotKind::free);
    // A slot being filled is marked taken first, and published once whole.
    if (slots[index].kind.compare_exchange_strong(expected, -1)) {
      std::memcpy(slots[index].path, text.c_str(), text.size() + 1);
      slots[index].kind.store(static_cast<int>(kind));
      return index;
    }
  }
  return -1;
}

void releaseSlot(int slot) {
  if (slot >= 0) slots[slot].kind.store(static_cast<int>(SlotKind::free));
}

// Joins a directory and a file name into `out` without allocating.
bool joinPath(const char* directory, const char* name, char* out) {
  const std::size_t directoryLength = std::strlen(directory);
  const std::size_t nameLength = std::strlen(name);
  if (directoryLength + 1 + nameLength + 1 > kLongestPath) return false;
  std::memcpy(out, directory, directoryLength);
  out[directoryLength] = '/';
  std::memcpy(out + directoryLength + 1, name, nameLength + 1);
  return true;
}

// Only async-signal-safe calls: unlink, rmdir, signal, raise.
void onInterruption(int signalNumber) {
  for (Slot& slot : slots) {
    if (slot.kind.load() == static_cast<int>(SlotKind::temporaryFile)) unlink(slot.path);
  }
  for (Slot& slot : slots) {
    if (slot.kind.load() != static_cast<int>(SlotKind::workingDirectory)) continue;
    char file[kLongestPath];
    for (const char* name : kIntermediateFiles) {
      if (joinPath(slot.path, name, file)) unlink(file);
    }
    rmdir(slot.path);
  }
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

}  // namespace

void removeLeftoversOnInterruption() {
  struct sigaction action {};
  action.sa_handler = onInterruption;
  sigemptyset(&action.sa_mask);
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) sigaction(signalNumber, &action, nullptr);
}

TemporaryFileGuard::TemporaryFileGuard(const std::filesystem::path& file)
    : slot_(claimSlot(file, SlotKind::temporaryFile)) {}
TemporaryFileGuard::~TemporaryFileGuard() { releaseSlot(slot_); }

WorkingDirectoryGuard::WorkingDirectoryGuard(const std::filesystem::path& directory)
    : slot_(claimSlot(directory, SlotKind::workingDirectory)) {}
WorkingDirectoryGuard::~WorkingDirectoryGuard() { releaseSlot(slot_); }

}  // namespace korvanel
