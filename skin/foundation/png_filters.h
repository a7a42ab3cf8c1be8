// The five row filters of PNG, undone in place.
#pragma once

#include <cstddef>
#include <cstdint>

// line and previousLine hold rowBytes bytes each (without the filter byte);
// bytesPerPixel is at least 1. An unknown filter type leaves the row as it is.
void ApplyRowFilter(uint8_t filterType, uint8_t* line, const uint8_t* previousLine,
                    size_t bytesPerPixel, size_t rowBytes);
