// TControl: geometry, state setters and their CM_ messages, text, mouse.
#include <algorithm>

#include "widgets/controls/actions.h"
#include "widgets/controls/controls.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/flag_scope.h"
#include "widgets/menus/menus.h"

namespace {
TControl* captureControl = nullptr;
TControl* mouseControl = nullptr;
}  // namespace

const TEnumInfo& TControl::AlignInfo() {
  static const TEnumInfo info{
      {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}};
  return info;
}

const TEnumInfo& TControl::BiDiModeInfo() {
  static const TEnumInfo info{
      {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"}};
  return info;
}

const TClassInfo& TSizeConstraints::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TSizeConstraints> b("TSizeConstraints", &TPersistent::StaticClass());
    b.Int(
        "MaxHeight", [](const TSizeConstraints& c) { return c.MaxHeight(); },
        [](TSizeConstraints& c, int v) { c.SetMaxHeight(v); }, 0);
    b.Int(
        "MaxWidth", [](const TSizeConstraints& c) { return c.MaxWidth(); },
        [](TSizeConstraints& c, int v) { c.SetMaxWidth(v); }, 0);
    b.Int(
        "MinHeight", [](const TSizeConstraints& c) { return c.MinHeight(); },
        [](TSizeConstraints& c, int v) { c.SetMinHeight(v); }, 0);
    b.Int(
        "MinWidth", [](const TSizeConstraints& c) { return c.MinWidth(); },
        [](TSizeConstraints& c, int v) { c.SetMinWidth(v); }, 0);
    return b.Done();
  }();
  return info;
}

namespace {
void SetLimit(int& field, int v, bool& changed) {
  v = std::max(0, v);
  if (field == v) return;
  field = v;
  changed = true;
}
}  // namespace

void TSizeConstraints::SetMaxWidth(int v) {
  bool changed = false;
  SetLimit(maxWidth_, v, changed);
  if (changed) Changed();
}

void TSizeConstraints::SetMaxHeight(int v) {
  bool changed = false;
  SetLimit(maxHeight_, v, changed);
  if (changed) Changed();
}

void TSizeConstraints::SetMinWidth(int v) {
  bool changed = false;
  SetLimit(minWidth_, v, changed);
  if (changed) Changed();
}

void TSizeConstraints::SetMinHeight(int v) {
  bool changed = false;
  SetLimit(minHeight_, v, changed);
  if (changed) Changed();
}

void TSizeConstraints::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TSizeConstraints*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  maxWidth_ = s->maxWidth_;
  maxHeight_ = s->maxHeight_;
  minWidth_ = s->minWidth_;
  minHeight_ = s->minHeight_;
  Changed();
}

void TSizeConstraints::Apply(int& Width, int& Height) const {
  if (minWidth_ > 0) Width = std::max(Width, minWidth_);
  if (minHeight_ > 0) Height = std::max(Height, minHeight_);
  if (maxWidth_ > 0) Width = std::min(Width, maxWidth_);
  if (maxHeight_ > 0) Height = std::min(Height, maxHeight_);
}

