#include "widgets/graphics/tools.h"

#include <cstring>

int ScreenPixelsPerInch() {
  static const int ppi = [] {
    TWindowDC screen(nullptr);
    int v = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return v > 0 ? v : 96;
  }();
  return ppi;
}

const TClassInfo& TGraphicsObject::StaticClass() {
  static const TClassInfo info("TGraphicsObject", &TPersistent::StaticClass());
  return info;
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// --- TFont -------------------------------------------------------------------

const TEnumInfo& TFont::StyleInfo() {
  static const TEnumInfo e{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return e;
}

const TEnumInfo& TFont::PitchInfo() {
  static const TEnumInfo e{{"fpDefault", "fpVariable", "fpFixed"}};
  return e;
}

const TClassInfo& TFont::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TFont> b("TFont", &TGraphicsObject::StaticClass());
    b.Int(
        "Charset", [](const TFont& f) { return int(f.Charset()); },
        [](TFont& f, int v) { f.SetCharset(static_cast<TFontCharset>(v)); }, DEFAULT_CHARSET);
    b.Color(
        "Color", [](const TFont& f) { return f.Color(); }, [](TFont& f, int v) { f.SetColor(v); },
        clWindowText);
    b.Int(
        "Height", [](const TFont& f) { return f.Height(); },
        [](TFont& f, int v) { f.SetHeight(v); });
    b.Str(
        "Name", [](const TFont& f) { return f.Name(); },
        [](TFont& f, const std::string& v) { f.SetName(v); });
    b.Int(
        "Orientation", [](const TFont& f) { return f.Orientation(); },
        [](TFont& f, int v) { f.SetOrientation(v); }, 0);
    b.Enum(
        "Pitch", PitchInfo(), [](const TFont& f) { return int(f.Pitch()); },
        [](TFont& f, int v) { f.SetPitch(static_cast<TFontPitch>(v)); }, fpDefault);
    // Height carries the size in descriptions; Size is read but never written.
    b.Int(
         "Size", [](const TFont& f) { return f.Size(); }, [](TFont& f, int v) { f.SetSize(v); })
        .Stored = [](const TObject*) { return false; };
    b.Set(
        "Style", StyleInfo(), [](const TFont& f) { return int(f.Style()); },
        [](TFont& f, int v) { f.SetStyle(static_cast<TFontStyles>(v)); }, 0);
    return b.Done();
  }();
  return info;
}

TFont::TFont() : ppi_(ScreenPixelsPerInch()) {}

void TFont::Touch() {
  stale_ = true;
  Changed();
}

void TFont::SetName(const std::string& v) {
  if (v.empty() || v == name_) return;
  name_ = v;
  Touch();
}

void TFont::SetHeight(int v) {
  if (v == height_) return;
  height_ = v;
  Touch();
}

int TFont::Size() const {
  return -MulDiv(height_, 72, ppi_);
}

void TFont::SetSize(int v) {
  SetHeight(-MulDiv(v, ppi_, 72));
}

void TFont::SetStyle(TFontStyles v) {
  v &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
  if (v == style_) return;
  style_ = v;
  Touch();
}

void TFont::SetColor(TColor v) {
  if (v == color_) return;
  // The colour is not part of the GDI font: the handle stays valid.
  color_ = v;
  Changed();
}

void TFont::SetCharset(TFontCharset v) {
  if (v == charset_) return;
  charset_ = v;
  Touch();
}

void TFont::SetPitch(TFontPitch v) {
  if (v == pitch_) return;
  pitch_ = v;
  Touch();
}

void TFont::SetOrientation(int v) {
  if (v == orientation_) return;
  orientation_ = v;
  Touch();
}

HFONT TFont::Handle() {
  if (stale_) {
    handle_.Reset();
    stale_ = false;
  }
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfEscapement = orientation_;
    lf.lfOrientation = orientation_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitch_ == fpVariable ? VARIABLE_PITCH
                          : pitch_ == fpFixed  ? FIXED_PITCH
                                               : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_.Reset(CreateFontIndirectA(&lf));
  }
  return handle_.Get();
}

void TFont::SetHandle(HFONT h) {
  if (h && h == handle_.Get() && !stale_) return;
  LOGFONTA lf{};
  if (h && GetObjectA(h, sizeof lf, &lf) == sizeof lf) {
    height_ = lf.lfHeight;
    orientation_ = lf.lfEscapement;
    style_ = (lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
             (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0);
    charset_ = lf.lfCharSet;
    switch (lf.lfPitchAndFamily & 3) {
      case VARIABLE_PITCH:
        pitch_ = fpVariable;
        break;
      case FIXED_PITCH:
        pitch_ = fpFixed;
        break;
      default:
        pitch_ = fpDefault;
    }
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
    if (lf.lfFaceName[0]) name_ = lf.lfFaceName;
  }
  // The old handle may still be selected in a canvas: it goes only after
  // OnChange has let the canvas deselect it.
  TOwnedFont old(handle_.Detach());
  handle_.Reset(h);
  stale_ = false;
  Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (f == this) return;
    name_ = f->name_;
    height_ = f->height_;
    style_ = f->style_;
    color_ = f->color_;
    charset_ = f->charset_;
    pitch_ = f->pitch_;
    orientation_ = f->orientation_;
    Touch();
    return;
  }
  TGraphicsObject::Assign(Source);
}

