#pragma once
// The engine's CRC-32: the reflected polynomial 0xEDB88320 (the table of
// ISO 3309 and zlib), but without the initial and final inversion. Stored
// checksums (BLOB blocks, enciphered pages, the password-check block) start
// from 0 and keep the result as it is, so "abc" gives 0xCA6598D0, not zlib's
// 0x352441C2.
#include <cstdint>

// Continues crc over size bytes; returns crc unchanged when buffer is null or
// size is 0 or less.
uint32_t CalcCRC32(uint32_t crc, const void* buffer, int64_t size);
