// TLabel: a graphic control that draws its caption on the parent.
#include <algorithm>

#include "widgets/controls/stdctrls.h"
#include "widgets/graphics/canvas_on_dc.h"

const TEnumInfo& TCustomLabel::AlignmentInfo() {
  static const TEnumInfo info{{"taLeftJustify", "taRightJustify", "taCenter"}};
  return info;
}

const TEnumInfo& TCustomLabel::LayoutInfo() {
  static const TEnumInfo info{{"tlTop", "tlCenter", "tlBottom"}};
  return info;
}

const TEnumInfo& TCustomLabel::EllipsisInfo() {
  static const TEnumInfo info{{"epNone", "epPathEllipsis", "epEndEllipsis", "epWordEllipsis"}};
  return info;
}

const TClassInfo& TCustomLabel::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomLabel> b("TCustomLabel", &TGraphicControl::StaticClass());
    b.Str(
        "Caption", [](const TCustomLabel& c) { return const_cast<TCustomLabel&>(c).Caption(); },
        [](TCustomLabel& c, const std::string& v) { c.SetCaption(v); });
    b.Enum(
        "Alignment", AlignmentInfo(), [](const TCustomLabel& c) { return c.Alignment(); },
        [](TCustomLabel& c, int v) { c.SetAlignment(static_cast<TAlignment>(v)); }, taLeftJustify);
    b.Bool(
        "AutoSize", [](const TCustomLabel& c) { return c.AutoSize(); },
        [](TCustomLabel& c, int v) { c.SetAutoSize(v != 0); }, true);
    b.Enum(
        "Layout", LayoutInfo(), [](const TCustomLabel& c) { return c.Layout(); },
        [](TCustomLabel& c, int v) { c.SetLayout(static_cast<TTextLayout>(v)); }, tlTop);
    b.Bool(
        "ShowAccelChar", [](const TCustomLabel& c) { return c.ShowAccelChar(); },
        [](TCustomLabel& c, int v) { c.SetShowAccelChar(v != 0); }, true);
    b.Ord(
        "Transparent", TPropKind::Boolean, [](const TCustomLabel& c) { return c.Transparent(); },
        [](TCustomLabel& c, int v) { c.SetTransparent(v != 0); });
    b.Bool(
        "WordWrap", [](const TCustomLabel& c) { return c.WordWrap(); },
        [](TCustomLabel& c, int v) { c.SetWordWrap(v != 0); }, false);
    b.Enum(
        "EllipsisPosition", EllipsisInfo(),
        [](const TCustomLabel& c) { return c.EllipsisPosition(); },
        [](TCustomLabel& c, int v) { c.SetEllipsisPosition(static_cast<TEllipsisPosition>(v)); },
        epNone);
    b.Obj(
        "FocusControl", TPropKind::Component, TWinControl::StaticClass(),
        [](const TCustomLabel& c) -> TObject* { return c.FocusControl(); },
        [](TCustomLabel& c, TObject* v) { c.SetFocusControl(dynamic_cast<TWinControl*>(v)); });
    return b.Done();
  }();
  return info;
}

const TClassInfo& TLabel::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TLabel> b("TLabel", &TCustomLabel::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  controlStyle_ |= csReplicatable;
  // Themed parents (tab bodies, group boxes) show through a label.
  if (!ThemesEnabled()) controlStyle_ |= csOpaque;
  InitBounds(0, 0, 65, 17);
  InitParentColor(true);
  InitColor(clBtnFace);
}

void TCustomLabel::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool v) {
  if (autoSize_ == v) return;
  autoSize_ = v;
  AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout v) {
  if (layout_ == v) return;
  layout_ = v;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v) {
  if (showAccelChar_ == v) return;
  showAccelChar_ = v;
  Invalidate();
}

