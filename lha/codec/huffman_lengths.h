#pragma once
// Code lengths of a length-limited Huffman code.
#include <cstdint>

namespace vorn::lha {

// Fills lengths[0..n) for the symbols of nonzero frequency, none longer than maxLength;
// unused symbols get 0. Returns the number of used symbols; with fewer than two every length is 0.
int BuildHuffmanLengths(const uint32_t* frequencies, int n, int maxLength, uint8_t* lengths);

// Canonical codes for lengths (shorter codes first, by symbol within a length).
void AssignCanonicalCodes(const uint8_t* lengths, int n, uint16_t* codes);

}  // namespace vorn::lha
