#include "skin/foundation/png_errors.h"

#include <string>

namespace {
std::string WithPng(const char* message) {
  std::string text(message);
  for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 3))
    text.replace(at, 2, "PNG");
  return text;
}
}  // namespace

void RaisePngError(const char* message) {
  throw EInvalidGraphic(WithPng(message));
}

void RaisePngOutOfMemory() {
  throw EOutOfResources(WithPng(png_msg::kOutOfMemory));
}
