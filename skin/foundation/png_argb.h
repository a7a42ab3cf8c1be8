// The last step of the PNG reader: converted rows become 32-bit pixels with
// alpha, as the library's images need them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/foundation/png_color_manager.h"

// What a converted row holds: packed palette indices of 1, 4 or 8 bits,
// blue-green-red triples, or blue-green-red-alpha quads.
enum class ArgbRowKind : uint8_t { Indexed1, Indexed4, Indexed8, Bgr24, Bgra32 };

// The pixel words (0xAARRGGBB) of the 2^bitmapBits palette indices.
// Colours come from the palette; alpha from alphaTable by the file's own
// index (a 2-bit file's index k is 5k in a 4-bit bitmap), 255 when the table
// is empty.
void BuildArgbLookup(const ColorPalette& palette, const std::vector<uint8_t>& alphaTable,
                     unsigned fileBits, unsigned bitmapBits, uint32_t (&lookup)[256]);

// Writes count converted pixels to the destination row at columns start,
// start + step, ...; triples get alpha 255 (a source of triples must have one
// readable byte after its last triple).
void ExpandRowToArgb(ArgbRowKind kind, const uint8_t* source, size_t count,
                     const uint32_t (&lookup)[256], uint8_t* destRow, size_t start, size_t step);

// Writes count converted pixels, as the colour manager made them (packed
// indices, triples or quads), to the destination row in the same format at
// columns start, start + step, ...; the other pixels of the row stay.
void ScatterNativeRow(ArgbRowKind kind, const uint8_t* source, size_t count, uint8_t* destRow,
                      size_t start, size_t step);
