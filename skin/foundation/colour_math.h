// Colour arithmetic of the skin library: mixes, brightness, saturation, hue
// and tone, bit-exact. Weights are 0..255 and every integer mix divides by
// 256 (shift by 8), never by 255.
#pragma once

#include <cstdint>

#include "skin/foundation/pixel_view.h"

// System colours (top byte 0xFF) become their RGB value; others stay as given.
uint32_t SkinColorToRgb(uint32_t color);

uint32_t MixTwoColors(uint32_t a, uint32_t b, uint8_t weight);
uint32_t ChangeColorBrightness(uint32_t color, int32_t amount);
uint32_t SaturatePixel(int32_t amount, uint32_t value);  // pixel order
inline uint32_t ChangeColorSaturation(uint32_t color, int32_t amount) {
  return SaturatePixel(amount, color);
}
uint32_t RotateHuePixel(int32_t offset, uint32_t value);  // pixel order
uint32_t ChangeColorHue(int32_t offset, uint32_t color);  // TColor order
uint32_t ToneColor(uint32_t value, uint32_t tone);        // opposite byte orders
// Text colour of a skinned control with its tone, hue offset and saturation.
uint32_t ControlToneColor(uint32_t color, uint32_t colorTone, int32_t hueOffset,
                          int32_t saturation);

// round(0.299 R + 0.587 G + 0.114 B) with R in byte 2, ties to even.
int PixelLuma(uint32_t value);

using PixelProc = void (*)(uint32_t* pixel, int32_t data);
void BrightnessPixelProc(uint32_t* pixel, int32_t data);
void SaturationPixelProc(uint32_t* pixel, int32_t data);
void HuePixelProc(uint32_t* pixel, int32_t data);
void TonePixelProc(uint32_t* pixel, int32_t data);

// Applies proc to every pixel except those equal to keyColor (a TColor, red
// and blue exchanged before the comparison); clNone visits every pixel.
void ForEachPixelExceptKey(const PixelView& bitmap, PixelProc proc, int32_t data,
                           uint32_t keyColor);
void GrayscaleArgb(const PixelView& bitmap);
void GrayscaleArgbExceptKey(const PixelView& bitmap, uint32_t keyValue);
