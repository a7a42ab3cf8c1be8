// TsHTMLLabel: a caption in tag markup with links that follow the mouse and
// open through the shell; TsEditLabel, the label a bound label makes.
#include "skin/controls/label.h"

#include <shellapi.h>

#include <algorithm>

#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_factories.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/flag_scope.h"

namespace {

TvlLinkOpener linkOpener = nullptr;

}  // namespace

void OpenLinkWithShell(HWND Owner, const std::string& Target, int ShowCmd) {
  ShellExecuteA(Owner, "open", Target.c_str(), nullptr, nullptr, ShowCmd);
}

void SetLinkOpener(TvlLinkOpener Opener) {
  linkOpener = Opener;
}

const TClassInfo& TsHTMLLabel::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsHTMLLabel> b("TsHTMLLabel", &TsLabel::StaticClass());
    b.Creatable();
    b.Bool(
        "UseHTML", [](const TsHTMLLabel& c) { return c.UseHTML(); },
        [](TsHTMLLabel& c, int v) { c.SetUseHTML(v != 0); }, true);
    b.Enum(
        "ShowMode", WindowShowModeInfo(), [](const TsHTMLLabel& c) { return c.ShowMode(); },
        [](TsHTMLLabel& c, int v) { c.SetShowMode(static_cast<TsWindowShowMode>(v)); }, soDefault);
    b.Event<&TsHTMLLabel::OnLinkClick>("OnLinkClick");
    return b.Done();
  }();
  return info;
}

const TClassInfo& TsEditLabel::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsEditLabel> b("TsEditLabel", &TsHTMLLabel::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TsHTMLLabel::TsHTMLLabel(TComponent* AOwner) : TsLabel(AOwner) {}

void TsHTMLLabel::SetUseHTML(bool Value) {
  if (useHTML_ == Value) return;
  useHTML_ = Value;
  Repaint();
}

std::string TsHTMLLabel::StripTags(const std::string& Text) {
  std::string s = Text;
  // Each round removes the first '<' (unless it is the last character) up
  // to the next '>' after it; a '<' with no '>' after it ends the removal.
  size_t from = 0;
  for (;;) {
    const size_t open = s.find('<', from);
    if (open == std::string::npos || open + 1 >= s.size()) break;
    const size_t close = s.find('>', open + 1);
    if (close == std::string::npos) break;
    s.erase(open, close - open + 1);
    from = open;
  }
  return s;
}

std::string TsHTMLLabel::PlainCaption() {
  return StripTags(Caption());
}

int TsHTMLLabel::LinkAt(int X, int Y) const {
  for (size_t i = 0; i < links_.size(); ++i) {
    const TvlLink& l = links_[i];
    if (X >= l.StartX && X < l.EndX && Y >= l.StartY && Y < l.EndY) return static_cast<int>(i);
  }
  return -1;
}

void TsHTMLLabel::LinkClick(int Index) {
  if (Index < 0 || static_cast<size_t>(Index) >= links_.size()) return;
  std::string link = links_[static_cast<size_t>(Index)].Href;
  bool defaultAction = true;
  if (OnLinkClick) OnLinkClick(this, link, defaultAction);
  if (link.empty() || !defaultAction) return;
  // The target comes from the caption: whoever sets the caption decides
  // what opens, so a caption must never carry text from outside.
  HWND owner = Application ? Application->Handle() : nullptr;
  if (linkOpener)
    linkOpener(owner, link, showMode_);
  else
    OpenLinkWithShell(owner, link, showMode_);
}

void TsHTMLLabel::DoDrawText(TRect& Rect, UINT Flags) {
  if (!useHTML_) {
    TsCustomLabel::DoDrawText(Rect, Flags);
    return;
  }
  const std::string caption = Caption();
  if (caption.empty()) return;
  const int w = std::max(Width(), 1);
  const int h = std::max(Height(), 1);
  TOwnedObject<TBitmap> bmp = OwnObject(NewArgbBitmap(w, h));
  TCanvas* bc = bmp->Canvas();
  bc->SetFont(GetCurrentFont());
  bc->Brush()->SetStyle(bsClear);
  bc->Font()->SetColor(GetCurrentFontColor());
  TsHtml html;
  html.Manager = SkinManager();
  TRect size;
  if (Flags & DT_CALCRECT) {
    html.Init(bmp.get(), caption, TRect(), pressedLinkIndex_, hotLinkIndex_);
    TvlLinks measured;
    html.Render(measured, true, size);
    Rect = TRect(Rect.Left, Rect.Top, Rect.Left + size.Right, Rect.Top + size.Bottom);
    return;
  }
  html.Init(bmp.get(), caption, Rect, pressedLinkIndex_, hotLinkIndex_);
  if (Alignment() != taLeftJustify) {
    TvlLinks measured;
    html.Render(measured, true, size);
    const int textWidth = size.Right;
    if (Alignment() == taRightJustify)
      Rect.Left = Rect.Right - textWidth;
    else
      Rect.Left = (Rect.Width() - textWidth) / 2;
    Rect.Right = Rect.Left + textWidth;
    html.LayoutRect = Rect;
    html.PenX = Rect.Left;
    html.PenY = Rect.Top;
  }
  HDC dc = Canvas()->Handle();
  BitBlt(bc->Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
  html.Render(links_, false, size);
  BitBlt(dc, 0, 0, w, h, bc->Handle(), 0, 0, SRCCOPY);
}

void TsHTMLLabel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      const int i = LinkAt(static_cast<short>(LOWORD(Message.LParam)),
                           static_cast<short>(HIWORD(Message.LParam)));
      if (i < 0) {
        if (hotLinkIndex_ >= 0) {
          hotLinkIndex_ = -1;
          SetCursor(crDefault);
          Repaint();
        }
      } else if (i != hotLinkIndex_) {
        hotLinkIndex_ = i;
        SetCursor(crHandPoint);
        Repaint();
      }
      break;
    }
    case WM_LBUTTONDOWN:
      if (hotLinkIndex_ >= 0) {
        pressedLinkIndex_ = hotLinkIndex_;
        Repaint();
      }
      break;
    case WM_LBUTTONUP:
      if (!inClick_ && pressedLinkIndex_ >= 0) {
        {
          TFlagScope clicking(inClick_);
          if (hotLinkIndex_ >= 0) LinkClick(pressedLinkIndex_);
          pressedLinkIndex_ = -1;
        }
        Repaint();
      }
      break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      if (hotLinkIndex_ >= 0 || pressedLinkIndex_ >= 0) {
        hotLinkIndex_ = pressedLinkIndex_ = -1;
        SetCursor(crDefault);
        Repaint();
      }
      break;
    default:
      break;
  }
  TsLabel::WndProc(Message);
}

// ---- TsEditLabel -----------------------------------------------------------------------

TsEditLabel::TsEditLabel(TComponent* AOwner) : TsHTMLLabel(AOwner) {}

TsEditLabel::~TsEditLabel() {
  // A parent frees its children on its own; the bound label must then
  // neither think its label exists nor free it a second time.
  if (boundLabel_) boundLabel_->LabelGone(this);
  boundLabel_ = nullptr;
}
