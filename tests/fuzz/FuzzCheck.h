#pragma once
// A broken property stops the fuzzer with the input that broke it.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, \
                         __LINE__);                                                  \
            std::abort();                                                            \
        }                                                                            \
    } while (0)
