// Errors of the PNG reader and its colour conversion, with their messages.
//
// Malformed files raise EInvalidGraphic (the widget layer's class) with one of
// the formatted reader messages; EGraphicCompression and EColorConversionError
// are the decoder's and the colour manager's own classes.
#pragma once

#include "widgets/rtl/exceptions.h"

DECLARE_EXCEPTION(EGraphicCompression, Exception)
DECLARE_EXCEPTION(EColorConversionError, Exception)

namespace png_msg {
// Reader messages; every %s stands for "PNG".
inline constexpr char kInvalidFormat[] =
    "Cannot load image. Invalid or unexpected %s image format.";
inline constexpr char kCompressionScheme[] =
    "Cannot load image. The compression scheme is not supported for %s files.";
inline constexpr char kInvalidPalette[] = "Cannot load image. Palette in %s file is invalid.";
inline constexpr char kCriticalChunk[] =
    "Cannot load PNG image. Unexpected but critical chunk detected.";
inline constexpr char kCrcError[] = "Cannot load image. CRC error found in %s file.";
inline constexpr char kCompressionError[] =
    "Cannot load image. Compression error found in %s file.";
inline constexpr char kExtraData[] = "Cannot load image. Extra compressed data found in %s file.";
inline constexpr char kInvalidColorFormat[] = "Invalid color format in %s file.";
inline constexpr char kLz77Error[] = "LZ77 decompression error.";
// Beyond the decoder's format messages: the reader's limits (png_reader.h) and memory.
inline constexpr char kTooLarge[] =
    "Cannot load image. The %s image is larger than this reader accepts "
    "(16384 pixels a side, 16777216 pixels in all).";
inline constexpr char kDataTooShort[] =
    "Cannot load image. The image data in %s file is too short for the image size.";
inline constexpr char kOutOfMemory[] = "Cannot load image. Not enough memory for the %s image.";

// Colour manager messages.
inline constexpr char kBadSampleBits[] =
    "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
inline constexpr char kBadChannelCount[] =
    "Sample count per pixel does not correspond to the given color scheme.";
inline constexpr char kIndexedMismatch[] =
    "Conversion between indexed and non-indexed pixel formats is not supported.";
inline constexpr char kNoConverter[] = "Color conversion failed. Could not find a proper method.";
}  // namespace png_msg

// Raises EInvalidGraphic with one of the reader messages, "PNG" filled in.
[[noreturn]] void RaisePngError(const char* message);
// Raises EOutOfResources with kOutOfMemory: what a failed allocation while
// loading a PNG becomes, so that no std::bad_alloc leaves the reader.
[[noreturn]] void RaisePngOutOfMemory();
