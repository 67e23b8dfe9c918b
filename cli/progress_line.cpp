#include "cli/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace tervela {

namespace {

constexpr auto kQuietTime = std::chrono::seconds(1);
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

void WriteToStandardError(const char* text, int size) {
  if (size > 0) (void)!::write(STDERR_FILENO, text, static_cast<std::size_t>(size));
}

}  // namespace

ProgressLine::ProgressLine(std::optional<std::uint64_t> input_size)
    : input_size_(input_size), start_(Clock::now()) {}

void ProgressLine::Progress(std::uint64_t bytes_read, std::uint64_t points_written) {
  const Clock::time_point now = Clock::now();
  if (now - start_ < kQuietTime || (drawn_ && now - last_drawn_ < kRedrawInterval)) return;
  char line[96];
  const double megabytes = static_cast<double>(bytes_read) / 1e6;
  const auto points = static_cast<unsigned long long>(points_written);
  int size = 0;
  if (input_size_ && *input_size_ > 0) {
    const double percent = 100.0 * static_cast<double>(bytes_read) / static_cast<double>(*input_size_);
    size = std::snprintf(line, sizeof line, "\rConverting: %3.0f%% (%.1f of %.1f MB read, %llu points)",
                         percent, megabytes, static_cast<double>(*input_size_) / 1e6, points);
  } else {
    size = std::snprintf(line, sizeof line, "\rConverting: %.1f MB read, %llu points", megabytes, points);
  }
  WriteToStandardError(line, size);
  drawn_ = true;
  last_drawn_ = now;
}

void ProgressLine::Clear() {
  if (!drawn_) return;
  static const char kErase[] = "\r\033[K";
  WriteToStandardError(kErase, sizeof kErase - 1);
  drawn_ = false;
}

}  // namespace tervela
