// The library's single-line edit: the platform edit with a skin. Skinned,
// it paints its whole window, frame included, from its cache while it does
// not have the focus (text drawn by the library, disabled look blended in);
// focused and enabled, the platform paints the client area while the user
// types and the library only the frame. Unskinned it is the platform edit.
#pragma once

#include <windows.h>

#include "skin/engine/bound_label.h"
#include "skin/engine/common_data.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/stdctrls.h"

// What the frame arithmetic reads of an edit.
struct TEditFrame {
  bool Bordered = true;  // BorderStyle bsSingle
  bool Ctl3D = true;
  TBevelKind BevelKind = bkNone;
  TBevelCut BevelInner = bvRaised;
  TBevelCut BevelOuter = bvLowered;
};

// Width of the frame the platform draws around the client area.
int EditEdgeWidth(const TEditFrame& Frame);
// Where the library draws the text into the cache of a Width x Height edit.
TRect EditTextRect(const TEditFrame& Frame, int Width, int Height, bool RightToLeft);
// How far a child's bounds move from client to window coordinates (-1
// without a border, the distance the platform's frame adds otherwise).
int EditChildOffset(const TEditFrame& Frame);

// The skin state is made before the platform edit: every message the
// platform part causes while it is built finds it already there.
class TsEditSkinStore {
 protected:
  TsEditSkinStore();
  ~TsEditSkinStore();
  TsEditSkinStore(const TsEditSkinStore&) = delete;
  TsEditSkinStore& operator=(const TsEditSkinStore&) = delete;

  TsCtrlSkinData* skinData_;  // owned
};

class TsEdit : private TsEditSkinStore, public TEdit {
  DECLARE_CLASS(TsEdit, TEdit)
 public:
  explicit TsEdit(TComponent* AOwner);
  ~TsEdit() override;
  void AfterConstruction() override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;

  TsCtrlSkinData* SkinData() const { return skinData_; }
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind Value);
  // The caption label beside the edit (made while its Active is set).
  TsBoundLabel* BoundLabel() const { return boundLabel_; }

  TEditFrame Frame() const;
  int EdgeWidth() const { return EditEdgeWidth(Frame()); }

  // Builds the cache: the section's face and frame over the parent's
  // background, the text, the disabled look. False while the parent's
  // background is not ready yet (nothing changed then).
  virtual bool PrepareCache();
  // The text, or one PasswordChar per character, into the cache.
  virtual void PaintText();
  // Leaves the children's places out of DC's clip (window coordinates).
  virtual void ExcludeChildControls(HDC DC);

  // The whole window from the cache; DC 0 takes the window's own DC.
  void PaintFromCache(HDC DC);
  // The frame strips from the cache into the window's non-client area.
  void PaintBorder();

 protected:
  // Every message that reached the platform edit ends here; it goes on to
  // the bound label.
  virtual void PassToBoundLabel(TMessage& Message);

 private:
  enum class TRoute { Done, Platform };
  using THandler = TRoute (TsEdit::*)(TMessage&);
  struct TRouteEntry {
    UINT Msg;
    THandler Handle;
  };
  static const TRouteEntry SkinnedRoutes[];

  bool Skinned() const { return skinData_->Skinned(); }
  bool OwnManager(const TMessage& Message) const;
  // Step one: the library's commands. Done when answered here.
  TRoute SkinCommand(TMessage& Message);
  TRoute SkinnedPaint(TMessage& Message);
  TRoute SkinnedErase(TMessage& Message);
  TRoute SkinnedNcPaint(TMessage& Message);
  TRoute SkinnedPrint(TMessage& Message);
  TRoute SkinnedColorChanged(TMessage& Message);
  // The platform, and what the skin must redo after it.
  void SkinnedCommon(TMessage& Message);
  void PlainMessage(TMessage& Message);
  // Rebuilds the cache when it is out of date; false when it could not.
  bool CacheReady();

  TsDisabledKind disabledKind_ = dkBlended;
  TsBoundLabel* boundLabel_ = nullptr;  // owned
};
