#include "widgets/graphics/graphics.h"
#include "widgets/rtl/reflection.h"

namespace {

bool ColorIdent(std::string_view ident, int64_t& value) {
  TColor c;
  if (!IdentToColor(ident, c)) return false;
  value = c;
  return true;
}

bool CharsetIdent(std::string_view ident, int64_t& value) {
  int c;
  if (!IdentToCharset(ident, c)) return false;
  value = c;
  return true;
}

}  // namespace

void InitGraphicsUnit() {
  RegisterIntegerIdents(ColorIdent);
  RegisterIntegerIdents(CharsetIdent);
}
