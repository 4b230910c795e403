#pragma once
#include <cstdio>
#include <cstdlib>

// A property of the code under test that the input broke: libFuzzer keeps the input as a crash.
[[noreturn]] inline void property_broken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : property_broken(#condition, __FILE__, __LINE__))
