// The skin description reader: GLOBALINFO values, sections with their three
// painting states, PARENTCLASS inheritance, and the sections every skin
// ends with.
#pragma once

#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "skin/engine/skin_load_context.h"

class TvlSkinDescription;
struct TvlIniSection;

// GLOBALINFO VERSION with '.' as the decimal separator whatever the locale;
// 0 when absent or not a number.
double ReadSkinVersion(const TvlSkinDescription* Description);

// Reads keys of one description. A section's own key wins; an absent one
// (a negative number, an unreadable one, or a '?' text) comes from the
// PARENTCLASS chain, which ends at a section naming itself or at a section
// already visited.
class TvlSkinReader {
 public:
  TvlSkinReader(const TvlSkinDescription& Description, int DpiLevel)
      : ini_(Description), dpiLevel_(DpiLevel) {}

  int ReadInheritedInt(std::string_view Section, std::string_view Key, int Default,
                       int Limit = INT_MAX) const;
  std::string ReadInheritedString(std::string_view Section, std::string_view Key,
                                  const std::string& Default) const;
  // "TRUE" or "1" (case-sensitive) are true; any other text is false.
  bool ReadInheritedBool(std::string_view Section, std::string_view Key, bool Default) const;
  int ReadGlobalInt(const std::string& Key, int Default) const;
  // The key's DPI variant, else (above level 0) the plain value scaled to
  // the level; at level 0 a missing key gives -1.
  int ReadGlobalDpiInt(const std::string& Key, int Default) const;

  const TvlSkinDescription& Description() const { return ini_; }
  int DpiLevel() const { return dpiLevel_; }

 private:
  template <typename T, typename Read>
  T Inherited(std::string_view Section, T Miss, Read&& ReadOwn) const;
  // The section and its parents, nearest first, up to a missing parent or
  // back into the chain. A section's keys are read one after another, so
  // the chain of the last section asked for is kept.
  const std::vector<const TvlIniSection*>& Chain(std::string_view Section) const;

  const TvlSkinDescription& ini_;
  int dpiLevel_;
  mutable std::string chainOf_;
  mutable bool chainReady_ = false;
  mutable std::vector<const TvlIniSection*> chain_;
};

// Globals, sections, the manager's CommonSections, palette, TRANSPARENT,
// recolouring and MAINCOLOR, in that order.
void ReadSkinSections(TvlSkinLoad& Load);
