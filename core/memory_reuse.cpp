#include "core/memory_reuse.h"

#include <cstdlib>  // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace korvanel {

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Blocks up to 32 MiB (the largest threshold the C library takes) come
  // from the heap, and up to 1 GiB of freed heap stays with the process.
  // The peak stays what the largest moment of a run needs.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

void returnFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace korvanel
