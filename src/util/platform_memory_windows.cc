#include <malloc.h>

#include <new>

#include "util/platform_memory.h"

namespace statcrane {

// Large pages on Windows need a privilege users rarely have: plain pages.
void* AllocateHugePageBlock(size_t bytes) {
  void* block = ::_aligned_malloc(bytes, kHugePageBytes);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void FreeHugePageBlock(void* block) { ::_aligned_free(block); }

}  // namespace statcrane
