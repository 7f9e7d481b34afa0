#pragma once

// The process's memory, as the allocator holds it.
namespace Memory {

// Blocks of a quarter MiB and more (answers' bodies) are mapped apart and
// unmapped when freed. glibc would otherwise raise that bound after the
// first large block is freed, and keep later large answers in its arenas.
void keepLargeBlocksApart();

// Hands the memory freed in every thread's arena back to the system, where
// the allocator can (glibc); elsewhere does nothing. Worth its cost only
// after large answers: glibc keeps a worker thread's freed arena for reuse.
void releaseFreed();

} // namespace Memory
