#include "skin/engine/bound_label.h"

#include <array>

#include "skin/engine/common_data.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/controls.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/graphics/graphics.h"

namespace {

// The label's Alignment by layout: sclLeft and the top-right and
// bottom-right places align right, the centred places centre.
constexpr std::array<int, 10> kLayoutAlignment = {1, 0, 2, 1, 0, 0, 2, 1, 0, 0};

constexpr int kUnlimitedWidth = 9999;
// The gap between a label beside its control and the control, before Indent.
constexpr int kSideGap = 4;
// A label beside the top of its control starts this far down.
constexpr int kTopOffset = 3;

}  // namespace

const TClassInfo& TsBoundLabel::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsBoundLabel> b("TsBoundLabel", &TPersistent::StaticClass());
    b.Bool(
        "UseHTML", [](const TsBoundLabel& o) { return o.UseHTML(); },
        [](TsBoundLabel& o, int v) { o.SetUseHTML(v != 0); }, false);
    // Before Caption: a description read back makes the label first, so
    // the caption that follows goes straight onto it.
    b.Bool(
        "Active", [](const TsBoundLabel& o) { return o.Active(); },
        [](TsBoundLabel& o, int v) { o.SetActive(v != 0); }, false);
    b.Bool(
        "AllowClick", [](const TsBoundLabel& o) { return o.AllowClick(); },
        [](TsBoundLabel& o, int v) { o.SetAllowClick(v != 0); }, false);
    b.Bool(
        "EnabledAlways", [](const TsBoundLabel& o) { return o.EnabledAlways(); },
        [](TsBoundLabel& o, int v) { o.SetEnabledAlways(v != 0); }, false);
    b.Bool(
        "UseSkinColor", [](const TsBoundLabel& o) { return o.UseSkinColor(); },
        [](TsBoundLabel& o, int v) { o.SetUseSkinColor(v != 0); }, true);
    b.Int(
        "Indent", [](const TsBoundLabel& o) { return o.Indent(); },
        [](TsBoundLabel& o, int v) { o.SetIndent(v); }, 0);
    b.Int(
        "MaxWidth", [](const TsBoundLabel& o) { return o.MaxWidth(); },
        [](TsBoundLabel& o, int v) { o.SetMaxWidth(v); }, 0);
    b.Str(
        "Caption", [](const TsBoundLabel& o) { return o.Caption(); },
        [](TsBoundLabel& o, const std::string& v) { o.SetCaption(v); });
    TPropInfo& font = b.Obj(
        "Font", TPropKind::Object, TFont::StaticClass(),
        [](const TsBoundLabel& o) -> TObject* { return o.Font(); },
        [](TsBoundLabel& o, TObject* v) { o.SetFont(dynamic_cast<TFont*>(v)); });
    font.Stored = [](const TObject* o) {
      return static_cast<const TsBoundLabel*>(o)->IsFontStored();
    };
    b.Enum(
        "Layout", CaptionLayoutInfo(), [](const TsBoundLabel& o) { return o.Layout(); },
        [](TsBoundLabel& o, int v) { o.SetLayout(static_cast<TsCaptionLayout>(v)); }, sclLeft);
    return b.Done();
  }();
  return info;
}

TsBoundLabel::TsBoundLabel(TsCommonData* SkinData) : font_(new TFont), skinData_(SkinData) {}

TsBoundLabel::~TsBoundLabel() {
  TObject::Free(font_);
  font_ = nullptr;
  if (TvlBoundLabelPeer* peer = label_) {
    // Forgotten first: the label's destructor reports back through LabelGone.
    label_ = nullptr;
    peer->SetBoundLabel(nullptr);
    TObject::Free(peer->AsLabel());
  }
}

int TsBoundLabel::LayoutAlignment(TsCaptionLayout Layout) {
  return static_cast<size_t>(Layout) < kLayoutAlignment.size() ? kLayoutAlignment[Layout] : 0;
}

TControl* TsBoundLabel::Control() const {
  return skinData_ ? skinData_->Control : nullptr;
}

TCustomLabel* TsBoundLabel::Label() const {
  return label_ ? label_->AsLabel() : nullptr;
}

void TsBoundLabel::LabelGone(TvlBoundLabelPeer* Peer) {
  if (Peer != label_) return;
  label_ = nullptr;
  active_ = false;
}