void TSizeConstraints::Changed() {
  if (OnChange) OnChange(this);
}

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TControl> b("TControl", &TComponent::StaticClass());
    b.Int(
        "Left", [](const TControl& c) { return c.Left(); },
        [](TControl& c, int v) { c.SetLeft(v); });
    b.Int(
        "Top", [](const TControl& c) { return c.Top(); }, [](TControl& c, int v) { c.SetTop(v); });
    b.Int(
        "Width", [](const TControl& c) { return c.Width(); },
        [](TControl& c, int v) { c.SetWidth(v); });
    b.Int(
        "Height", [](const TControl& c) { return c.Height(); },
        [](TControl& c, int v) { c.SetHeight(v); });
    b.Enum(
        "Align", AlignInfo(), [](const TControl& c) { return c.Align(); },
        [](TControl& c, int v) { c.SetAlign(static_cast<TAlign>(v)); }, alNone);
    b.Bool(
        "Visible", [](const TControl& c) { return c.Visible(); },
        [](TControl& c, int v) { c.SetVisible(v != 0); }, true);
    b.Bool(
        "Enabled", [](const TControl& c) { return c.Enabled(); },
        [](TControl& c, int v) { c.SetEnabled(v != 0); }, true);
    b.Obj(
        "Font", TPropKind::Object, TFont::StaticClass(),
        [](const TControl& c) -> TObject* { return c.Font(); },
        [](TControl& c, TObject* v) { c.Font()->Assign(dynamic_cast<TPersistent*>(v)); });
    b.Obj(
        "PopupMenu", TPropKind::Component, TPopupMenu::StaticClass(),
        [](const TControl& c) -> TObject* { return c.PopupMenu(); },
        [](TControl& c, TObject* v) { c.SetPopupMenu(dynamic_cast<TPopupMenu*>(v)); });
    b.Bool(
        "ParentFont", [](const TControl& c) { return c.ParentFont(); },
        [](TControl& c, int v) { c.SetParentFont(v != 0); }, true);
    b.Ord(
        "Color", TPropKind::Color, [](const TControl& c) { return c.Color(); },
        [](TControl& c, int v) { c.SetColor(v); });
    b.Bool(
        "ParentColor", [](const TControl& c) { return c.ParentColor(); },
        [](TControl& c, int v) { c.SetParentColor(v != 0); }, false);
    b.Enum(
        "BiDiMode", BiDiModeInfo(), [](const TControl& c) { return c.BiDiMode(); },
        [](TControl& c, int v) { c.SetBiDiMode(static_cast<TBiDiMode>(v)); }, bdLeftToRight);
    b.Bool(
        "ParentBiDiMode", [](const TControl& c) { return c.ParentBiDiMode(); },
        [](TControl& c, int v) { c.SetParentBiDiMode(v != 0); }, true);
    b.Str(
        "Hint", [](const TControl& c) { return c.Hint(); },
        [](TControl& c, const std::string& v) { c.SetHint(v); });
    b.Bool(
        "ShowHint", [](const TControl& c) { return c.ShowHint(); },
        [](TControl& c, int v) { c.SetShowHint(v != 0); }, false);
    b.Int(
        "Cursor", [](const TControl& c) { return c.Cursor(); },
        [](TControl& c, int v) { c.SetCursor(v); }, crDefault);
    b.Obj(
        "Constraints", TPropKind::Object, TSizeConstraints::StaticClass(),
        [](const TControl& c) -> TObject* { return c.Constraints(); },
        [](TControl& c, TObject* v) { c.SetConstraints(dynamic_cast<TSizeConstraints*>(v)); });
    b.Event<&TControl::OnClick>("OnClick");
    b.Event<&TControl::OnDblClick>("OnDblClick");
    b.Event<&TControl::OnResize>("OnResize");
    b.Event<&TControl::OnMouseEnter>("OnMouseEnter");
    b.Event<&TControl::OnMouseLeave>("OnMouseLeave");
    b.Event<&TControl::OnMouseDown>("OnMouseDown");
    b.Event<&TControl::OnMouseUp>("OnMouseUp");
    b.Event<&TControl::OnMouseMove>("OnMouseMove");
    return b.Done();
  }();
  return info;
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner),
      font_(std::make_unique<TFont>()),
      constraints_(std::make_unique<TSizeConstraints>()) {
  WindowProc = TWndMethod::Of<&TControl::WndProc>(this);
  font_->OnChange = TNotifyEvent::Of<&TControl::FontChanged>(this);
  constraints_->OnChange = TNotifyEvent::Of<&TControl::ConstraintsChanged>(this);
}

// New limits apply to the present size at once.
void TControl::ConstraintsChanged(TObject*) {
  SetBounds(left_, top_, width_, height_);
}

void TControl::BeforeDestruction() {
  SetState(csDestroying);
  // The parent hears of the removal while this control is whole.
  if (parent_) parent_->RemoveControl(this);
  TComponent::BeforeDestruction();
}

