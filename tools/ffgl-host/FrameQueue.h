#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

// One frame's pixels with its position in the run. Buffers are made once,
// before the first frame, and then passed around between threads.
struct FrameBuffer {
  std::vector<std::uint8_t> bytes;
  long index = 0;
};

// A blocking queue of buffer pointers with a fixed capacity, so that handing
// frames between threads allocates nothing. Close wakes every waiter: Pop
// then answers what is left and null after that, Push answers false.
class FrameQueue {
 public:
  explicit FrameQueue(std::size_t capacity) : slots(capacity) {}

  bool Push(FrameBuffer* frame) {
    std::unique_lock<std::mutex> lock(mutex);
    notFull.wait(lock, [&] { return closed || count < slots.size(); });
    if (closed) return false;
    slots[(head + count) % slots.size()] = frame;
    ++count;
    notEmpty.notify_one();
    return true;
  }

  FrameBuffer* Pop() {
    std::unique_lock<std::mutex> lock(mutex);
    notEmpty.wait(lock, [&] { return closed || count > 0; });
    if (count == 0) return nullptr;
    FrameBuffer* frame = slots[head];
    head = (head + 1) % slots.size();
    --count;
    notFull.notify_one();
    return frame;
  }

  void Close() {
    std::lock_guard<std::mutex> lock(mutex);
    closed = true;
    notEmpty.notify_all();
    notFull.notify_all();
  }

 private:
  std::mutex mutex;
  std::condition_variable notEmpty;
  std::condition_variable notFull;
  std::vector<FrameBuffer*> slots;
  std::size_t head = 0;
  std::size_t count = 0;
  bool closed = false;
};
