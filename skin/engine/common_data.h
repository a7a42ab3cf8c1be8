// The per-control skin state: which manager serves the control, its skin
// section and image indices, its cache bitmap, the update and hot/focus
// flags and the animation timer. It registers itself on the control's
// window as the property "VLSDATA", so code holding only a window handle
// finds it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "widgets/rtl/components.h"
#include "widgets/graphics/colors.h"
#include "widgets/controls/messages.h"
#include "widgets/rtl/sysutils.h"

class TBitmap;
class TWinControl;
struct BackgroundInfo;
struct BackgroundRequest;
class TControl;
class TsSkinManager;
class TvlThreadedTimer;
class TvlOuterEffects;

// StateFlags bits.
constexpr uint16_t sfTransparent = 0x0001;
constexpr uint16_t sfTransparencyUnknown = 0x0002;
constexpr uint16_t sfPrintDC = 0x0200;
constexpr uint16_t sfProvider = 0x0400;
constexpr uint16_t sfInUpdate = 0x0800;
constexpr uint16_t sfComboBox = 0x1000;
constexpr uint16_t sfSkinFontColor = 0x2000;

class TsCommonData : public TPersistent {
  DECLARE_CLASS(TsCommonData, TPersistent)
 public:
  TsCommonData(TPersistent* AOwner, bool CreateCacheBmp);
  ~TsCommonData() override;

  bool CustomFont = false;
  bool CustomColor = false;
  TBitmap* ShadowBitmap = nullptr;          // owned
  std::string SkinSection;                  // always upper-cased; empty: by kind
  TvlOuterEffects* OuterEffects = nullptr;  // owned
  TsSkinManager* OwnManager = nullptr;      // nil: DefaultManager
  TColor SavedColor = clNone;
  TColor SavedFontColor = clNone;
  bool Focused = false;
  bool Updating = false;
  bool Hot = false;
  bool CacheIncomplete = true;
  bool NotLoaded = true;
  int ControlKind = 0;
  int GlowIndex = -1;
  int TextureIndex = -1;
  int HUEOffset = 0;
  int Saturation = 0;
  int BorderIndex = -1;
  int ScalePercent = 100;
  int UpdateCount = 0;
  int HotTextureIndex = -1;
  HDC PrintDC = nullptr;
  TBitmap* CacheBitmap = nullptr;  // owned, 32-bit DIB
  TColor ColorTone = clNone;
  HWND WndHandle = nullptr;  // the window of an owner that is no control
  TPersistent* OwnerObject = nullptr;
  TvlThreadedTimer* AnimTimer = nullptr;  // owned, made on demand
  TWndMethod OwnerWndProc;                // DeliverMessage calls it directly
  uint16_t BgSizeFlags = 0;
  uint16_t StateFlags = sfTransparencyUnknown;
  bool BgChanged = true;
  int SkinIndex = -1;
  TControl* Control = nullptr;

  // ---- Properties
  TsSkinManager* SkinManager() const;
  void SetSkinManager(TsSkinManager* Value);
  void SetSkinSection(const std::string& Value);
  void SetCustomColor(bool Value);
  void SetCustomFont(bool Value);

  // ---- Section choice
  void Loaded(bool Repaint = true);
  void ChooseDefaultSection();
  void UpdateIndexes(bool ResolveSection);
  void UseFirstExistingSection(const std::string* Names, int High);

  // ---- State queries
  bool Skinned(bool CheckActive = false) const;
  int CurrentState() const;
  bool AnimationRunning() const;
  int GetScalePercent() const { return ScalePercent; }
  int BorderWidth() const;

  // ---- Updates
  void BeginUpdate();
  void EndUpdate(bool Repaint = false);
  bool IsUpdating() const;
  bool CheckUpdating(bool Reset = false);

  // ---- Invalidation and the cache
  void Invalidate(bool UpdateNow = false);
  void PrepareCacheBitmap();

  // ---- Background, colour and transparency answers
  // Which size changes need a new background (bits of the state-0 gradient
  // and texture).
  void UpdateBgSizeFlags();
  bool OuterEffectsAllowed() const;
  // False while the control shows its parent's background in its state.
  bool HasOwnBackground() const;
  // 0 opaque, 1 shows the parent's background, 2 not decidable yet (the
  // parent has no window).
  int ComputeTransparency();
  void UpdateTransparency(bool Recurse);
  bool IsFaceTransparent(int State) const;
  // The answer to SkinCmdGetBackground. Kind 3 asks the asker to come back
  // later; a bitmap answer always carries a bitmap with pixels.
  void FillBackgroundRequest(BackgroundRequest& Request, int State, HWND Wnd);
  TColor BgColor(int State, HWND Wnd);
  // The answer to SkinCmdGetBgColor.
  TColor BgColorAnswer();
  void GetParentBgInfo(BackgroundInfo& Info);
  bool NeedsRepaintOnMove();
  void RefreshParentCache();
  void ApplySectionColors(bool Repaint);
  void ApplyStateColors(bool NoRedrawLock);

