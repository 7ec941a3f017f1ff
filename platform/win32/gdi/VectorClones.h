// Marks a hot loop's function to be built twice, for AVX2 and for the baseline
// processor, the one to run chosen when the program starts: eight 32-bit lanes and
// byte shuffles where the baseline has four lanes and none. Sanitized builds keep one
// version: the choosing runs while libraries load, before a sanitizer's run-time is up,
// and clang (the fuzz build) cannot clone function templates.
#pragma once

#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__) && !defined(__clang__)
#define ORVANE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ORVANE_VECTOR_CLONES
#endif
