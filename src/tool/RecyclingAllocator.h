#ifndef VEKTORLING_TOOL_RECYCLINGALLOCATOR_H
#define VEKTORLING_TOOL_RECYCLINGALLOCATOR_H

#include <cstddef>
#include <new>

// Allocator for node-based containers that are filled and emptied every
// cycle: single-object blocks handed back are kept on a free list (up to
// kKeep of each type) and handed out again, so that refilling a container
// of the same size takes nothing from the heap. Stateless: all instances
// share the free list of their type, so any may free what another gave.
template <class T>
class RecyclingAllocator {
 public:
  using value_type = T;

  RecyclingAllocator() noexcept = default;
  template <class U>
  RecyclingAllocator(const RecyclingAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    static_assert(sizeof(T) >= sizeof(Block*), "a free block holds a pointer in the memory of one object");
    Free& free = Blocks();
    if (n == 1 && free.head != nullptr) {
      Block* b = free.head;
      free.head = b->next;
      --free.count;
      return reinterpret_cast<T*>(b);
    }
    return static_cast<T*>(::operator new(n * sizeof(T)));
  }

  void deallocate(T* p, std::size_t n) noexcept {
    Free& free = Blocks();
    if (n == 1 && free.count < kKeep) {
      Block* b = reinterpret_cast<Block*>(p);
      b->next = free.head;
      free.head = b;
      ++free.count;
      return;
    }
    ::operator delete(p);
  }

  friend bool operator==(const RecyclingAllocator&, const RecyclingAllocator&) noexcept { return true; }
  friend bool operator!=(const RecyclingAllocator&, const RecyclingAllocator&) noexcept { return false; }

 private:
  static constexpr int kKeep = 64;
  union Block {
    Block* next;
    alignas(T) unsigned char storage[sizeof(T)];
  };
  struct Free {
    Block* head = nullptr;
    int count = 0;
  };
  static Free& Blocks() {
    static Free free;
    return free;
  }
};

#endif  // VEKTORLING_TOOL_RECYCLINGALLOCATOR_H
