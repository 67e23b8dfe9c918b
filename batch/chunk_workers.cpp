#include "batch/chunk_workers.h"

#include <system_error>

namespace tervela {

ChunkWorkers::ChunkWorkers(const PointConverter& converter, bool scripts, unsigned threads)
    : converter_(converter), scripts_(scripts) {
  try {
    for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
  } catch (const std::system_error&) {
    // Fewer threads than asked for; with none, Submit converts at once.
  }
}

ChunkWorkers::~ChunkWorkers() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  work_ready_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void ChunkWorkers::Convert(Job& job) {
  try {
    ConvertChunk(converter_, scripts_, *job.chunk);
  } catch (...) {
    job.failure = std::current_exception();
  }
}

void ChunkWorkers::Submit(RecordChunk& chunk) {
  std::unique_lock<std::mutex> lock(mutex_);
  jobs_.push_back(Job{&chunk, false, nullptr});
  if (threads_.empty()) {
    Job& job = jobs_.back();
    ++next_job_;
    lock.unlock();
    Convert(job);
    job.done = true;
    return;
  }
  lock.unlock();
  work_ready_.notify_one();
}

void ChunkWorkers::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  Job& job = jobs_.front();
  work_done_.wait(lock, [&job] { return job.done; });
  const std::exception_ptr failure = job.failure;
  jobs_.pop_front();
  --next_job_;
  lock.unlock();
  if (failure) std::rethrow_exception(failure);
}

void ChunkWorkers::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    work_ready_.wait(lock, [this] { return stopping_ || next_job_ < jobs_.size(); });
    if (stopping_) return;
    Job& job = jobs_[next_job_++];
    lock.unlock();
    Convert(job);
    lock.lock();
    job.done = true;
    work_done_.notify_all();
  }
}

}  // namespace tervela
