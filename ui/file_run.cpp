#include "ui/file_run.h"

#include <utility>

#include "batch/point_file_run.h"

namespace tervela {

TFileRun::TFileRun(TFileConversion request, TSettingsTexts settings, char decimal_separator,
                   std::function<void()> on_finished)
    : worker_([this, request = std::move(request), settings = std::move(settings), decimal_separator,
               on_finished = std::move(on_finished)] {
        TRunEndpoints endpoints;
        endpoints.observer = this;
        result_ = ConvertPointFile(request, settings, decimal_separator, endpoints);
        finished_.store(true, std::memory_order_release);
        on_finished();
      }) {}

TFileRun::~TFileRun() {
  Cancel();
  worker_.join();
}

void TFileRun::Progress(std::uint64_t bytes_read, std::uint64_t points_written) {
  bytes_read_.store(bytes_read, std::memory_order_relaxed);
  points_written_.store(points_written, std::memory_order_relaxed);
}

}  // namespace tervela