void TCustomLabel::SetTransparent(bool v) {
  if (Transparent() == v) return;
  if (v)
    controlStyle_ &= ~csOpaque;
  else
    controlStyle_ |= csOpaque;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool v) {
  if (wordWrap_ == v) return;
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetEllipsisPosition(TEllipsisPosition v) {
  if (ellipsis_ == v) return;
  ellipsis_ = v;
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* v) {
  focusControl_ = v;
  if (v) v->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

std::string TCustomLabel::GetLabelText() {
  return Caption();
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  std::string text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
  if (!showAccelChar_) Flags |= DT_NOPREFIX;
  Flags = DrawTextBiDiModeFlags(Flags);
  TCanvas* c = Canvas();
  c->SetFont(Font());
  // An ellipsis only makes sense in a fixed size: an auto-sized label grows.
  if (ellipsis_ != epNone && !autoSize_) {
    static const UINT kEllipsis[] = {0, DT_PATH_ELLIPSIS, DT_END_ELLIPSIS, DT_WORD_ELLIPSIS};
    Flags = (Flags & ~UINT{DT_EXPANDTABS}) | kEllipsis[ellipsis_];
    // The platform ends only single lines with "...": wrapped text is cut
    // word by word until what is left, with "...", fits the height.
    if (wordWrap_ && ellipsis_ != epPathEllipsis && !ShortenToHeight(text, Rect, Flags)) return;
  }
  int len = static_cast<int>(text.size());
  if (!Enabled()) {
    // The engraved look: highlight one pixel down and right, shadow on top.
    OffsetRect(Rect.AsRECT(), 1, 1);
    c->Font()->SetColor(clBtnHighlight);
    DrawTextA(c->Handle(), text.c_str(), len, Rect.AsRECT(), Flags);
    OffsetRect(Rect.AsRECT(), -1, -1);
    c->Font()->SetColor(clBtnShadow);
    DrawTextA(c->Handle(), text.c_str(), len, Rect.AsRECT(), Flags);
  } else {
    DrawTextA(c->Handle(), text.c_str(), len, Rect.AsRECT(), Flags);
  }
}

bool TCustomLabel::ShortenToHeight(std::string& Text, const TRect& Rect, UINT Flags) {
  HDC dc = Canvas()->Handle();
  SIZE dots{};
  GetTextExtentPoint32A(dc, "...", 3, &dots);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  int limit = std::max(ClientHeight(), static_cast<int>(tm.tmHeight));
  std::string base = Text;
  std::string candidate = Text;
  for (;;) {
    RECT r{Rect.Left, Rect.Top, Rect.Right - dots.cx, Rect.Top};
    DrawTextA(dc, candidate.c_str(), static_cast<int>(candidate.size()), &r,
              (Flags & ~UINT{DT_END_ELLIPSIS | DT_WORD_ELLIPSIS}) | DT_CALCRECT);
    if (r.bottom - r.top <= limit) break;
    size_t cut = base.find_last_of(" \t");
    if (cut == std::string::npos) {
      cut = base.size() - 1;
      if (cut > 0 && IsDBCSLeadByte(static_cast<BYTE>(base[cut - 1]))) --cut;
    }
    base.erase(cut);
    if (base.empty()) return false;
    candidate = base + "...";
  }
  Text = candidate;
  return true;
}

namespace {
UINT AlignmentFlags(TAlignment a) {
  return a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : DT_LEFT;
}
}  // namespace

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  }
  c->Brush()->SetStyle(bsClear);
  UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentFlags(alignment_);
  if (layout_ != tlTop) {
    TRect calc = r;
    DoDrawText(calc, flags | DT_CALCRECT);
    int off = layout_ == tlBottom ? r.Height() - calc.Bottom : (r.Height() - calc.Bottom) / 2;
    OffsetRect(r.AsRECT(), 0, off);
  }
  DoDrawText(r, flags);
}

// AutoSize: the caption's extent on the screen, keeping the aligned edge.
void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || HasState(csReading) || HasState(csLoading)) return;
  TRect r = ClientRect();
  {
    TWindowDC screen(nullptr);
    TCanvas* c = Canvas();
    if (auto* cc = dynamic_cast<TControlCanvas*>(c)) cc->FreeHandle();
    TCanvasOnDC on(*c, screen.Get());
    DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
  }
  int x = Left();
  TAlignment a = alignment_;
  if (UseRightToLeftAlignment() && a != taCenter)
    a = a == taLeftJustify ? taRightJustify : taLeftJustify;
  if (a == taRightJustify) x += Width() - r.Right;
  SetBounds(x, Top(), r.Right, r.Bottom);
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      AdjustBounds();
      return;
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(m);
      AdjustBounds();
      return;
    case CM_DIALOGCHAR:
      if (focusControl_ && Enabled() && showAccelChar_ &&
          IsAccel(static_cast<WORD>(m.WParam), Caption()) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
      }
      return;
    default:
      TGraphicControl::Dispatch(m);
  }
}
