#include "longrun.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void prepareForLongRuns()
{
#if defined(__GLIBC__)
    // A fixed threshold keeps blocks of this size and more in memory maps of
    // their own, which the C library enlarges in place; without it, the
    // threshold rises with the first large block freed (the window's first
    // backing store) and the log would grow inside the heap instead.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}
