#pragma once
// The process's threads for splitting large batches of the kernel.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

namespace quorrel::fast {

//! Runs the chunks of a batch on the calling thread and on idle workers. At most one thread per
//! hardware thread computes at any time, however many calculations ask at once: each computing
//! thread holds one of that many slots. Holds no data of any calculation.
class ComputePool {
 public:
  //! A pool of `threads` computing slots (at least 1), with threads − 1 workers.
  explicit ComputePool(int threads);
  ~ComputePool();
  ComputePool(const ComputePool&) = delete;
  ComputePool& operator=(const ComputePool&) = delete;

  //! The pool sized to the hardware, shared by every calculation of the process.
  static ComputePool& Shared();

  int threadCount() const { return threads_; }

  //! task(i) for i = 0 .. chunkCount − 1, chunks claimed in ascending order by the caller and
  //! the workers. After a chunk throws no further chunk starts; once the started ones have
  //! ended, the exception of the lowest failing chunk is rethrown.
  void run(std::size_t chunkCount, const std::function<void(std::size_t)>& task);

 private:
  struct Job;
  void workerLoop(std::stop_token stop);
  //! Runs chunks of `job` until none are left; called holding a slot.
  static void work(Job& job);

  int threads_;
  std::counting_semaphore<> slots_;
  std::mutex queueMutex_;
  std::condition_variable_any queueChanged_;
  std::deque<Job*> queue_;
  std::vector<std::jthread> workers_;
};

}  // namespace quorrel::fast
