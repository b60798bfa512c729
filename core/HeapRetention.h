#pragma once
// The simulation allocates a few hundred kilobytes per run (the walk's
// per-interval factors, the histories, the report text) and frees them at its
// end. By default the C library hands such a freed top of the heap back to
// the kernel at once, and the next run faults every page in again: on a
// virtual machine the unmapping's TLB shootdown alone took a seventh of a
// run. Programs that run the simulation many times keep the memory instead.

namespace qex {

// Keeps freed heap memory in the process for reuse (a no-op where the C
// library offers no such setting). Call once, early in main.
void RetainFreedHeapMemory();

} // namespace qex
