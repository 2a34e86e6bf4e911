// Preloaded into a program under test (LD_PRELOAD), this makes writing fail
// the way a full disk, a failing disk or an interruption does, without any
// branch in the program itself. It counts the bytes written to every file
// whose path holds KORVANEL_FAIL_WRITE_TO (a temporary file is named after
// its target) and, once KORVANEL_FAIL_WRITE_AFTER bytes have gone there,
// the next write to such a file fails with KORVANEL_FAIL_WRITE_ERROR:
// "ENOSPC" or "EIO" (the write that crosses the limit writes up to it), or
// "SIGINT" / "SIGTERM" (the process gets that signal while it writes).
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Failure {
  const char* pathPart = nullptr;
  long long limit = 0;
  int error = 0;
  int signalNumber = 0;
};

const Failure& failure() {
  static const Failure configured = [] {
    Failure parsed;
    parsed.pathPart = std::getenv("KORVANEL_FAIL_WRITE_TO");
    const char* after = std::getenv("KORVANEL_FAIL_WRITE_AFTER");
    parsed.limit = after != nullptr ? std::atoll(after) : 0;
    const char* kind = std::getenv("KORVANEL_FAIL_WRITE_ERROR");
    const auto is = [&](const char* name) { return kind != nullptr && std::strcmp(kind, name) == 0; };
    parsed.error = is("EIO") ? EIO : ENOSPC;
    parsed.signalNumber = is("SIGINT") ? SIGINT : is("SIGTERM") ? SIGTERM : 0;
    return parsed;
  }();
  return configured;
}

long long bytesWritten = 0;

// Whether the descriptor is a regular file whose path holds the configured
// part; standard error and pipes are never touched.
bool isTargeted(int descriptor) {
  const char* part = failure().pathPart;
  struct stat status;
  if (part == nullptr || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return false;
  char link[64];
  char path[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
  const ssize_t length = readlink(link, path, sizeof path - 1);
  if (length <= 0) return false;
  path[length] = '\0';
  return std::strstr(path, part) != nullptr;
}

// How many of `wanted` bytes may still go; -1 (errno set) when none may.
ssize_t allowance(int descriptor, size_t wanted) {
  if (!isTargeted(descriptor)) return static_cast<ssize_t>(wanted);
  const long long left = failure().limit - bytesWritten;
  if (left > 0) return static_cast<ssize_t>(wanted < static_cast<size_t>(left) ? wanted : left);
  if (failure().signalNumber != 0) raise(failure().signalNumber);
  errno = failure().error;
  return -1;
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t write(int descriptor, const void* buffer, size_t count) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
  const ssize_t allowed = allowance(descriptor, count);
  if (allowed < 0) return -1;
  const ssize_t written = real(descriptor, buffer, static_cast<size_t>(allowed));
  if (written > 0 && isTargeted(descriptor)) bytesWritten += written;
  return written;
}

extern "C" ssize_t writev(int descriptor, const struct iovec* vectors, int count) {
  static const auto real = next<ssize_t (*)(int, const struct iovec*, int)>("writev");
  size_t wanted = 0;
  for (int index = 0; index < count; ++index) wanted += vectors[index].iov_len;
  const ssize_t allowed = allowance(descriptor, wanted);
  if (allowed < 0) return -1;
  if (static_cast<size_t>(allowed) == wanted) {
    const ssize_t written = real(descriptor, vectors, count);
    if (written > 0 && isTargeted(descriptor)) bytesWritten += written;
    return written;
  }
  // Only the part up to the limit goes, from the first vectors.
  ssize_t written = 0;
  for (int index = 0; index < count && written < allowed; ++index) {
    const size_t part = vectors[index].iov_len < static_cast<size_t>(allowed - written)
                            ? vectors[index].iov_len
                            : static_cast<size_t>(allowed - written);
    const ssize_t done = write(descriptor, vectors[index].iov_base, part);
    if (done < 0) return written > 0 ? written : -1;
    written += done;
  }
  return written;
}
