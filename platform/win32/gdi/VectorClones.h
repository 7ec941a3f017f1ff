// Marks a hot loop's function to be built twice, for AVX2 and for the baseline
// processor, the one to run chosen when the program starts: eight 32-bit lanes and
// byte shuffles where the baseline has four lanes and none. GCC only (clang does not
// clone templates); address-sanitized builds keep one version.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define ORVANE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ORVANE_VECTOR_CLONES
#endif
