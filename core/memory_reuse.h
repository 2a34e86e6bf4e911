// A conversion of a large board allocates and frees many blocks of several
// megabytes: a file's bytes, its text, the lines of each pass. By default
// the C library gives such a block fresh pages from the kernel and hands
// freed memory back at once, so every block pays a page fault for each page
// it touches. A program that converts calls this once at its start to keep
// freed memory for the next block instead.
#pragma once

namespace korvanel {

void keepFreedMemoryForReuse();

// Hands the pages of freed memory back to the kernel: after a pass whose
// many small blocks the next passes, which take a few large ones, cannot
// reuse in place, so that the freed pages do not stay resident beside them.
void returnFreedMemory();

}  // namespace korvanel