TControl::~TControl() {
  if (captureControl == this) captureControl = nullptr;
  if (mouseControl == this) mouseControl = nullptr;
  if (parent_) parent_->RemoveControl(this);
  font_->OnChange = nullptr;
  constraints_->OnChange = nullptr;
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  if (WindowProc)
    WindowProc(m);
  else
    WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONDBLCLK && !(controlStyle_ & csDoubleClicks))
    Message.Msg = WM_LBUTTONDOWN;
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      DefaultHandler(Message);
      MouseButtonDown(Message, mbLeft, Message.Msg == WM_LBUTTONDBLCLK);
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      DefaultHandler(Message);
      MouseButtonDown(Message, mbRight, Message.Msg == WM_RBUTTONDBLCLK);
      return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      DefaultHandler(Message);
      MouseButtonDown(Message, mbMiddle, Message.Msg == WM_MBUTTONDBLCLK);
      return;
    case WM_LBUTTONUP:
      DefaultHandler(Message);
      MouseButtonUp(Message, mbLeft);
      return;
    case WM_RBUTTONUP:
      DefaultHandler(Message);
      MouseButtonUp(Message, mbRight);
      return;
    case WM_MBUTTONUP:
      DefaultHandler(Message);
      MouseButtonUp(Message, mbMiddle);
      return;
    case WM_MOUSEMOVE: {
      DefaultHandler(Message);
      TWMMouse mm{Message};
      MouseMove(KeysToShiftState(Message.WParam), mm.XPos(), mm.YPos());
      return;
    }
    case CM_VISIBLECHANGED:
      InvalidateControl(true, visible_ && (controlStyle_ & csOpaque));
      return;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
    case CM_BIDIMODECHANGED:
      Invalidate();
      return;
    case CM_PARENTFONTCHANGED:
      if (parentFont_ && parent_) {
        TFlagScope applying(applyingParentFont_);
        font_->Assign(parent_->Font());
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_ && parent_) {
        SetColor(parent_->Color());
        parentColor_ = true;
      }
      return;
    case CM_PARENTBIDIMODECHANGED:
      if (parentBiDiMode_ && parent_) {
        SetBiDiMode(parent_->BiDiMode());
        parentBiDiMode_ = true;
      }
      return;
    case CM_MOUSEENTER:
      if (Message.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      if (Message.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
      return;
    case CM_HITTEST:
      Message.Result = HTCLIENT;
      return;
    case CM_ACTIONUPDATE:
      Message.Result = action_ && action_->Update() ? 1 : 0;
      return;
    default:
      DefaultHandler(Message);
  }
}

// Without a window the object holds the text.
void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<char*>(Message.LParam);
      size_t size = Message.WParam;
      if (!buf || size == 0) {
        Message.Result = 0;
        return;
      }
      size_t n = std::min(size - 1, text_.size());
      std::copy_n(text_.data(), n, buf);
      buf[n] = '\0';
      Message.Result = static_cast<LRESULT>(n);
      return;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(text_.size());
      return;
    case WM_SETTEXT: {
      const char* s = reinterpret_cast<const char*>(Message.LParam);
      text_ = s ? s : "";
      Message.Result = 1;
      return;
    }
    default:
      break;
  }
}

int TControl::GetTextLen() {
  return static_cast<int>(Perform(WM_GETTEXTLENGTH));
}

std::string TControl::GetText() {
  int len = GetTextLen();
  if (len <= 0) return {};
  std::string s(static_cast<size_t>(len) + 1, '\0');
  LRESULT got = Perform(WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, len)));
  return s;
}

void TControl::SetText(const std::string& v) {
  if (GetText() == v) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(v.c_str()));
  Perform(CM_TEXTCHANGED);
}

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
  return parent_;
}

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
}

void TControl::Loaded() {
  TComponent::Loaded();
  // The parent's font and colour reach children that still follow them once
  // their own properties are read.
  if (parent_) {
    Perform(CM_PARENTCOLORCHANGED);
    Perform(CM_PARENTFONTCHANGED);
    Perform(CM_PARENTBIDIMODECHANGED);
  }
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  constraints_->Apply(AWidth, AHeight);
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  InvalidateControl(visible_, false);
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  Invalidate();
  RequestAlign();
  if (!HasState(csLoading)) Resize();
}

void TControl::RequestAlign() {
  if (parent_) parent_->AlignControl(this);
}

TRect TControl::GetClientRect() {
  return Rect(0, 0, width_, height_);
}

void TControl::SetClientSize(int W, int H) {
  TRect c = GetClientRect();
  SetBounds(left_, top_, width_ - c.Right + W, height_ - c.Bottom + H);
}

