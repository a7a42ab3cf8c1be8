// Hint templates: sizes, draw modes, corner pictures and the default
// template the unit builds at start-up.
#include "skin/controls/hint_templates.h"

#include <algorithm>

#include "skin/engine/hint_manager.h"
#include "widgets/rtl/flag_scope.h"
#include "widgets/rtl/streams.h"

TvlHintTemplate* DefaultHintTemplate = nullptr;

namespace {

// One flag for every template: a change report that changes sizes again
// (a manager refitting its pictures) does not report once more.
bool notifying = false;

template <int Side>
void SidesProp(TClassBuilder<TvlBordersSizes>& b, const char* name) {
  b.Int(
      name, [](const TvlBordersSizes& o) { return o.Get(Side); },
      [](TvlBordersSizes& o, int v) { o.Set(Side, v); }, 0);
}

template <int Part>
void ModeProp(TClassBuilder<TvlBorderDrawModes>& b, const char* name) {
  b.Enum(
      name, BorderDrawModeInfo(), [](const TvlBorderDrawModes& o) { return int(o.Get(Part)); },
      [](TvlBorderDrawModes& o, int v) { o.Set(Part, TvlBorderDrawMode(v)); }, dmStretch);
}

}  // namespace

// ---- TvlBordersSizes --------------------------------------------------------------

const TClassInfo& TvlBordersSizes::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlBordersSizes> b("TvlBordersSizes", &TPersistent::StaticClass());
    SidesProp<sTop>(b, "Top");
    SidesProp<sLeft>(b, "Left");
    SidesProp<sBottom>(b, "Bottom");
    SidesProp<sRight>(b, "Right");
    return b.Done();
  }();
  return info;
}

void TvlBordersSizes::Set(int Side, int Value) {
  sides_[Side] = Value;
  if (CheckSize && owner_) {
    const bool across = Side == sLeft || Side == sRight;
    const int size = across ? owner_->ImageWidth() : owner_->ImageHeight();
    const int opposite = Side == sTop      ? sBottom
                         : Side == sBottom ? sTop
                         : Side == sLeft   ? sRight
                                           : sLeft;
    if (size > 0) {
      sides_[Side] = std::min(sides_[Side], size - 1);
      sides_[opposite] = std::min(sides_[opposite], size - Get(Side) - 1);
    }
  }
  if (owner_) owner_->Notify();
}

void TvlBordersSizes::SetSizes(int Left, int Top, int Right, int Bottom) {
  Set(sLeft, Left);
  Set(sTop, Top);
  Set(sRight, Right);
  Set(sBottom, Bottom);
}

void TvlBordersSizes::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TvlBordersSizes*>(Dest)) {
    d->SetSizes(Left(), Top(), Right(), Bottom());
    return;
  }
  TPersistent::AssignTo(Dest);
}

// ---- TvlBorderDrawModes -----------------------------------------------------------

const TEnumInfo& BorderDrawModeInfo() {
  static const TEnumInfo e{{"dmRepeat", "dmStretch"}};
  return e;
}

const TClassInfo& TvlBorderDrawModes::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlBorderDrawModes> b("TvlBorderDrawModes", &TPersistent::StaticClass());
    ModeProp<pTop>(b, "Top");
    ModeProp<pLeft>(b, "Left");
    ModeProp<pBottom>(b, "Bottom");
    ModeProp<pRight>(b, "Right");
    ModeProp<pCenter>(b, "Center");
    return b.Done();
  }();
  return info;
}

void TvlBorderDrawModes::Set(int Part, TvlBorderDrawMode Value) {
  modes_[Part] = Value;
  if (owner_) owner_->Notify();
}

void TvlBorderDrawModes::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TvlBorderDrawModes*>(Dest)) {
    for (int i = 0; i < 5; ++i) d->Set(i, modes_[i]);
    return;
  }
  TPersistent::AssignTo(Dest);
}

// ---- TvlHintImage -----------------------------------------------------------------

