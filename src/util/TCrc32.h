#pragma once

#include <cstddef>
#include <cstdint>

namespace norvale {

// CRC-32 (the zip/PNG polynomial), to be fed in pieces: crc = Crc32Update(crc, ...),
// starting from 0.
std::uint32_t Crc32Update(std::uint32_t crc, const void* data, std::size_t size);

}  // namespace norvale
