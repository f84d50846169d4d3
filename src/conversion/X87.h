// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <limits>

// Whether this build may use the x87 extended real directly: its own
// instructions (fsincos, fistp) and its layout in memory (a 64-bit
// mantissa, then sign and exponent). Only on x86 where long double is that
// real (not with -mlong-double-64 or -mlong-double-128), and never in the
// portable build, which takes the standard library's way throughout.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(TORVANE_PORTABLE_MATH) && \
    defined(__LDBL_MANT_DIG__) && __LDBL_MANT_DIG__ == 64
#define TORVANE_X87 1
static_assert(std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10);
#else
#define TORVANE_X87 0
#endif