const TClassInfo& TvlHintImage::StaticClass() {
  static const TClassInfo info = [] {
    using I = TvlHintImage;
    TClassBuilder<I> b("TvlHintImage", &TPersistent::StaticClass());
    b.Int(
        "OffsetHorz", [](const I& o) { return o.OffsetHorz; },
        [](I& o, int v) { o.OffsetHorz = v; }, 0);
    b.Int(
        "OffsetVert", [](const I& o) { return o.OffsetVert; },
        [](I& o, int v) { o.OffsetVert = v; }, 0);
    b.Obj(
        "ShadowSizes", TPropKind::Object, TvlBordersSizes::StaticClass(),
        [](const I& o) -> TObject* { return const_cast<TvlBordersSizes*>(&o.shadow_); }, nullptr);
    b.Obj(
        "ClientMargins", TPropKind::Object, TvlBordersSizes::StaticClass(),
        [](const I& o) -> TObject* { return const_cast<TvlBordersSizes*>(&o.margins_); }, nullptr);
    b.Obj(
        "BordersWidths", TPropKind::Object, TvlBordersSizes::StaticClass(),
        [](const I& o) -> TObject* { return const_cast<TvlBordersSizes*>(&o.borders_); }, nullptr);
    b.Obj(
        "BorderDrawModes", TPropKind::Object, TvlBorderDrawModes::StaticClass(),
        [](const I& o) -> TObject* { return const_cast<TvlBorderDrawModes*>(&o.modes_); }, nullptr);
    return b.Done();
  }();
  return info;
}

TvlHintImage::TvlHintImage(TvlHintTemplate* Owner)
    : owner_(Owner),
      shadow_(this),
      margins_(this),
      borders_(this),
      modes_(this),
      image_(std::make_unique<TPNGGraphic>()),
      imgData_(std::make_unique<TMemoryStream>()) {}

TvlHintImage::~TvlHintImage() = default;

void TvlHintImage::Notify() {
  if (owner_) owner_->NotifyTemplateOwner();
}

void TvlHintImage::SetImage(TBitmap* Value) {
  image_->Assign(Value);
  FitHintImageBorders();
  Notify();
}

void TvlHintImage::FitHintImageBorders() {
  const int w = (ImageWidth() - 1) / 2, h = (ImageHeight() - 1) / 2;
  borders_.SetSizes(w, h, w, h);
  margins_.SetSizes(w, h, w, h);
}

void TvlHintImage::LoadHintImageFromData() {
  if (!image_->Empty() || imgData_->Size() == 0) return;
  try {
    imgData_->SetPosition(0);
    image_->LoadFromStream(*imgData_);
  } catch (const Exception&) {
    ClearImage();
  }
}

void TvlHintImage::DefineProperties(TFiler& Filer) {
  Filer.DefineBinaryProperty(
      "ImgData", this,
      [](TObject* o, TStream& s) { static_cast<TvlHintImage*>(o)->imgData_->LoadFromStream(s); },
      [](TObject* o, TStream& s) { static_cast<TvlHintImage*>(o)->imgData_->SaveToStream(s); },
      true);
}

void TvlHintImage::AssignTo(TPersistent* Dest) {
  auto* d = dynamic_cast<TvlHintImage*>(Dest);
  if (!d) {
    TPersistent::AssignTo(Dest);
    return;
  }
  d->image_->Assign(image_.get());
  if (imgData_->Size() > 0) {
    imgData_->SetPosition(0);
    d->imgData_->LoadFromStream(*imgData_);
  } else {
    d->imgData_->Clear();
  }
  d->OffsetHorz = OffsetHorz;
  d->OffsetVert = OffsetVert;
  d->margins_.Assign(&margins_);
  d->modes_.Assign(&modes_);
  d->borders_.Assign(&borders_);
  d->shadow_.Assign(&shadow_);
}

// ---- TvlHintTemplate --------------------------------------------------------------

