#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "batch/record_chunk.h"

namespace tervela {

// Threads that convert chunks of records (ConvertChunk) while the caller
// reads and writes. The caller submits filled chunks and waits for them in
// the order submitted; a chunk belongs to the workers from its Submit until
// its Wait returns.
// Without threads (none could be started) Submit converts at once.
class ChunkWorkers {
 public:
  ChunkWorkers(const PointConverter& converter, bool scripts, unsigned threads);
  ChunkWorkers(const ChunkWorkers&) = delete;
  ChunkWorkers& operator=(const ChunkWorkers&) = delete;
  // Lets the threads finish the chunk each is converting, drops the rest and
  // joins them.
  ~ChunkWorkers();

  void Submit(RecordChunk& chunk);
  // Waits until the oldest chunk submitted and not yet waited for is
  // converted. An exception its conversion raised (an allocation that
  // failed) is raised here, on the caller's thread.
  void Wait();

 private:
  struct Job {
    RecordChunk* chunk;
    bool done = false;
    std::exception_ptr failure;
  };

  void Work();
  void Convert(Job& job);

  const PointConverter& converter_;
  const bool scripts_;
  std::mutex mutex_;
  std::condition_variable work_ready_;
  std::condition_variable work_done_;
  std::deque<Job> jobs_;       // submitted and not yet waited for, in order
  std::size_t next_job_ = 0;   // the first job in `jobs_` no thread took yet
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace tervela
