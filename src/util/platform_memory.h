// Memory the program asks the system for directly (platform_memory_posix.cc,
// platform_memory_windows.cc).
#pragma once

#include <cstddef>

namespace statcrane {

inline constexpr size_t kHugePageBytes = 2 * 1024 * 1024;

// A block of `bytes` (a multiple of kHugePageBytes) aligned to
// kHugePageBytes, held in huge pages where the system offers them: far fewer
// page faults while a large table fills. Throws std::bad_alloc when none can
// be had. Given back with FreeHugePageBlock.
void* AllocateHugePageBlock(size_t bytes);
void FreeHugePageBlock(void* block);

}  // namespace statcrane
