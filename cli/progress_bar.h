// The progress of a conversion as one line on a terminal, redrawn in place:
//   [###############...............]  50% 変換処理中
// The window shows the same values in its progress window.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

namespace korvanel::cli {

// Inputs smaller than this convert too fast for a bar to help.
inline constexpr std::uintmax_t kProgressBarSmallestInput = 4 * 1024 * 1024;

// Whether `convert` shows a bar: only on a terminal, never in a pipe or a
// log file, and only for an input above a few megabytes.
bool wantsProgressBar(bool standardErrorIsTerminal, std::uintmax_t inputSize);

// The same for the process's own standard error and an input file (a file
// that cannot be measured counts as small).
bool wantsProgressBar(const std::filesystem::path& input);

class TerminalProgressBar {
 public:
  explicit TerminalProgressBar(std::ostream& out) : out_(out) {}

  // Until switched on, every call below draws nothing.
  void switchOn() { on_ = true; }

  void show();
  void setValue(int percent);
  void setStatus(const std::string& status);
  // The run reached its end: the bar stays, full, and the line ends.
  void finish();
  // The bar goes away and leaves the line empty.
  void hide();

  // Around a message on the same stream: the bar leaves the line, and comes
  // back on the line after the message.
  void interrupt();
  void resume();

 private:
  void draw();
  void clearLine();

  std::ostream& out_;
  bool on_ = false;
  bool shown_ = false;
  bool drawn_ = false;
  int percent_ = 0;
  std::string status_;
};

}  // namespace korvanel::cli