  // Lets every visible, ready child of Parent paint its outer effect
  // (SkinCmdPaintOuterEffect) into this state's cache, its origin in the
  // cache moved by Offset. A parent calls it after its own background.
  void PaintChildrenOuterEffects(TWinControl* Parent, const TPoint& Offset);
  // The answer to SkinCmdPaintOuterEffect: the control's shadow from the
  // skin painted into the request's bitmap around the control's bounds.
  // Flags bit 0 (OuterEffectOverSaved): the bitmap still holds the last
  // shadow, which is not painted over again but replaced.
  void PaintOuterEffects(const BackgroundRequest& Request, unsigned Flags);
  // Image MaskIndex nine-sliced into Rect of Bitmap, state 0, its edge bands
  // at most Margins thick.
  void PaintOuterMask(TBitmap* Bitmap, const TRect& Rect, int Opacity, int MaskIndex,
                      const TRect& Margins);

  // ---- Glow
  // Shows the hover glow of section Index (< 0: the control's own) around
  // the control or around Wnd, or hides it when the control is not hot.
  // Animate fades it in (or out) instead of switching it at once.
  void ShowGlowEffect(bool KeepExisting, HWND Wnd, uint8_t Alpha, bool Animate, int Index);

 private:
  // Performs a message on the control or, without one, on a provider owner.
  void NotifyOwner(UINT Code);
  TColor DefaultBgColor() const;
  TColor ParentBgColor(HWND Wnd, TColor Fallback);
  // Kind 2 with the cache: painted into the request's DC when it asks for
  // painting, else handed out. Kind 3 while the cache has no pixels.
  void HandOutCache(BackgroundRequest& Request);
  bool CacheEmpty() const;
};

// Skin state of the editable controls: tone, hue and saturation published.
class TsCtrlSkinData : public TsCommonData {
  DECLARE_CLASS(TsCtrlSkinData, TsCommonData)
 public:
  using TsCommonData::TsCommonData;
  void SetColorTone(TColor Value);
  void SetHUEOffset(int Value);
  void SetSaturation(int Value);
};

// ---- Registration on the window

// Sets "VLSDATA" on the control's window when it has one (taking the
// control's window procedure first when none is known yet). Called by the
// constructor and again on WM_NCCREATE and WM_CREATE.
void RegisterSkinData(TsCommonData* SkinData);
// Removes "VLSDATA", also while the application terminates: a window may
// outlive its skin state then, and nobody may reach freed memory through it.
void UnregisterSkinData(TsCommonData* SkinData);
// The window the skin state lives on; never creates one.
HWND SkinDataHandle(const TsCommonData* SkinData);
void ClearSkinDataOwner(TsCommonData* SkinData);
// The skin state registered on a window, nil when none.
TsCommonData* GetSkinDataProp(HWND Wnd);

// ---- Background helpers around the skin state

bool IsSectionFaceTransparent(TsSkinManager* Manager, int Index, int State, TControl* Control);
// The control's tone, hue offset and saturation applied to a 32-bit bitmap
// (key-coloured pixels left alone), then the cache's transparent corners
// restored.
void ApplySkinDataFilters(TBitmap* Bitmap, TsCommonData* SkinData, int State);
// Puts what the parent shows back into the key-coloured corners of the
// control's cache (corner bits of nine_slice.h).
void RestoreTransparentCorners(TsCommonData* SkinData, int State, int Corners);
// Copies the DstRect-sized area of the cache at SrcPoint's top-left to DC,
// leaving out opaque children (their bounds moved by X, Y).
void CopyCacheExcludingChildren(TWinControl* Control, TsCommonData* SkinData, const TRect& SrcPoint,
                                const TRect& DstRect, HDC DC, bool RestoreCorners, int X, int Y);

// ---- Animations of the skin state
void StopAnimation(TsCommonData* SkinData);
void FinishAnimation(TvlThreadedTimer* Timer);

// ---- Scroll-bar sizes of a window

class TsScrollWndData;

// One direction's sizes of the skinned scroll bars a window adapter draws;
// -1 leaves each to the manager's scroll options, else to the system.
class TvlScrollData : public TPersistent {
  DECLARE_CLASS(TvlScrollData, TPersistent)
 public:
  explicit TvlScrollData(TsScrollWndData* AOwner) : owner_(AOwner) {}
  TsScrollWndData* Owner() const { return owner_; }
  int ScrollWidth() const { return scrollWidth_; }
  // A change measures the owner's frame again.
  void SetScrollWidth(int Value);
  int ButtonsSize() const { return buttonsSize_; }
  // A change repaints the owner's frame.
  void SetButtonsSize(int Value);

 private:
  TsScrollWndData* owner_;
  int scrollWidth_ = -1;
  int buttonsSize_ = -1;
};

// The skin state of a window with skinned scroll bars (forms, frames).
class TsScrollWndData : public TsCommonData {
  DECLARE_CLASS(TsScrollWndData, TsCommonData)
 public:
  TsScrollWndData(TPersistent* AOwner, bool CreateCacheBmp);
  ~TsScrollWndData() override;
  TvlScrollData* HorzScrollData = nullptr;  // owned
  TvlScrollData* VertScrollData = nullptr;  // owned
  TvlScrollData* Horz() const { return HorzScrollData; }
  TvlScrollData* Vert() const { return VertScrollData; }
};
