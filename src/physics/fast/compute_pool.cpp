#include "physics/fast/compute_pool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>

namespace quorrel::fast {

//! One batch: its chunk counter, its first failure and the workers still inside it.
struct ComputePool::Job {
  const std::function<void(std::size_t)>* task = nullptr;
  std::size_t chunkCount = 0;
  std::atomic<std::size_t> nextChunk{0};
  std::atomic<bool> failed{false};
  std::mutex mutex;
  std::condition_variable finished;
  int helpersInside = 0;
  std::size_t failedChunk = std::numeric_limits<std::size_t>::max();
  std::exception_ptr failure;
};

ComputePool::ComputePool(int threads)
    : threads_(std::max(threads, 1)), slots_(std::max(threads, 1)) {
  for (int i = 1; i < threads_; ++i) {
    workers_.emplace_back([this](std::stop_token stop) { workerLoop(stop); });
  }
}

ComputePool::~ComputePool() {
  for (auto& worker : workers_) worker.request_stop();
  queueChanged_.notify_all();
}

ComputePool& ComputePool::Shared() {
  static ComputePool pool(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
  return pool;
}

void ComputePool::work(Job& job) {
  while (!job.failed.load(std::memory_order_relaxed)) {
    const std::size_t chunk = job.nextChunk.fetch_add(1);
    if (chunk >= job.chunkCount) return;
    try {
      (*job.task)(chunk);
    } catch (...) {
      const std::lock_guard lock(job.mutex);
      if (chunk < job.failedChunk) {
        job.failedChunk = chunk;
        job.failure = std::current_exception();
      }
      job.failed = true;
    }
  }
}

void ComputePool::workerLoop(std::stop_token stop) {
  while (true) {
    Job* job = nullptr;
    {
      std::unique_lock lock(queueMutex_);
      if (!queueChanged_.wait(lock, stop, [this] { return !queue_.empty(); })) return;
      job = queue_.front();
      queue_.pop_front();
      const std::lock_guard jobLock(job->mutex);
      ++job->helpersInside;
    }
    slots_.acquire();
    work(*job);
    slots_.release();
    const std::lock_guard jobLock(job->mutex);
    if (--job->helpersInside == 0) job->finished.notify_all();
  }
}

void ComputePool::run(std::size_t chunkCount, const std::function<void(std::size_t)>& task) {
  Job job;
  job.task = &task;
  job.chunkCount = chunkCount;
  const auto helpers = std::min<std::size_t>(workers_.size(), chunkCount > 0 ? chunkCount - 1 : 0);
  if (helpers > 0) {
    const std::lock_guard lock(queueMutex_);
    for (std::size_t i = 0; i < helpers; ++i) queue_.push_back(&job);
  }
  if (helpers > 0) queueChanged_.notify_all();

  slots_.acquire();
  work(job);
  slots_.release();
  {
    // Helpers that have not started yet find nothing to do: take them back.
    const std::lock_guard lock(queueMutex_);
    queue_.erase(std::remove(queue_.begin(), queue_.end(), &job), queue_.end());
  }
  std::unique_lock jobLock(job.mutex);
  job.finished.wait(jobLock, [&job] { return job.helpersInside == 0; });
  if (job.failure) std::rethrow_exception(job.failure);
}

}  // namespace quorrel::fast
