#include "progress_bar.h"

#include <cstdio>

#include <sys/ioctl.h>
#include <unistd.h>

#include "interrupt.h"

namespace velmora::cli {
namespace {

constexpr auto kFirstDrawAfter = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr int kBarWidth = 24;

const char* PhaseName(ProgressBar::Phase phase) {
  switch (phase) {
    case ProgressBar::Phase::kLoading:
      return "reading";
    case ProgressBar::Phase::kCounting:
      return "counting";
    case ProgressBar::Phase::kConverting:
      return "converting";
    case ProgressBar::Phase::kSaving:
      return "saving";
  }
  return "";
}

std::size_t TerminalWidth() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace

std::string GroupDigits(std::int64_t value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return value < 0 ? "-" + out : out;
}

ProgressBar::ProgressBar(const GlobalOptions& global)
    : enabled_(!global.quiet && isatty(STDERR_FILENO) == 1),
      job_start_(Clock::now()),
      phase_start_(job_start_),
      last_draw_(job_start_) {}

ProgressBar::~ProgressBar() { Clear(); }

void ProgressBar::Start(Phase phase, std::int32_t expected) {
  phase_ = phase;
  expected_ = expected;
  skipped_ = 0;
  phase_start_ = Clock::now();
}

void ProgressBar::Clear() {
  if (!drawn_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  drawn_ = false;
}

bool ProgressBar::IsCardConverterCancelled() { return Interrupted(); }

void ProgressBar::OnCardConverterProgress(std::int32_t iContact, std::int32_t cContacts,
                                          std::int32_t StatsSuccess, std::int32_t StatsSkipped,
                                          std::int32_t StatsErrors) {
  skipped_ = StatsSkipped;
  if (!enabled_) return;
  const Clock::time_point now = Clock::now();
  if (now - job_start_ < kFirstDrawAfter) return;
  if (drawn_ && now - last_draw_ < kRedrawEvery) return;
  last_draw_ = now;
  const double seconds = std::chrono::duration<double>(now - phase_start_).count();
  std::string line = Line(iContact, cContacts, StatsSuccess, StatsSkipped, StatsErrors, seconds);
  const std::size_t width = TerminalWidth();
  if (line.size() >= width) line.resize(width - 1);  // the line is ASCII
  std::fputs(("\r" + line + "\033[K").c_str(), stderr);
  std::fflush(stderr);
  drawn_ = true;
}

std::string ProgressBar::Line(std::int32_t handled, std::int32_t total, std::int32_t success,
                              std::int32_t skipped, std::int32_t errors, double seconds) const {
  // Counting reports its running count in the second counter; loading only
  // the cards seen so far there. A bar needs a total known in advance.
  const std::int32_t cards = phase_ == Phase::kCounting ? total : handled;
  const bool with_total = phase_ == Phase::kConverting || phase_ == Phase::kSaving;
  if (with_total && total <= 0) total = expected_;
  std::string line = PhaseName(phase_);
  line += "  ";
  if (with_total && total > 0 && handled <= total) {
    const int filled = static_cast<int>(static_cast<std::int64_t>(kBarWidth) * handled / total);
    line += '[';
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kBarWidth - filled), '-');
    line += "] " + std::to_string(100LL * handled / total) + "%  ";
    line += GroupDigits(handled) + " of " + GroupDigits(total) + " cards";
  } else {
    line += GroupDigits(cards) + " cards";
  }
  if (seconds > 0.05) {
    line += "  " + GroupDigits(static_cast<std::int64_t>(cards / seconds)) + "/s";
  }
  switch (phase_) {
    case Phase::kConverting:
      line += "  " + GroupDigits(success) + " written, " + GroupDigits(skipped) + " copied, " +
              GroupDigits(errors) + " errors";
      break;
    case Phase::kSaving:
      line += "  " + GroupDigits(success) + " saved, " + GroupDigits(skipped) + " skipped, " +
              GroupDigits(errors) + " errors";
      break;
    case Phase::kLoading:
    case Phase::kCounting:
      if (errors > 0) line += "  " + GroupDigits(errors) + " files failed";
      break;
  }
  return line;
}

}  // namespace velmora::cli
