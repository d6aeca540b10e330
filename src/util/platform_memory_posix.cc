#include <sys/mman.h>

#include <cstdlib>
#include <new>

#include "util/platform_memory.h"

namespace statcrane {

void* AllocateHugePageBlock(size_t bytes) {
  void* block = std::aligned_alloc(kHugePageBytes, bytes);
  if (block == nullptr) throw std::bad_alloc();
  ::madvise(block, bytes, MADV_HUGEPAGE);
  return block;
}

void FreeHugePageBlock(void* block) { std::free(block); }

}  // namespace statcrane
