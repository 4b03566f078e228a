#include "physics/fast/compute_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace quorrel::fast {
namespace {

TEST(ComputePool, RunsEveryChunkOnce) {
  ComputePool pool(3);
  for (std::size_t chunks : {0u, 1u, 2u, 17u, 500u}) {
    std::vector<std::atomic<int>> runs(chunks);
    pool.run(chunks, [&](std::size_t i) { ++runs[i]; });
    for (std::size_t i = 0; i < chunks; ++i) EXPECT_EQ(runs[i].load(), 1) << i;
  }
}

TEST(ComputePool, RethrowsTheLowestFailingChunk) {
  ComputePool pool(2);
  try {
    pool.run(64, [](std::size_t i) {
      if (i == 40 || i == 41 || i == 63) throw std::runtime_error("chunk " + std::to_string(i));
    });
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "chunk 40");
  }
  // The pool stays usable.
  std::atomic<int> count{0};
  pool.run(10, [&](std::size_t) { ++count; });
  EXPECT_EQ(count.load(), 10);
}

TEST(ComputePool, ConcurrentCallersNeverComputeOnMoreThreadsThanSlots) {
  ComputePool pool(2);
  std::atomic<int> inside{0};
  std::atomic<int> most{0};
  const auto chunk = [&](std::size_t) {
    const int now = ++inside;
    int seen = most.load();
    while (now > seen && !most.compare_exchange_weak(seen, now)) {
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    --inside;
  };
  std::vector<std::thread> callers;
  for (int c = 0; c < 4; ++c) callers.emplace_back([&] { pool.run(20, chunk); });
  for (auto& caller : callers) caller.join();
  EXPECT_LE(most.load(), 2);
  EXPECT_GE(most.load(), 1);
}

}  // namespace
}  // namespace quorrel::fast