bool TFont::Equals(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_ && pitch_ == o.pitch_ && orientation_ == o.orientation_;
}

bool TFont::IsDefault() const {
  static const TFont fresh;
  return Equals(fresh);
}

// --- TBrush ------------------------------------------------------------------

const TEnumInfo& TBrush::StyleInfo() {
  static const TEnumInfo e{{"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                            "bsBDiagonal", "bsCross", "bsDiagCross"}};
  return e;
}

const TClassInfo& TBrush::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TBrush> b("TBrush", &TGraphicsObject::StaticClass());
    b.Color(
        "Color", [](const TBrush& o) { return o.Color(); }, [](TBrush& o, int v) { o.SetColor(v); },
        clWhite);
    b.Enum(
        "Style", StyleInfo(), [](const TBrush& o) { return int(o.Style()); },
        [](TBrush& o, int v) { o.SetStyle(static_cast<TBrushStyle>(v)); }, bsSolid);
    return b.Done();
  }();
  return info;
}

void TBrush::Touch() {
  stale_ = true;
  Changed();
}

void TBrush::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Touch();
}

void TBrush::SetStyle(TBrushStyle v) {
  if (v == style_) return;
  style_ = v;
  Touch();
}

HBRUSH TBrush::Handle() {
  if (stale_) {
    handle_.Reset();
    stale_ = false;
  }
  if (!handle_) {
    LOGBRUSH lb{};
    lb.lbColor = ColorToRGB(color_);
    if (style_ == bsSolid) {
      lb.lbStyle = BS_SOLID;
    } else if (style_ == bsClear) {
      lb.lbStyle = BS_HOLLOW;
    } else {
      lb.lbStyle = BS_HATCHED;
      lb.lbHatch = HS_HORIZONTAL + (style_ - bsHorizontal);
    }
    handle_.Reset(CreateBrushIndirect(&lb));
  }
  return handle_.Get();
}

void TBrush::SetHandle(HBRUSH h) {
  if (h && h == handle_.Get() && !stale_) return;
  LOGBRUSH lb{};
  if (h && GetObjectA(h, sizeof lb, &lb) == sizeof lb) {
    color_ = static_cast<TColor>(lb.lbColor);
    if (lb.lbStyle == BS_HOLLOW)
      style_ = bsClear;
    else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= HS_DIAGCROSS)
      style_ = static_cast<TBrushStyle>(bsHorizontal + lb.lbHatch);
    else
      style_ = bsSolid;
  }
  TOwnedBrush old(handle_.Detach());
  handle_.Reset(h);
  stale_ = false;
  Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    if (b == this) return;
    color_ = b->color_;
    style_ = b->style_;
    Touch();
    return;
  }
  TGraphicsObject::Assign(Source);
}

// --- TPen --------------------------------------------------------------------

const TEnumInfo& TPen::StyleInfo() {
  static const TEnumInfo e{
      {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
  return e;
}

const TClassInfo& TPen::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TPen> b("TPen", &TGraphicsObject::StaticClass());
    b.Color(
        "Color", [](const TPen& o) { return o.Color(); }, [](TPen& o, int v) { o.SetColor(v); },
        clBlack);
    b.Enum(
        "Style", StyleInfo(), [](const TPen& o) { return int(o.Style()); },
        [](TPen& o, int v) { o.SetStyle(static_cast<TPenStyle>(v)); }, psSolid);
    b.Int(
        "Width", [](const TPen& o) { return o.Width(); }, [](TPen& o, int v) { o.SetWidth(v); }, 1);
    return b.Done();
  }();
  return info;
}

void TPen::Touch() {
  stale_ = true;
  Changed();
}

void TPen::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Touch();
}

void TPen::SetStyle(TPenStyle v) {
  if (v == style_) return;
  style_ = v;
  Touch();
}

void TPen::SetWidth(int v) {
  if (v < 0 || v == width_) return;
  width_ = v;
  Touch();
}

namespace {
constexpr int kPenStyles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                              PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
}

HPEN TPen::Handle() {
  if (stale_) {
    handle_.Reset();
    stale_ = false;
  }
  if (!handle_) handle_.Reset(CreatePen(kPenStyles[style_], width_, ColorToRGB(color_)));
  return handle_.Get();
}

void TPen::SetHandle(HPEN h) {
  if (h && h == handle_.Get() && !stale_) return;
  LOGPEN lp{};
  if (h && GetObjectA(h, sizeof lp, &lp) == sizeof lp) {
    color_ = static_cast<TColor>(lp.lopnColor);
    width_ = lp.lopnWidth.x;
    style_ = psSolid;
    for (int i = 0; i < 7; ++i)
      if (kPenStyles[i] == static_cast<int>(lp.lopnStyle & PS_STYLE_MASK))
        style_ = static_cast<TPenStyle>(i);
  }
  TOwnedPen old(handle_.Detach());
  handle_.Reset(h);
  stale_ = false;
  Changed();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    if (p == this) return;
    color_ = p->color_;
    style_ = p->style_;
    width_ = p->width_;
    Touch();
    return;
  }
  TGraphicsObject::Assign(Source);
}
