#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "batch/run_observer.h"

namespace tervela {

// The text of the progress line, led by the carriage return that redraws it:
// the share read of `input_size` bytes where that is known and not zero,
// megabytes of 10^6 bytes with one decimal.
std::string ProgressText(std::uint64_t bytes_read, std::uint64_t points_written,
                         std::optional<std::uint64_t> input_size);

// A progress line on standard error for a long run on a terminal: nothing
// during the first second, then the share of the input read, redrawn at most
// five times a second.
class ProgressLine final : public RunObserver {
 public:
  // `input_size` is the input's size when known (a regular file).
  explicit ProgressLine(std::optional<std::uint64_t> input_size);

  void Progress(std::uint64_t bytes_read, std::uint64_t points_written) override;
  bool CancelRequested() override { return false; }
  // Removes the line, if one was drawn.
  void Clear();

 private:
  using Clock = std::chrono::steady_clock;

  std::optional<std::uint64_t> input_size_;
  Clock::time_point start_;
  Clock::time_point last_drawn_;
  bool drawn_ = false;
};

}  // namespace tervela
