#include "platform/heap.h"

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace qv::platform {

void ReleaseFreeHeap() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace qv::platform