// ---- Properties -------------------------------------------------------------------

void TsBoundLabel::SetBoolProp(int Index, bool Value) {
  switch (Index) {
    case 0:
      if (useHTML_ == Value) return;
      useHTML_ = Value;
      AlignLabel();
      return;
    case 1:
      if (active_ == Value) return;
      active_ = Value;
      ApplyActive();
      ApplyAllowClick();
      return;
    case 2:
      allowClick_ = Value;
      ApplyAllowClick();
      return;
    case 3:
      if (enabledAlways_ == Value) return;
      enabledAlways_ = Value;
      if (active_) AlignLabel();
      return;
    default:
      return;
  }
}

void TsBoundLabel::SetIntProp(int Index, int Value) {
  int& field = Index == 0 ? indent_ : maxWidth_;
  if (field == Value) return;
  field = Value;
  if (active_) AlignLabel();
}

bool TsBoundLabel::UseSkinColor() const {
  return label_ ? label_->PeerUseSkinColor() : true;
}

void TsBoundLabel::SetUseSkinColor(bool Value) {
  if (label_) label_->SetPeerUseSkinColor(Value);
}

void TsBoundLabel::SetCaption(const std::string& Value) {
  if (caption_ == Value) return;
  caption_ = Value;
  if (!active_ || !label_) return;
  label_->AsLabel()->SetCaption(Value);
  AlignLabel();
}

TFont* TsBoundLabel::Font() const {
  return label_ ? label_->AsLabel()->Font() : font_;
}

void TsBoundLabel::SetFont(TFont* Value) {
  if (!Value) return;
  if (!label_) {
    // Kept until a label exists to wear it.
    font_->Assign(Value);
    return;
  }
  TCustomLabel* l = label_->AsLabel();
  l->Font()->Assign(Value);
  if (TControl* c = Control()) l->SetParent(c->Parent());
  AlignLabel();
}

bool TsBoundLabel::IsFontStored() const {
  const TFont fresh;
  const TFont* f = Font();
  return f->Color() != fresh.Color() || f->Size() != fresh.Size() ||
         f->Orientation() != fresh.Orientation() || f->Style() != fresh.Style() ||
         f->Pitch() != fresh.Pitch() || f->Name() != fresh.Name();
}

void TsBoundLabel::SetLayout(TsCaptionLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  UpdateAlignment();
  if (active_) AlignLabel();
}

void TsBoundLabel::UpdateAlignment() {
  if (TCustomLabel* l = Label()) l->SetAlignment(static_cast<TAlignment>(LayoutAlignment(layout_)));
}

// ---- The label ----------------------------------------------------------------------

void TsBoundLabel::ApplyActive() {
  TControl* c = Control();
  if (!active_) {
    if (TvlBoundLabelPeer* peer = label_) {
      label_ = nullptr;
      peer->SetBoundLabel(nullptr);
      TObject::Free(peer->AsLabel());
    }
    return;
  }
  if (label_ || !c) return;
  const TClassInfo* cls = FindClass(BoundLabelClassName);
  if (!cls || !cls->Factory()) return;
  // No owner: the label is no component of the form, and only this object
  // frees it.
  TComponent* made = cls->Factory()(nullptr);
  auto* peer = dynamic_cast<TvlBoundLabelPeer*>(made);
  if (!peer) {
    TObject::Free(made);
    return;
  }
  label_ = peer;
  peer->SetBoundLabel(this);
  TCustomLabel* l = peer->AsLabel();
  l->SetVisible(false);
  // A font set while inactive takes effect now.
  if (!font_->IsDefault()) l->Font()->Assign(font_);
  l->SetFocusControl(dynamic_cast<TWinControl*>(c));
  peer->SetPeerUseHTML(useHTML_);
  l->SetParent(c->Parent());
  UpdateAlignment();
  l->SetName(c->Name() + "Label");
  if (caption_.empty()) caption_ = c->Name();
  l->SetCaption(caption_);
  l->SetVisible(c->Visible());
  l->SetEnabled(c->Enabled() || enabledAlways_);
  l->SetAutoSize(true);
  AlignLabel();
}

