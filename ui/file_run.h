#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "batch/point_file_conversion.h"
#include "batch/run_observer.h"

namespace tervela {

// One "Convert File" run on a worker thread of its own. The worker publishes
// its progress through atomics and reads a cancel flag between records; any
// other thread may read the one and set the other while the run goes on.
class TFileRun final : private RunObserver {
 public:
  // Starts the run at once. `on_finished` is the worker's last act, called on
  // the worker thread once Finished() is true.
  TFileRun(TFileConversion request, TSettingsTexts settings, char decimal_separator,
           std::function<void()> on_finished);
  // Cancels a run still going and waits for its end.
  ~TFileRun();

  TFileRun(const TFileRun&) = delete;
  TFileRun& operator=(const TFileRun&) = delete;

  // Ends the run at the next record boundary with every file holding whole
  // lines; the run then reports success.
  void Cancel() { cancel_.store(true, std::memory_order_relaxed); }
  bool CancelWasRequested() const { return cancel_.load(std::memory_order_relaxed); }

  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  std::uint64_t BytesRead() const { return bytes_read_.load(std::memory_order_relaxed); }
  std::uint64_t PointsWritten() const { return points_written_.load(std::memory_order_relaxed); }
  // The run's outcome; only once Finished().
  const Status& Result() const { return result_; }

 private:
  void Progress(std::uint64_t bytes_read, std::uint64_t points_written) override;
  bool CancelRequested() override { return CancelWasRequested(); }

  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::atomic<std::uint64_t> bytes_read_{0};
  std::atomic<std::uint64_t> points_written_{0};
  Status result_;
  std::thread worker_;  // last: started once every member above exists
};

}  // namespace tervela
