#pragma once
#include <array>
#include <atomic>
#include <cstddef>

namespace quor::audio {

// A bounded queue that any thread may push to and one thread pops from, without locks and
// without allocating: a sound device's callback thread can report through it. Each cell carries
// a sequence number that tells producers and the consumer whose turn the cell is.
template <typename T, size_t Capacity>
class NotificationRing {
  static_assert((Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");

 public:
  NotificationRing() {
    for (size_t i = 0; i < Capacity; ++i) cells_[i].sequence.store(i, std::memory_order_relaxed);
  }

  // False when the ring is full; the value is then not stored.
  bool push(const T& value) {
    size_t pos = tail_.load(std::memory_order_relaxed);
    for (;;) {
      Cell& cell = cells_[pos & (Capacity - 1)];
      const size_t seq = cell.sequence.load(std::memory_order_acquire);
      const auto diff = static_cast<std::ptrdiff_t>(seq) - static_cast<std::ptrdiff_t>(pos);
      if (diff == 0) {
        if (tail_.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
          cell.value = value;
          cell.sequence.store(pos + 1, std::memory_order_release);
          return true;
        }
      } else if (diff < 0) {
        return false;
      } else {
        pos = tail_.load(std::memory_order_relaxed);
      }
    }
  }

  // Only the consumer thread calls this.
  bool pop(T& value) {
    Cell& cell = cells_[head_ & (Capacity - 1)];
    const size_t seq = cell.sequence.load(std::memory_order_acquire);
    if (seq != head_ + 1) return false;
    value = cell.value;
    cell.sequence.store(head_ + Capacity, std::memory_order_release);
    ++head_;
    return true;
  }

 private:
  struct Cell {
    std::atomic<size_t> sequence;
    T value;
  };
  std::array<Cell, Capacity> cells_;
  alignas(64) std::atomic<size_t> tail_{0};
  alignas(64) size_t head_ = 0;
};

}  // namespace quor::audio
