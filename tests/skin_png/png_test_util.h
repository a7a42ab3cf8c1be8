// Shared helpers of the PNG tests: decoding into a guarded buffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/foundation/png_reader.h"

// Inputs of the mutation run (the command line may raise it).
extern long g_pngMutationCount;

enum class DecodeOutcome { Decoded, InvalidGraphic, Compression, ColorConversion, OutOfMemory };

struct DecodeResult {
  DecodeOutcome Outcome = DecodeOutcome::Decoded;
  std::string Message;
  uint32_t Width = 0;
  uint32_t Height = 0;
  std::vector<uint32_t> Pixels;  // top-down, as words 0xAARRGGBB
  size_t Consumed = 0;
  bool GuardsIntact = true;  // nothing was written outside the image
};

// Decodes into a bottom-up target (negative stride, as DIBs are) surrounded
// by guard bytes, made only when the reader asks for it (after its checks).
// Exceptions of the reader's own classes become outcomes; any other escapes.
DecodeResult DecodeGuarded(const std::vector<uint8_t>& file, TColorManager* shared = nullptr);