void TsBoundLabel::ApplyAllowClick() {
  TCustomLabel* l = Label();
  if (!l) return;
  if (allowClick_) {
    l->OnClick = TNotifyEvent::Of<&TsBoundLabel::LabelClick>(this);
    l->OnDblClick = l->OnClick;
  } else {
    l->OnClick = nullptr;
    l->OnDblClick = nullptr;
  }
}

void TsBoundLabel::LabelClick(TObject*) {
  if (TControl* c = Control()) c->Click();
}

void TsBoundLabel::AlignLabel() {
  TCustomLabel* l = Label();
  TControl* fc = Control();
  if (!l || !fc || !l->Visible()) return;
  // The parent that stops aligning is the one that starts again, even when
  // the label moves to another parent meanwhile.
  TWinControl* held = l->Parent();
  if (held) held->DisableAlign();
  struct Resume {
    TWinControl* p;
    ~Resume() {
      if (p) p->EnableAlign();
    }
  } resume{held};

  l->Constraints()->SetMaxWidth(maxWidth_);
  l->SetBounds(l->Left(), l->Top(), maxWidth_ > 0 ? maxWidth_ : kUnlimitedWidth, 0);
  l->SetWordWrap(true);
  l->SetAutoSize(true);
  label_->MeasureCaption();
  l->SetEnabled(fc->Enabled() || enabledAlways_);
  label_->SetPeerUseHTML(useHTML_);
  l->SetAlign(alNone);

  const int w = l->Width();
  const int h = l->Height();
  const int centred = fc->Top() + (fc->Height() - h) / 2 - 1;
  const int above = fc->Top() - h - indent_;
  const int below = fc->Top() + fc->Height() + indent_;
  const int leftOf = fc->Left() - w - indent_ - kSideGap;
  const int rightOf = fc->Left() + fc->Width() + indent_ + kSideGap;
  const int centreX = fc->Left() + (fc->Width() - w) / 2;
  const int rightAligned = fc->Left() + fc->Width() - w;
  int x = 0;
  int y = 0;
  switch (layout_) {
    case sclLeft:
      if (fc->Align() == alLeft) {
        l->SetAlign(alLeft);
        l->SetLayout(tlCenter);
      }
      x = leftOf, y = centred;
      break;
    case sclTopLeft:
      x = fc->Left(), y = above;
      break;
    case sclTopCenter:
      x = centreX, y = above;
      break;
    case sclTopRight:
      x = rightAligned, y = above;
      break;
    case sclLeftTop:
      x = leftOf, y = fc->Top() + kTopOffset;
      break;
    case sclBottomLeft:
      x = fc->Left(), y = below;
      break;
    case sclBottomCenter:
      x = centreX, y = below;
      break;
    case sclBottomRight:
      x = rightAligned, y = below;
      break;
    case sclRight:
      x = rightOf, y = centred;
      break;
    case sclRightTop:
      x = rightOf, y = fc->Top() + kTopOffset;
      break;
  }
  l->SetBounds(x, y, l->Width(), l->Height());
  l->SetParent(fc->Parent());
}

// ---- Following the control --------------------------------------------------------

void TsBoundLabel::HandleOwnerMessage(TMessage& Message, TWinControl* Owner) {
  TCustomLabel* l = Label();
  if (!l || !Owner) return;
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      AlignLabel();
      return;
    case CM_VISIBLECHANGED:
      l->SetVisible(Owner->Visible());
      AlignLabel();
      return;
    case CM_ENABLEDCHANGED:
      l->SetEnabled(Owner->Enabled() || enabledAlways_);
      AlignLabel();
      return;
    case CM_BIDIMODECHANGED:
      l->SetBiDiMode(Owner->BiDiMode());
      AlignLabel();
      return;
    default:
      if (Message.Msg == SkinCommandMessage && SkinCmdCode(Message.WParam) == SkinCmdSetScale)
        ChangeScale(static_cast<int>(Message.LParam));
      return;
  }
}

void TsBoundLabel::ChangeScale(int NewPercent) {
  if (NewPercent <= 0 || scalePercent_ <= 0) return;
  SetMaxWidth(MulDiv(maxWidth_, NewPercent, scalePercent_));
  if (label_ && active_) AlignLabel();
  scalePercent_ = NewPercent;
}
