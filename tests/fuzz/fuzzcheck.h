#pragma once

#include <cstdio>
#include <cstdlib>

// A property that must hold for every input. A broken one aborts, so that the fuzzer keeps the input
// as a crash and the corpus replay fails on it.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);            \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
