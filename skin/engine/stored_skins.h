// Skins kept inside the form description: the manager's InternalSkins
// collection. Each item carries the bytes of a packed skin archive, streamed
// as the binary property "Data".
#pragma once

#include <memory>
#include <string>

#include "widgets/rtl/collections.h"
#include "widgets/graphics/colors.h"

class TBitmap;
class TMemoryStream;
class TsSkinManager;

class TsStoredSkin : public TCollectionItem {
  DECLARE_CLASS(TsStoredSkin, TCollectionItem)
 public:
  explicit TsStoredSkin(TCollection* Collection);
  ~TsStoredSkin() override;

  // Copies another stored skin; anything else (nil included) is refused
  // by the inherited Assign.
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler& Filer) override;

  std::string Name;
  std::string Author;
  std::string Description;
  int Shadow1Blur = -1;
  int Shadow1Offset = 0;
  int Shadow1Transparency = 0;
  TColor BorderColor = clFuchsia;
  TColor Shadow1Color = 0;
  double Version = 0;

  TBitmap* MasterBitmap() const { return masterBitmap_.get(); }
  void SetMasterBitmap(TBitmap* Value);
  // The archive bytes.
  TMemoryStream* PackedData() const { return packedData_.get(); }

 private:
  std::unique_ptr<TBitmap> masterBitmap_;
  std::unique_ptr<TMemoryStream> packedData_;
};

class TsStoredSkins : public TCollection {
  DECLARE_CLASS(TsStoredSkins, TCollection)
 public:
  explicit TsStoredSkins(TsSkinManager* Manager);
  ~TsStoredSkins() override;

  TsStoredSkin* Items(int Index) const;
  // The first item whose Name equals Name exactly; -1 when none.
  int IndexOfName(const std::string& Name) const;
  // Stored skins come only from the form description: assigning another
  // collection changes nothing.
  void Assign(TPersistent* Source) override;
  // Tells the manager that its list of skins changed.
  void Update(TCollectionItem* Item) override;
  TPersistent* GetOwner() const override;
  TsSkinManager* Manager() const { return manager_; }

 private:
  TsSkinManager* manager_;
};
