// A conversion whose writing fails part-way (a full disk, a failing disk),
// whose output cannot be made, or that is interrupted while it writes: every
// file of the user's is left as it was or whole, no temporary file stays
// behind, and korvanel-cli names the file and the cause. The failures are
// real: a preloaded library makes write() fail, and real signals end the run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>

#include "tests/support/test_support.h"

namespace korvanel {
namespace {

struct CliRun {
  int exitStatus = -1;
  int signalNumber = 0;
  std::string err;
};

// The files of a conversion that belong to the user, each with what it held
// before the run.
const std::pair<std::string, std::string> kPreviousFiles[] = {
    {"out.tel", "previous output\r\n"},
    {"parts.csv", "previous parts list\r\n"},
    {"errlog.txt", "previous error log\r\n"},
    {"work/errlog.txt", "previous error log\r\n"},
    {"work/net.tmp", "PREVIOUS; 1: R1.1, \r\n\r\n"},
    {"work/parts.tmp", "R0603! 10K; R1: ? \r\n\r\n"},
};

// Nets already in order, so that net.tmp is the same before and after the
// sort and a whole net.tmp is one text.
constexpr const char* kBoard =
    "$PACKAGES\r\nDIP14 ! 74HC00 ; U1 U2\r\n0603 ! 10K ; R1 R2\r\n$NETS\r\n"
    "GND ; R2.2 U1.7 U2.7\r\nNET-(R1-PAD1) ; R1.1 U1.1\r\nVCC ; R1.2 R2.1 U1.14 U2.14\r\n$END\r\n";

class WriteFailures : public testing::ScratchTest {
 protected:
  WriteFailures() {
    std::filesystem::create_directories(path("work"));
    std::filesystem::create_directories(path("tmp"));
    writeBytes("in.tel", kBoard);
    for (const auto& [name, content] : kPreviousFiles) writeBytes(name, content);
  }

  // Runs `korvanel-cli convert` in the scratch directory. With `workDir` the
  // intermediate files go to work/ and stay; otherwise to a private
  // directory in tmp/.
  CliRun convert(const std::string& environment, bool workDir, const std::string& output = "out.tel") {
    std::string command = "cd '" + directory.string() + "' && TMPDIR=tmp ASAN_OPTIONS=\"$ASAN_OPTIONS" +
                          ":verify_asan_link_order=0\" " + environment + " exec '" KORVANEL_CLI_PATH "'" +
                          " convert --from Telesis --to Telesis --parts-csv parts.csv";
    if (workDir) command += " --work-dir work --keep-intermediate";
    command += " in.tel '" + output + "' >cli.out 2>cli.err </dev/null";
    const int raw = std::system(command.c_str());
    CliRun run;
    if (WIFEXITED(raw)) run.exitStatus = WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) run.signalNumber = WTERMSIG(raw);
    run.err = readBytes("cli.err");
    std::filesystem::remove(path("cli.out"));
    std::filesystem::remove(path("cli.err"));
    return run;
  }

  // What each file holds after a run that did not fail.
  std::map<std::string, std::string> wholeFiles(bool workDir) {
    EXPECT_EQ(convert("", workDir).exitStatus, 0);
    std::map<std::string, std::string> whole;
    for (const auto& [name, previous] : kPreviousFiles) {
      whole[name] = readBytes(name);
      writeBytes(name, previous);
    }
    return whole;
  }

  // Every file that a run leaves but should not: temporary files beside
  // their targets, private working directories.
  std::vector<std::string> leftovers() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
      const std::string name = entry.path().filename().string();
      if (name.find(".korvanel-") != std::string::npos || name.starts_with("korvanel-")) {
        found.push_back(entry.path().lexically_relative(directory).string());
      }
    }
    return found;
  }

  void expectEveryFilePreviousOrWhole(const std::map<std::string, std::string>& whole) {
    // The reader's first whole net.tmp is its upper-cased working copy of
    // the input (an empty line first).
    const std::string workingCopy = std::string("\r\n") + kBoard;
    for (const auto& [name, previous] : kPreviousFiles) {
      const std::string now = readBytes(name);
      const bool isWhole = now == whole.at(name) || (name == "work/net.tmp" && now == workingCopy);
      EXPECT_TRUE(now == previous || isWhole) << name << " holds:\n" << now;
    }
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
  }
};

struct FailedWrite {
  const char* what;
  const char* file;  // the path part of the file whose writing fails
  int after;         // bytes written to it before the failure
  const char* failure;
  bool workDir;
};

class FailedWrites : public WriteFailures, public ::testing::WithParamInterface<FailedWrite> {};

