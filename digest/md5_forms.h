// The compression function in each of its forms, over a run of whole 64-byte
// blocks. Internal to the engine.
#pragma once

#include <cstddef>
#include <cstdint>

#include "digest/md5.h"

void Md5CompressPortable(uint32_t state[4], const unsigned char* block, size_t blocks);
// Only where CMD5::CanRun(CMD5::AVX512): the file is compiled for AVX-512.
void Md5CompressAvx512(uint32_t state[4], const unsigned char* block, size_t blocks);

// The given form, which must be one this processor can run.
void Md5Compress(CMD5::Form form, uint32_t state[4], const unsigned char* block, size_t blocks);
