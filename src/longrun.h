#ifndef LONGRUN_H
#define LONGRUN_H

// Readies the process for a measuring session of hours: the log grows by a
// line per frame, and its buffer should grow in place rather than be copied
// into a new block each time, leaving the old one behind in the heap.
void prepareForLongRuns();

#endif // LONGRUN_H
