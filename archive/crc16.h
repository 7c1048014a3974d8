// SPDX-License-Identifier: MIT
// CRC-16 of member data as LHA uses it (reflected polynomial 0xA001, initial 0, no final inversion).
#pragma once

#include <cstddef>
#include <cstdint>

namespace verasco::archive {

// The 256-entry table: crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8).
const uint16_t* Crc16Table();

// Continues `crc` over `length` bytes.
uint16_t UpdateCrc16(uint16_t crc, const uint8_t* data, size_t length);

} // namespace verasco::archive
