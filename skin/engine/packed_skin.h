// A skin travelling as one file: the packed archive, its reader that unpacks
// the description and the image files into memory, and the preview picture
// the skin list shows. The program only reads archives.
//
// Layout (little-endian): "QMzf", int32 entry count, then per entry an
// int32 name length, the name, an int32 unpacked size and a zlib stream; the
// next entry starts right after the stream. The preview is the int32 length
// and PNG bytes after the first "previewimg" anywhere in the file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "widgets/rtl/components.h"

class TMemoryStream;
class TStream;
class TsSkinManager;

struct TvlImageItem {
  std::string Name;  // as stored
  bool IsBmp = false;
  std::unique_ptr<TMemoryStream> Stream;
};
using TvlImageItems = std::vector<TvlImageItem>;

class TvlSkinConvertor : public TPersistent {
  DECLARE_CLASS(TvlSkinConvertor, TPersistent)
 public:
  TvlSkinConvertor();
  ~TvlSkinConvertor() override;

  // Frees every item (the last first) and the description.
  void Clear();
  // The unpacked file whose name equals Name when both are upper-cased; nil
  // when the archive has none. Names are only compared, never opened.
  TMemoryStream* FindItem(const std::string& Name) const;

  std::unique_ptr<TMemoryStream> Description;  // nil when the archive has none
  TStream* Source = nullptr;                   // the archive being read; not owned
  int32_t ImageCount = 0;
  TvlImageItems Items;
};

// Unpacks the archive in Convertor.Source. False, after an error box, when
// the signature is wrong. Any other damage (lengths out of range, a
// truncated file, broken or mis-sized zlib data) raises one Exception saying
// the archive is not valid; the convertor then holds no description.
bool ReadPackedSkin(TvlSkinConvertor& Convertor, TsSkinManager* Manager);
// ReadPackedSkin with Source lent to the convertor for the read only.
bool ReadPackedSkinFrom(TStream& Source, TvlSkinConvertor& Convertor, TsSkinManager* Manager);
// The same for a file; nothing happens (true) when it does not exist.
// Convertor is created when nil, else cleared.
bool ReadPackedSkinFile(const std::string& FileName, std::unique_ptr<TvlSkinConvertor>& Convertor,
                        TsSkinManager* Manager);

// The reader keeps the memory of the files it unpacked for the next archive
// (see packed_skin.cpp); this gives it back.
void FreeSpareArchiveFiles();

// The preview picture's bytes into Dest (rewound); false when Source holds
// no marker or its length does not fit in what follows.
bool ReadArchivePreview(TMemoryStream& Dest, TStream& Source);
bool ReadArchiveFilePreview(TMemoryStream& Dest, const std::string& FileName);
