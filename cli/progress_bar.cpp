#include "cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>

namespace korvanel::cli {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

bool wantsProgressBar(bool standardErrorIsTerminal, std::uintmax_t inputSize) {
  return standardErrorIsTerminal && inputSize > kProgressBarSmallestInput;
}

bool wantsProgressBar(const std::filesystem::path& input) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(input, error);
  return wantsProgressBar(isatty(STDERR_FILENO) == 1, error ? 0 : size);
}

void TerminalProgressBar::show() {
  shown_ = on_;
  draw();
}

void TerminalProgressBar::setValue(int percent) {
  percent_ = std::clamp(percent, 0, 100);
  draw();
}

void TerminalProgressBar::setStatus(const std::string& status) {
  status_ = status;
  draw();
}

void TerminalProgressBar::finish() {
  if (!shown_) return;
  draw();
  out_ << '\n' << std::flush;
  shown_ = drawn_ = false;
}

void TerminalProgressBar::hide() {
  clearLine();
  shown_ = false;
}

void TerminalProgressBar::interrupt() { clearLine(); }

void TerminalProgressBar::resume() { draw(); }

void TerminalProgressBar::draw() {
  if (!shown_) return;
  const int filled = percent_ * kBarWidth / 100;
  // Back to the line's start, and everything after the text erased.
  out_ << "\r[" << std::string(filled, '#') << std::string(kBarWidth - filled, '.') << "] "
       << std::string(percent_ < 10 ? 2 : percent_ < 100 ? 1 : 0, ' ') << percent_ << "% " << status_ << "\x1b[K"
       << std::flush;
  drawn_ = true;
}

void TerminalProgressBar::clearLine() {
  if (!drawn_) return;
  out_ << "\r\x1b[K" << std::flush;
  drawn_ = false;
}

}  // namespace korvanel::cli
