// What one skin load works on: the fresh content being filled, the
// GLOBALINFO values read so far, the description and where the skin's
// files lie. The manager only lends its options and is every image's owner.
#pragma once

#include <string>

class TvlSkinConvertor;
class TvlSkinDescription;
class TsSkinManager;
class TvlSkinContent;
struct TsSkinGlobals;

struct TvlSkinLoad {
  TsSkinManager* Manager;
  TvlSkinContent& Skin;
  TsSkinGlobals& Globals;
  const TvlSkinDescription* Description;  // nil: nothing to read
  std::string SkinDirectory;              // ends in a backslash
  int DpiLevel;                           // the manager's effective DPI level
  // A packed skin's unpacked files; nil for a folder skin. Image names of a
  // packed skin are looked up only here, never on disk.
  const TvlSkinConvertor* Archive = nullptr;
};