TEST_P(FailedWrites, LeaveEveryFilePreviousOrWholeAndNameTheFile) {
  const FailedWrite& failure = GetParam();
  const auto whole = wholeFiles(failure.workDir);
  const CliRun run = convert(std::string("LD_PRELOAD='" KORVANEL_FAILING_WRITE_PATH "' KORVANEL_FAIL_WRITE_TO=") +
                                 failure.file + " KORVANEL_FAIL_WRITE_AFTER=" + std::to_string(failure.after) +
                                 " KORVANEL_FAIL_WRITE_ERROR=" + failure.failure,
                             failure.workDir);
  const std::string kind = failure.failure;
  if (kind.starts_with("SIG")) {
    EXPECT_EQ(run.signalNumber, kind == "SIGINT" ? SIGINT : SIGTERM) << run.err;
  } else {
    EXPECT_EQ(run.exitStatus, 4);
    const char* cause = std::strerror(kind == "EIO" ? EIO : ENOSPC);
    EXPECT_NE(run.err.find(std::string(failure.file) + ": write failed: " + cause), std::string::npos) << run.err;
  }
  expectEveryFilePreviousOrWhole(whole);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, FailedWrites,
    ::testing::Values(FailedWrite{"FullDiskAtTheOutputsFirstByte", "out.tel", 0, "ENOSPC", true},
                      FailedWrite{"FullDiskPartWayThroughTheOutput", "out.tel", 40, "ENOSPC", true},
                      FailedWrite{"IoErrorPartWayThroughTheOutput", "out.tel", 40, "EIO", false},
                      FailedWrite{"FullDiskInThePartsList", "parts.csv", 10, "ENOSPC", true},
                      FailedWrite{"IoErrorInTheErrorLog", "errlog.txt", 10, "EIO", true},
                      FailedWrite{"FullDiskInNetTmp", "net.tmp", 10, "ENOSPC", true},
                      FailedWrite{"IoErrorInPartsTmp", "parts.tmp", 0, "EIO", true},
                      FailedWrite{"SigtermWhileWritingTheOutput", "out.tel", 40, "SIGTERM", false},
                      FailedWrite{"SigintWhileWritingNetTmp", "net.tmp", 10, "SIGINT", false},
                      FailedWrite{"SigtermWhileWritingTheErrorLog", "errlog.txt", 10, "SIGTERM", false},
                      FailedWrite{"SigintWhileWritingTheOutputBesideAKeptWorkDir", "out.tel", 40, "SIGINT", true}),
    [](const auto& info) { return std::string(info.param.what); });

struct UnwritableOutput {
  const char* what;
  const char* output;
  // Makes the output path what the case needs; false when this system
  // cannot make it.
  bool (*make)(const std::filesystem::path& scratch);
  const char* cause;
  bool staysAsItWas;  // the path is still there, of its kind
};

bool nothingToMake(const std::filesystem::path&) { return true; }
bool makeDirectory(const std::filesystem::path& scratch) { return std::filesystem::create_directory(scratch / "out"); }
bool makePipe(const std::filesystem::path& scratch) { return mkfifo((scratch / "out").c_str(), 0600) == 0; }
bool makeNullDevice(const std::filesystem::path& scratch) {
  return mknod((scratch / "out").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
}
bool makeLinkToPipe(const std::filesystem::path& scratch) {
  return makePipe(scratch) && symlink("out", (scratch / "link").c_str()) == 0;
}
// A directory without write permission binds every user but root, who gets
// a directory that no one can make files in.
bool makeLockedDirectory(const std::filesystem::path& scratch) {
  if (geteuid() == 0) return std::filesystem::is_directory("/proc/self");
  return std::filesystem::create_directory(scratch / "locked") && chmod((scratch / "locked").c_str(), 0555) == 0;
}

class UnwritableOutputs : public WriteFailures, public ::testing::WithParamInterface<UnwritableOutput> {};

TEST_P(UnwritableOutputs, FailWithTheFileAndTheCause) {
  const UnwritableOutput& output = GetParam();
  if (!output.make(directory)) GTEST_SKIP() << "this system cannot make " << output.what;
  const std::string outputPath =
      std::string(output.output) == "locked/out" && geteuid() == 0 ? "/proc/self/out" : output.output;
  const auto kindBefore = std::filesystem::symlink_status(path("out")).type();
  const CliRun run = convert("", true, outputPath);
  EXPECT_EQ(run.exitStatus, 4);
  EXPECT_NE(run.err.find(outputPath + ": " + output.cause), std::string::npos) << run.err;
  if (output.staysAsItWas) {
    EXPECT_EQ(std::filesystem::symlink_status(path("out")).type(), kindBefore);
  }
  EXPECT_EQ(readBytes("parts.csv").find("previous"), std::string::npos) << "the parts list is written whole";
  EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cli, UnwritableOutputs,
    ::testing::Values(UnwritableOutput{"ADirectory", "out", makeDirectory, "is a directory", true},
                      UnwritableOutput{"APipe", "out", makePipe, "is not a regular file", true},
                      UnwritableOutput{"ADevice", "out", makeNullDevice, "is not a regular file", true},
                      UnwritableOutput{"ALinkToAPipe", "link", makeLinkToPipe, "is not a regular file", true},
                      UnwritableOutput{"InADirectoryThatCannotBeWritten", "locked/out", makeLockedDirectory,
                                       "cannot open for writing", false},
                      UnwritableOutput{"InADirectoryThatDoesNotExist", "missing/out", nothingToMake,
                                       "cannot open for writing: No such file or directory", false}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace korvanel
