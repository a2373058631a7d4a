#ifndef FUZZINPUT_H
#define FUZZINPUT_H

#include <cstddef>
#include <cstdint>

// Every harness defines this one entry point: libFuzzer calls it with
// generated inputs, the suite's replay main with each file of the corpus.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

#endif // FUZZINPUT_H
