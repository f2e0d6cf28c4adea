#pragma once

#include <cstddef>
#include <cstdint>

// Every target defines libFuzzer's entry point. The fuzz build links it with libFuzzer's own
// driver; the normal build links it with replay_main.cpp, which feeds it the committed corpus.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
