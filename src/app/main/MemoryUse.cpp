// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryUse.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace torvane {

void TakeLargeBlocksFromTheSystem() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

}  // namespace torvane
