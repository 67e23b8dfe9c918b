// "Convert File" on a worker thread: its progress, cancel, end and signals.

#include "ui/file_run.h"

#include <exception>
#include <utility>

#include "batch/point_file_run.h"

namespace tervela {
namespace {

// Ten looks a second: a smooth bar, few queued signals, and few enough label
// changes for assistive technology.
constexpr std::chrono::milliseconds kProgressInterval{100};

}  // namespace

TFileRun::TFileRun(TFileConversion request, TRecordSystems systems)
    : request_(std::move(request)),
      worker_([this, systems = std::move(systems)] {
        TRunEndpoints endpoints;
        endpoints.observer = this;
        // Whatever a file holds, the run ends in an error box, never the
        // program's end: an exception of the run becomes its result.
        try {
          result_ = ConvertPointFile(request_, systems, endpoints);
        } catch (const std::exception& exception) {
          result_ = Error::FromException(exception);
        }
        {
          const std::lock_guard lock(finish_mutex_);
          finished_.store(true, std::memory_order_release);
        }
        finish_.notify_all();
        emit RunFinished();
      }) {}

TFileRun::~TFileRun() {
  Cancel();
  worker_.join();
}

bool TFileRun::WaitForFinish(std::chrono::milliseconds timeout) {
  std::unique_lock lock(finish_mutex_);
  return finish_.wait_for(lock, timeout, [this] { return Finished(); });
}

void TFileRun::Progress(std::uint64_t bytes_read, std::uint64_t points_written) {
  bytes_read_.store(bytes_read, std::memory_order_relaxed);
  points_written_.store(points_written, std::memory_order_relaxed);
  const auto now = std::chrono::steady_clock::now();
  if (now - last_progress_signal_ < kProgressInterval) return;
  last_progress_signal_ = now;
  emit Progressed();
}

}  // namespace tervela
