#include "skin/foundation/png_errors.h"

#include <string>

void RaisePngError(const char* message) {
  std::string text(message);
  for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 3))
    text.replace(at, 2, "PNG");
  throw EInvalidGraphic(std::move(text));
}
