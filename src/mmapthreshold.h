#ifndef MMAPTHRESHOLD_H
#define MMAPTHRESHOLD_H

// Fixes the C library's mmap threshold (glibc) at 256 KiB, so that every
// block of that size or more, the measurement log's buffer among them, lives
// in a memory map of its own that mremap enlarges in place. Call first thing
// in main, before any large block is allocated and freed; elsewhere than
// glibc it does nothing.
void fixMmapThreshold();

#endif // MMAPTHRESHOLD_H
