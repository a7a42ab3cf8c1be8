// TsCustomLabel and TsLabel: the skinned background, the caption colour and
// the skinned text drawing with its ellipsis.
#include "skin/controls/label.h"

#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_text.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/flag_scope.h"

namespace {

// Set while a label answers a font change: sizing itself changes no font,
// but a handler of the sizing may, and must not start another round.
bool inFontChange = false;

}  // namespace

const TClassInfo& TsCustomLabel::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsCustomLabel> b("TsCustomLabel", &TCustomLabel::StaticClass());
    b.Str(
        "SkinSection", [](const TsCustomLabel& c) { return c.SkinSection(); },
        [](TsCustomLabel& c, const std::string& v) { c.SetSkinSection(v); });
    TPropInfo& manager = b.Obj(
        "SkinManager", TPropKind::Component, TsSkinManager::StaticClass(),
        [](const TsCustomLabel& c) -> TObject* { return c.SkinManager(); },
        [](TsCustomLabel& c, TObject* v) { c.SetSkinManager(dynamic_cast<TsSkinManager*>(v)); });
    manager.Stored = [](const TObject* o) {
      return static_cast<const TsCustomLabel*>(o)->OwnSkinManager() != nullptr;
    };
    return b.Done();
  }();
  return info;
}

const TClassInfo& TsLabel::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsLabel> b("TsLabel", &TsCustomLabel::StaticClass());
    b.Creatable();
    b.Bool(
        "UseSkinColor", [](const TsLabel& c) { return c.UseSkinColor(); },
        [](TsLabel& c, int v) { c.SetUseSkinColor(v != 0); }, true);
    return b.Done();
  }();
  return info;
}

TsCustomLabel::TsCustomLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
  SetTransparent(true);
}

void TsCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinManager_) skinManager_ = nullptr;
}

TsSkinManager* TsCustomLabel::SkinManager() const {
  return skinManager_ ? skinManager_ : DefaultManager;
}

void TsCustomLabel::SetSkinManager(TsSkinManager* Value) {
  if (Value == skinManager_) return;
  skinManager_ = Value;
  if (Value) Value->FreeNotification(this);
  Repaint();
}

void TsCustomLabel::SetSkinSection(const std::string& Value) {
  if (Value == skinSection_) return;
  sectionIndex_ = -1;
  skinSection_ = Value;
  Repaint();
}

bool TsCustomLabel::SkinInForce() const {
  TsSkinManager* m = SkinManager();
  return m && m->Active() && m->CommonSkinData && m->CommonSkinData->Loaded;
}

int TsCustomLabel::SectionIndex() {
  TsSkinManager* m = SkinManager();
  if (!skinSection_.empty() && sectionIndex_ < 0 && m && m->Active())
    sectionIndex_ = FindSectionIndex(m, skinSection_);
  return sectionIndex_;
}

TFont* TsCustomLabel::GetCurrentFont() {
  return Font();
}

TColor TsCustomLabel::GetCurrentFontColor() {
  TsSkinManager* m = SkinManager();
  if (Enabled() && m && m->Active()) return m->GetGlobalFontColor();
  return static_cast<TColor>(MixTwoColors(static_cast<uint32_t>(ColorToRGB(Font()->Color())),
                                          static_cast<uint32_t>(GetControlBgColor(Parent())),
                                          DisabledBlendLevel));
}

void TsCustomLabel::GetParentBgInfo(BackgroundInfo& Info) {
  BackgroundRequest r;
  r.OffsetX = Left();
  r.OffsetY = Top();
  QueryControlBackground(r, Parent(), false);
  BackgroundInfoFromRequest(r, Info);
}

void TsCustomLabel::Paint() {
  if (!HasState(csDestroying)) {
    const int index = SectionIndex();
    if (index >= 0) {
      BackgroundInfo bg;
      GetParentBgInfo(bg);
      PaintSkinSectionToDC(index, bg, 0, TRect(0, 0, Width(), Height()), TPoint(0, 0),
                           Canvas()->Handle(), SkinManager());
    }
  }
  TCustomLabel::Paint();
  sectionIndex_ = -1;
}

size_t EllipsisCut(const std::string& Base, UINT CodePage) {
  const size_t space = Base.find_last_of(" \t");
  if (space != std::string::npos) return space;
  // The start of the last character, walking from the front: only there is
  // it known which bytes are lead bytes.
  size_t last = 0;
  for (size_t i = 0; i < Base.size();) {
    last = i;
    const bool lead = IsDBCSLeadByteEx(CodePage, static_cast<BYTE>(Base[i]));
    i += (lead && i + 1 < Base.size()) ? 2 : 1;
  }
  return last;
}

void TsCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  if (!SkinInForce()) {
    TCustomLabel::DoDrawText(Rect, Flags);
    return;
  }
  std::string text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == "&"))) text += ' ';
  DrawSkinnedText(std::move(text), Rect, Flags);
}

void TsCustomLabel::DrawSkinnedText(std::string Text, TRect& Rect, UINT Flags) {
  UINT format = DrawTextBiDiModeFlags(Flags | (ShowAccelChar() ? 0 : DT_NOPREFIX));
  TCanvas* c = Canvas();
  c->SetFont(GetCurrentFont());
  if (EllipsisPosition() != epNone && !AutoSize()) {
    static const UINT kEllipsis[] = {0, DT_PATH_ELLIPSIS, DT_END_ELLIPSIS, DT_WORD_ELLIPSIS};
    format = (format & ~UINT{DT_EXPANDTABS}) | kEllipsis[EllipsisPosition()];
    if (WordWrap() && EllipsisPosition() != epPathEllipsis) {
      HDC dc = c->Handle();
      SIZE dots{};
      GetTextExtentPoint32A(dc, "...", 3, &dots);
      TEXTMETRICA tm{};
      GetTextMetricsA(dc, &tm);
      const int limit = std::max(ClientHeight(), static_cast<int>(tm.tmHeight));
      const UINT measure = (format & ~UINT{DT_END_ELLIPSIS | DT_WORD_ELLIPSIS}) | DT_CALCRECT;
      std::string base = Text;
      std::string candidate = Text;
      for (;;) {
        RECT r{Rect.Left, Rect.Top, Rect.Right - dots.cx, Rect.Top};
        DrawTextA(dc, candidate.c_str(), static_cast<int>(candidate.size()), &r, measure);
        if (r.bottom - r.top <= limit) break;
        base.erase(EllipsisCut(base, CP_ACP));
        if (base.empty()) return;
        candidate = base + "...";
      }
      Text = std::move(candidate);
    }
  }
  c->Font()->SetColor(GetCurrentFontColor());
  DrawTextA(c->Handle(), Text.c_str(), static_cast<int>(Text.size()), Rect.AsRECT(), format);
}

void TsCustomLabel::WndProc(TMessage& Message) {
  if (Message.Msg == CM_FONTCHANGED && !HasState(csLoading | csDestroying) && !inFontChange) {
    TFlagScope busy(inFontChange);
    if (AutoSize()) AdjustBounds();
    Invalidate();
    return;
  }
  TCustomLabel::WndProc(Message);
  if (Message.Msg != SkinCommandMessage) return;
  switch (SkinCmdCode(Message.WParam)) {
    case SkinCmdRemoveSkin:
      if (HasState(csDesigning | csDestroying)) return;
      if (restoreParentFont_) SetParentFont(true);
      sectionIndex_ = -1;
      Invalidate();
      return;
    case SkinCmdRefresh:
      if (HasState(csDesigning | csDestroying)) return;
      if (ParentFont()) restoreParentFont_ = true;
      sectionIndex_ = -1;
      Invalidate();
      return;
    case SkinCmdGetBgSection: {
      TsSkinManager* m = SkinManager();
      if (m && m->Active() && Parent() && skinSection_.empty() && Message.LParam)
        Message.Result =
            QueryBackgroundSection(Parent(), *reinterpret_cast<BgSectionQuery*>(Message.LParam));
      return;
    }
    default:
      return;
  }
}

// ---- TsLabel ---------------------------------------------------------------------

TsLabel::TsLabel(TComponent* AOwner) : TsCustomLabel(AOwner) {}

void TsLabel::SetUseSkinColor(bool Value) {
  if (useSkinColor_ == Value) return;
  useSkinColor_ = Value;
  Invalidate();
}

TColor TsLabel::GetCurrentFontColor() {
  TsSkinManager* m = SkinManager();
  if (!useSkinColor_ || !m || !m->Active()) return Font()->Color();
  const int i = EffectiveSectionIndex(this, SectionIndex(), m, 0);
  const TColor c = SectionIndexValid(m, i) ? static_cast<TColor>(m->Section(i).Props[0].FontColor)
                                           : m->GetGlobalFontColor();
  if (Enabled()) return c;
  return static_cast<TColor>(MixTwoColors(static_cast<uint32_t>(ColorToRGB(c)),
                                          static_cast<uint32_t>(GetControlBgColor(Parent())),
                                          DisabledBlendLevel));
}
