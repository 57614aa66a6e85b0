#include "core/large_pages.h"

#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kelvor {

void AdviseLargePages([[maybe_unused]] void* data, [[maybe_unused]] qsizetype size) {
#ifdef Q_OS_LINUX
  // A smaller buffer gains little, and lies among other allocations that would then be given
  // large pages too when they reuse its memory.
  constexpr qsizetype kSmallest = qsizetype{4} * 1024 * 1024;
  if (size < kSmallest) return;
  // Only whole pages inside the buffer are advised: the pages at its edges may be shared
  // with other allocations.
  const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (start + pageSize - 1) & ~(pageSize - 1);
  const std::uintptr_t end = (start + static_cast<std::uintptr_t>(size)) & ~(pageSize - 1);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}

}  // namespace kelvor
