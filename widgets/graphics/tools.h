// Drawing tools: TFont, TBrush and TPen. Each holds its attributes and
// makes its GDI handle lazily; a change frees nothing that may still be
// selected somewhere: the old handle lives until the next Handle read,
// after OnChange has let the canvas that uses the tool deselect it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "widgets/rtl/components.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/colors.h"

// The screen's logical pixels per inch (LOGPIXELSY), read once.
int ScreenPixelsPerInch();

class TGraphicsObject : public TPersistent {
  DECLARE_CLASS(TGraphicsObject, TPersistent)
 public:
  // Raised after every change; may be cleared or replaced at any time.
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

// Bits of TFontStyles; bit i is member i of the published set.
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;

class TFont : public TGraphicsObject {
  DECLARE_CLASS(TFont, TGraphicsObject)
 public:
  static const TEnumInfo& StyleInfo();
  static const TEnumInfo& PitchInfo();

  TFont();

  const std::string& Name() const { return name_; }
  void SetName(const std::string& v);
  int Height() const { return height_; }
  void SetHeight(int v);
  // In points, through PixelsPerInch (the screen's when the font was made).
  int Size() const;
  void SetSize(int v);
  int PixelsPerInch() const { return ppi_; }
  void SetPixelsPerInch(int v) { ppi_ = v > 0 ? v : ppi_; }
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset v);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch v);
  // Escapement and orientation in tenths of a degree.
  int Orientation() const { return orientation_; }
  void SetOrientation(int v);

  // Made on first use. Setting adopts the font (it is deleted by this
  // object later) and takes its attributes.
  HFONT Handle();
  void SetHandle(HFONT h);
  bool HandleAllocated() const { return static_cast<bool>(handle_) && !stale_; }

  void Assign(TPersistent* Source) override;
  // Same attributes (the colour included); handles are not compared.
  bool Equals(const TFont& o) const;
  // True while every attribute is that of a new font.
  bool IsDefault() const;

 private:
  void Touch();

  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  int ppi_;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  TFontCharset charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
  int orientation_ = 0;
  TOwnedFont handle_;
  bool stale_ = false;  // handle_ no longer matches the attributes
};

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBrush : public TGraphicsObject {
  DECLARE_CLASS(TBrush, TGraphicsObject)
 public:
  static const TEnumInfo& StyleInfo();

  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle v);
  HBRUSH Handle();
  // Adopts the brush and takes its colour and style.
  void SetHandle(HBRUSH h);
  void Assign(TPersistent* Source) override;

 private:
  void Touch();

  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TOwnedBrush handle_;
  bool stale_ = false;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
  DECLARE_CLASS(TPen, TGraphicsObject)
 public:
  static const TEnumInfo& StyleInfo();

  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle v);
  int Width() const { return width_; }
  void SetWidth(int v);
  HPEN Handle();
  // Adopts the pen and takes its colour, style and width.
  void SetHandle(HPEN h);
  void Assign(TPersistent* Source) override;

 private:
  void Touch();

  TColor color_ = clBlack;
  TPenStyle style_ = psSolid;
  int width_ = 1;
  TOwnedPen handle_;
  bool stale_ = false;
};