TPoint TControl::ClientOrigin() {
  if (!parent_) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  TPoint p = parent_->ClientOrigin();
  return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(const TPoint& p) {
  TPoint o = ClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& p) {
  TPoint o = ClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign v) {
  if (align_ == v) return;
  align_ = v;
  RequestAlign();
}

void TControl::SetVisible(bool v) {
  if (visible_ == v) return;
  VisibleChanging();
  visible_ = v;
  Perform(CM_VISIBLECHANGED, v ? 1 : 0);
  RequestAlign();
}

bool TControl::Showing() const {
  return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetParentFont(bool v) {
  if (parentFont_ == v) return;
  parentFont_ = v;
  if (v && parent_ && !HasState(csReading)) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged(TObject*) {
  if (!applyingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetColor(TColor v) {
  if (color_ == v) return;
  color_ = v;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
  if (parentColor_ == v) return;
  parentColor_ = v;
  if (v && parent_ && !HasState(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode v) {
  parentBiDiMode_ = false;
  if (bidiMode_ == v) return;
  bidiMode_ = v;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool v) {
  if (parentBiDiMode_ == v) return;
  parentBiDiMode_ = v;
  if (v && parent_ && !HasState(csReading)) Perform(CM_PARENTBIDIMODECHANGED);
}

bool TControl::UseRightToLeftAlignment() const {
  return SysLocale.MiddleEast && bidiMode_ == bdRightToLeft;
}

bool TControl::UseRightToLeftReading() const {
  return SysLocale.MiddleEast && bidiMode_ != bdLeftToRight;
}

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const {
  UINT r = Flags;
  if (UseRightToLeftAlignment()) {
    if ((r & DT_RIGHT) == DT_RIGHT)
      r &= ~static_cast<UINT>(DT_RIGHT);
    else if ((r & DT_CENTER) != DT_CENTER)
      r |= DT_RIGHT;
  }
  if (UseRightToLeftReading()) r |= DT_RTLREADING;
  return r;
}

void TControl::SetCursor(TCursor v) {
  if (cursor_ == v) return;
  cursor_ = v;
  Perform(CM_CURSORCHANGED);
}

bool TControl::MouseCapture() const {
  return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool v) {
  if (MouseCapture() == v) return;
  SetCaptureControl(v ? this : nullptr);
}

TControl* GetCaptureControl() {
  TControl* c = FindControl(GetCapture());
  if (c && captureControl && captureControl->Parent() == c) return captureControl;
  return c;
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  captureControl = nullptr;
  if (!Control) return;
  auto* w = dynamic_cast<TWinControl*>(Control);
  if (!w) {
    if (!Control->Parent()) return;
    captureControl = Control;
    w = Control->Parent();
  }
  SetCapture(w->Handle());
}

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !parent_ || !parent_->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, !IsOpaque);
}

void TControl::Invalidate() {
  InvalidateControl(visible_, (controlStyle_ & csOpaque) != 0);
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::SetZOrder(bool TopMost) {
  if (!parent_) return;
  auto& list = parent_->controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost)
    list.push_back(this);
  else
    list.insert(list.begin(), this);
  InvalidateControl(visible_, (controlStyle_ & csOpaque) != 0);
}

void TControl::Changed() {
  Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  SetBounds(MulDiv(left_, M, D), MulDiv(top_, M, D), MulDiv(width_, M, D), MulDiv(height_, M, D));
  if (!parentFont_) font_->SetHeight(MulDiv(font_->Height(), M, D));
}

// ---- Hover ------------------------------------------------------------------------------

TControl* MouseControl() {
  return mouseControl;
}

// The deepest widget control under the cursor; while a control holds the
// capture it stays the hovered one. Nothing is copied to parents: entering
// a child makes its container receive CM_MOUSELEAVE.
void UpdateMouseControl() {
  POINT p;
  if (!GetCursorPos(&p)) return;
  TControl* now = FindDragTarget(p, true);
  TControl* cap = GetCaptureControl();
  if (cap && mouseControl == cap) now = cap;
  if (now == mouseControl) return;
  TControl* old = mouseControl;
  mouseControl = now;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (now && now == mouseControl) now->Perform(CM_MOUSEENTER);
  if (MouseControlChanged && now == mouseControl) MouseControlChanged(now);
}

void (*MouseControlChanged)(TControl* Control) = nullptr;
