#pragma once

// The process's memory, as the allocator holds it.
namespace Memory {

// Hands the memory freed in every thread's arena back to the system, where
// the allocator can (glibc); elsewhere does nothing. Worth its cost only
// after large answers: glibc keeps a worker thread's freed arena for reuse.
void releaseFreed();

} // namespace Memory
