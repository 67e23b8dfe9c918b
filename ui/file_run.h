#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include <QObject>

#include "batch/point_file_conversion.h"
#include "batch/run_observer.h"

namespace tervela {

// One "Convert File" run on a worker thread of its own. The worker publishes
// its progress through atomics and reads a cancel flag between records; any
// other thread may read the one and set the other while the run goes on. It
// tells of news by signals, emitted on the worker thread: connect them queued
// to receivers of the window's thread.
class TFileRun final : public QObject, private RunObserver {
  Q_OBJECT

 public:
  // Starts the run at once.
  TFileRun(TFileConversion request, TRecordSystems systems);
  // Cancels a run still going and waits for its end.
  ~TFileRun() override;

  TFileRun(const TFileRun&) = delete;
  TFileRun& operator=(const TFileRun&) = delete;

  // Ends the run at the next record boundary with every file holding whole
  // lines; the run then reports success.
  void Cancel() { cancel_.store(true, std::memory_order_relaxed); }
  bool CancelWasRequested() const { return cancel_.load(std::memory_order_relaxed); }

  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // Blocks the calling thread, processing no events, until the run has
  // finished or `timeout` has passed; true if it has finished.
  bool WaitForFinish(std::chrono::milliseconds timeout);
  std::uint64_t BytesRead() const { return bytes_read_.load(std::memory_order_relaxed); }
  std::uint64_t PointsWritten() const { return points_written_.load(std::memory_order_relaxed); }
  // The run's outcome; only once Finished().
  const Status& Result() const { return result_; }
  const TFileConversion& Request() const { return request_; }

 signals:
  // BytesRead() or PointsWritten() has grown; at most ten times a second.
  void Progressed();
  // The worker's last act, once Finished() is true.
  void RunFinished();

 private:
  void Progress(std::uint64_t bytes_read, std::uint64_t points_written) override;
  bool CancelRequested() override { return CancelWasRequested(); }

  const TFileConversion request_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::atomic<std::uint64_t> bytes_read_{0};
  std::atomic<std::uint64_t> points_written_{0};
  // The worker's alone: when it last emitted Progressed.
  std::chrono::steady_clock::time_point last_progress_signal_{};
  std::mutex finish_mutex_;
  std::condition_variable finish_;
  Status result_;
  std::thread worker_;  // last: started once every member above exists
};

}  // namespace tervela
