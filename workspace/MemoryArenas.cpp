#include "MemoryArenas.h"

#include <malloc.h>

namespace qm {

void KeepOneMemoryArena() {
    ::mallopt(M_ARENA_MAX, 1);
}

}  // namespace qm
