#pragma once

// The innermost loops are built twice where the compiler can and the build
// wants it (the CMake option TRAM_VECTOR_CLONES): for the wide vector units
// most machines have, and for any x86-64; the loader picks one. Mark the
// function that calls them: everything it calls is built into each copy.
#if defined(TRAM_VECTOR_CLONES_WANTED) && defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__)
#define TRAM_VECTOR_CLONES __attribute__((target_clones("avx2", "default"), flatten))
#else
#define TRAM_VECTOR_CLONES
#endif
