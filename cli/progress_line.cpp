#include "cli/progress_line.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace tervela {

namespace {

constexpr auto kQuietTime = std::chrono::seconds(1);
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

void WriteToStandardError(std::string_view text) {
  if (!text.empty()) (void)!::write(STDERR_FILENO, text.data(), text.size());
}

}  // namespace

std::string ProgressText(std::uint64_t bytes_read, std::uint64_t points_written,
                         std::optional<std::uint64_t> input_size) {
  char line[96];
  const double megabytes = static_cast<double>(bytes_read) / 1e6;
  const auto points = static_cast<unsigned long long>(points_written);
  int size = 0;
  if (input_size && *input_size > 0) {
    const double percent = 100.0 * static_cast<double>(bytes_read) / static_cast<double>(*input_size);
    size = std::snprintf(line, sizeof line, "\rConverting: %3.0f%% (%.1f of %.1f MB read, %llu points)",
                         percent, megabytes, static_cast<double>(*input_size) / 1e6, points);
  } else {
    size = std::snprintf(line, sizeof line, "\rConverting: %.1f MB read, %llu points", megabytes, points);
  }
  return std::string(line, static_cast<std::size_t>(std::clamp(size, 0, int{sizeof line} - 1)));
}

ProgressLine::ProgressLine(std::optional<std::uint64_t> input_size)
    : input_size_(input_size), start_(Clock::now()) {}

void ProgressLine::Progress(std::uint64_t bytes_read, std::uint64_t points_written) {
  const Clock::time_point now = Clock::now();
  if (now - start_ < kQuietTime || (drawn_ && now - last_drawn_ < kRedrawInterval)) return;
  WriteToStandardError(ProgressText(bytes_read, points_written, input_size_));
  drawn_ = true;
  last_drawn_ = now;
}

void ProgressLine::Clear() {
  if (!drawn_) return;
  static const char kErase[] = "\r\033[K";
  WriteToStandardError(std::string_view(kErase, sizeof kErase - 1));
  drawn_ = false;
}

}  // namespace tervela
