#pragma once
// The allocator's free memory given back to the system.

namespace qv::platform {

// The start decodes the skin's pictures through large buffers it frees again. Once glibc has
// seen such a block come and go it keeps the next ones in its heap, and their pages stay
// resident for the life of the program unless they are handed back. Nothing elsewhere.
void ReleaseFreeHeap();

}  // namespace qv::platform
