#pragma once

// What the fuzz targets share: the entry point of each target (run by libFuzzer, and by the
// regression test on every file kept in fuzz/corpus/ and fuzz/regressions/), and the check that
// a property holds.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace kiv::fuzz {

// A property of a reader does not hold for this input. Under libFuzzer it aborts, so the input
// is kept as a crash; in the regression test it throws, so the test names the file.
[[noreturn]] inline void Fail(const std::string& what) {
#ifdef KIV_FUZZER
    std::fprintf(stderr, "property failed: %s\n", what.c_str());
    std::abort();
#else
    throw std::logic_error(what);
#endif
}

inline void Require(bool holds, const char* what) {
    if (!holds) Fail(what);
}

// One input for each target.
void KivTxtInput(const uint8_t* data, size_t size);
void KivIniInput(const uint8_t* data, size_t size);
void BmpInput(const uint8_t* data, size_t size);
void JpegInput(const uint8_t* data, size_t size);
void MidiInput(const uint8_t* data, size_t size);
void ScriptInput(const uint8_t* data, size_t size);

}  // namespace kiv::fuzz

// The libFuzzer entry point of a target, compiled only into the fuzzer binaries.
#ifdef KIV_FUZZER
#define KIV_FUZZ_ENTRY(body)                                                  \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
        body(data, size);                                                     \
        return 0;                                                             \
    }
#else
#define KIV_FUZZ_ENTRY(body)
#endif
