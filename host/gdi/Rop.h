#pragma once
// Ternary raster operations over pattern P, source S and destination D.
#include <cstdint>

namespace host::gdi {

// The ROP3 code is the result for P = 0xF0, S = 0xCC, D = 0xAA; bit
// (P*4 + S*2 + D) holds the result for one combination of input bits.
uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d);

constexpr bool RopUsesSource(uint8_t code) { return ((code >> 2) ^ code) & 0x33; }
constexpr bool RopUsesPattern(uint8_t code) { return ((code >> 4) ^ code) & 0x0F; }

// Applies code to n destination pixels; s and p may be null when unused.
void Rop3Row(uint8_t code, uint32_t* d, const uint32_t* s, const uint32_t* p, int n);

}  // namespace host::gdi
