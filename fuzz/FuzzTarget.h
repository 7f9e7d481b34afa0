#pragma once

// What every fuzz target shares. A target is one LLVMFuzzerTestOneInput; it
// is linked with libFuzzer for fuzzing and with replay_corpus.cpp for the
// ordinary test run, which feeds it every file of its committed corpus.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one aborts, so libFuzzer keeps
// the input and a replay of the corpus fails.
#define FUZZ_EXPECT(condition)                                                                                         \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);                      \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
