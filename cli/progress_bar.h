// The progress callback of a job: counts and rate on one line of standard
// error while a job runs longer than half a second (only when standard
// error is a terminal and --quiet is not given), and the cancel that Ctrl-C
// asks for.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include <velmora/card_converter.h>

#include "cli_common.h"

namespace velmora::cli {

class ProgressBar final : public ICardConverterProgress {
 public:
  // What the library's counters mean depends on the call they come from.
  enum class Phase { kLoading, kCounting, kConverting, kSaving };

  explicit ProgressBar(const GlobalOptions& global);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Starts a phase: its counters and rate start anew. `expected` is the
  // number of cards the phase will handle when the caller knows it (the
  // library does not tell while converting); 0 when unknown.
  void Start(Phase phase, std::int32_t expected = 0);
  // Clears the line (before any other output on standard error).
  void Clear();

  void OnCardConverterProgress(std::int32_t iContact, std::int32_t cContacts,
                               std::int32_t StatsSuccess, std::int32_t StatsSkipped,
                               std::int32_t StatsErrors) override;
  bool IsCardConverterCancelled() override;

  // The skipped count of the phase's last progress call: while loading or
  // counting, the cards cut off without END:VCARD.
  std::int32_t skipped() const { return skipped_; }

 private:
  using Clock = std::chrono::steady_clock;

  std::string Line(std::int32_t handled, std::int32_t total, std::int32_t success,
                   std::int32_t skipped, std::int32_t errors, double seconds) const;

  bool enabled_;
  Phase phase_ = Phase::kLoading;
  std::int32_t expected_ = 0;
  std::int32_t skipped_ = 0;
  Clock::time_point job_start_;
  Clock::time_point phase_start_;
  Clock::time_point last_draw_;
  bool drawn_ = false;
};

// 1234567 as "1,234,567".
std::string GroupDigits(std::int64_t value);

}  // namespace velmora::cli
