#include "mmapthreshold.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void fixMmapThreshold()
{
#if defined(__GLIBC__)
    // Left to itself, the threshold rises with the first large block freed
    // (the window's first backing store); the log would then grow inside the
    // heap, each enlargement copying it and leaving the old block behind.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}
