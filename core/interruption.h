// What a run leaves behind when the process is ended by a signal (SIGINT,
// SIGTERM, SIGHUP): nothing. A file being written goes to a temporary file
// beside its target; the private working directory of a run holds net.tmp
// and parts.tmp. Both are registered while they exist, and the handler that
// a host installs removes them before the process ends, so an interrupted
// run leaves every earlier file as it was and no temporary file behind.
#pragma once

#include <filesystem>

namespace korvanel {

// Installs the handler for SIGINT, SIGTERM and SIGHUP. After removing what
// is registered, it ends the process by the same signal.
void removeLeftoversOnInterruption();

// A temporary file, registered for as long as the object lives.
class TemporaryFileGuard {
 public:
  explicit TemporaryFileGuard(const std::filesystem::path& file);
  ~TemporaryFileGuard();
  TemporaryFileGuard(const TemporaryFileGuard&) = delete;
  TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

 private:
  int slot_;
};

// A private working directory, registered for as long as the object lives:
// on interruption its intermediate files and the directory itself go.
class WorkingDirectoryGuard {
 public:
  explicit WorkingDirectoryGuard(const std::filesystem::path& directory);
  ~WorkingDirectoryGuard();
  WorkingDirectoryGuard(const WorkingDirectoryGuard&) = delete;
  WorkingDirectoryGuard& operator=(const WorkingDirectoryGuard&) = delete;

 private:
  int slot_;
};

}  // namespace korvanel
