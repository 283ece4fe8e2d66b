// SPDX-License-Identifier: MIT
#include "VectorState.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {

__attribute__((target("avx"))) void ClearWithAvx()
{
    _mm256_zeroupper();
}

const bool kHasAvx = __builtin_cpu_supports("avx");

}   // namespace

void ClearUpperVectorState()
{
    if (kHasAvx)
        ClearWithAvx();
}

#else

void ClearUpperVectorState()
{
}

#endif