const TClassInfo& TvlHintTemplate::StaticClass() {
  static const TClassInfo info = [] {
    using T = TvlHintTemplate;
    TClassBuilder<T> b("TvlHintTemplate", &TCollectionItem::StaticClass());
    b.Str(
        "Name", [](const T& o) { return o.Name; }, [](T& o, const std::string& v) { o.Name = v; });
    static const TEnumInfo align{{"haHorzCenter", "haVertCenter"}};
    b.Enum(
        "HintAlign", align, [](const T& o) { return int(o.HintAlign); },
        [](T& o, int v) { o.HintAlign = TvlHintAlign(v); }, haHorzCenter);
    return b.Done();
  }();
  return info;
}

TvlHintTemplate::TvlHintTemplate(TCollection* Collection)
    : TCollectionItem(Collection), font_(std::make_unique<TFont>()) {
  for (auto& image : images_) image = std::make_unique<TvlHintImage>(this);
}

TvlHintTemplate::~TvlHintTemplate() = default;

void TvlHintTemplate::SetImages(int Index, TvlHintImage* Value) {
  images_[Index]->Assign(Value);
}

void TvlHintTemplate::SetFont(TFont* Value) {
  font_->Assign(Value);
  NotifyTemplateOwner();
}

void TvlHintTemplate::NotifyTemplateOwner() {
  if (notifying) return;
  auto* templates = dynamic_cast<TvlHintTemplates*>(Collection());
  TvlHintManager* manager = templates ? templates->Manager() : nullptr;
  if (!manager || manager->Loading()) return;
  TFlagScope scope(notifying);
  manager->ChangeEvent();
}

void TvlHintTemplate::AssignTo(TPersistent* Dest) {
  auto* d = dynamic_cast<TvlHintTemplate*>(Dest);
  if (!d) {
    TCollectionItem::AssignTo(Dest);
    return;
  }
  for (int i = 0; i < 4; ++i) d->SetImages(i, images_[i].get());
  d->HintAlign = HintAlign;
  d->SetFont(font_.get());
  d->Name = Name;
}

// ---- TvlHintTemplates -------------------------------------------------------------

const TClassInfo& TvlHintTemplates::StaticClass() {
  static const TClassInfo info("TvlHintTemplates", &TCollection::StaticClass());
  return info;
}

TvlHintTemplates::TvlHintTemplates(TvlHintManager* Manager)
    : TCollection(CollectionItemClassOf<TvlHintTemplate>()), manager_(Manager) {}

TvlHintTemplate* TvlHintTemplates::Items(int Index) const {
  return static_cast<TvlHintTemplate*>(TCollection::Items(Index));
}

// ---- The default template ---------------------------------------------------------

void BuildDefaultHintTemplate(TStream* Png) {
  if (DefaultHintTemplate) return;
  auto made = OwnObject(New<TvlHintTemplate>(nullptr));
  TvlHintImage* image = made->ImageDefault();
  if (Png) {
    // Straight into the picture: the sizes below are the template's, not a
    // fit to the picture.
    try {
      image->Image()->LoadFromStream(*Png);
    } catch (const Exception&) {
      image->ClearImage();
    }
  }
  image->BordersWidths().SetSizes(11, 10, 14, 15);
  image->ShadowSizes().SetSizes(6, 5, 7, 8);
  image->ClientMargins().SetSizes(11, 8, 16, 15);
  DefaultHintTemplate = made.release();
}

namespace {

int unitStarts = 0;

void InitAlphaHints() {
  if (unitStarts++ > 0) return;
  try {
    TResourceStream stream(GetModuleHandleA(nullptr), "VLHINT", RT_RCDATA);
    BuildDefaultHintTemplate(&stream);
  } catch (const Exception&) {
    // A program without the picture still gets the template's sizes.
    BuildDefaultHintTemplate(nullptr);
  }
}

void FinalizeAlphaHints() {
  if (unitStarts == 0 || --unitStarts > 0) return;
  TvlHintTemplate* t = DefaultHintTemplate;
  DefaultHintTemplate = nullptr;
  TObject::Free(t);
}

}  // namespace

const TUnitInfo AlphaHintsUnit{"vlAlphaHints", InitAlphaHints, FinalizeAlphaHints};
