// The scan of the tag markup: one pass over the upper-cased text with one
// pending run, tags and entities, line advances and wrapping.
#include "skin/controls/html_text.h"

#include <algorithm>
#include <optional>

#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/pixel_primitives.h"
#include "widgets/graphics/canvas.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/flag_scope.h"

// Measures and draws straight in the canvas's DC with fonts of its own, made
// once per distinct font and selected only when the font changes: through
// the canvas, every tag that changes the font would make and realize a new
// font object at the next run.
class TsHtml::CanvasSeam : public THtmlTextSeam {
 public:
  CanvasSeam(TBitmap* Bitmap, const bool& Alpha) : bitmap_(Bitmap), alpha_(Alpha) {}
  ~CanvasSeam() override { EndPass(); }

  // The canvas gets its DC back holding what the canvas believes is there:
  // its own font while that has not changed, else the DC's first one (the
  // canvas selects that itself when its font changes, over ours).
  void EndPass() override {
    if (dc_ != nullptr) {
      if (IsMine(GetCurrentObject(dc_, OBJ_FONT))) SelectObject(dc_, canvasFont_);
      if (colorSaved_) SetTextColor(dc_, canvasColor_);
    }
    dc_ = nullptr;
    canvasFont_ = nullptr;
    colorSaved_ = brushReady_ = false;
  }

  TSize TextSize(TFont& Font, const std::string& Text) override {
    HDC dc = MeasureDC(Font);
    SIZE s{};
    GetTextExtentPoint32A(dc, Text.data(), static_cast<int>(Text.size()), &s);
    return s;
  }

  void DrawRun(TFont& Font, const std::string& Text, const TRect& Rect) override {
    const HFONT font = FontFor(Font);
    if (alpha_) {
      DrawTextArgb(ArgbView(bitmap_), font, Text, true, Rect,
                   DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP, static_cast<uint32_t>(Font.Color()),
                   false, alphaScratch_);
      return;
    }
    HDC dc = Use(font);
    if (!brushReady_) {
      // A clear brush leaves the text cells see-through.
      TCanvas* canvas = bitmap_->Canvas();
      canvas->Brush()->SetStyle(bsClear);
      canvas->RequiredState(csHandleValid | csBrushValid);
      brushReady_ = true;
    }
    const COLORREF color = ColorToRGB(Font.Color());
    const COLORREF previous = SetTextColor(dc, color);
    if (!colorSaved_) {
      canvasColor_ = previous;
      colorSaved_ = true;
    }
    ExtTextOutA(dc, Rect.Left, Rect.Top, 0, nullptr, Text.data(), static_cast<UINT>(Text.size()),
                nullptr);
  }

 private:
  struct Made {
    THtmlFontData Key;
    std::unique_ptr<TFont> Font;
    HFONT Handle;
    // Holds the font for good: measures never select.
    TMemoryDC Measure;
  };

  HDC MeasureDC(const TFont& Font) {
    FontFor(Font);
    Made& m = fonts_[last_];
    if (!m.Measure) {
      m.Measure.Reset(CreateCompatibleDC(nullptr));
      if (!m.Measure) return Use(m.Handle);
      SelectObject(m.Measure.Get(), m.Handle);
    }
    return m.Measure.Get();
  }

  HDC Use(HFONT Font) {
    if (dc_ == nullptr) dc_ = bitmap_->Canvas()->Handle();
    if (GetCurrentObject(dc_, OBJ_FONT) != Font) {
      const HGDIOBJ replaced = SelectObject(dc_, Font);
      if (!IsMine(replaced)) canvasFont_ = replaced;
    }
    return dc_;
  }

  // The colour does not change a font object. The list is short and
  // bounded, so markup with many faces cannot pile up font objects.
  HFONT FontFor(const TFont& Font) {
    key_.Name = Font.Name();
    key_.Height = Font.Height();
    key_.PixelsPerInch = Font.PixelsPerInch();
    key_.Style = Font.Style();
    key_.Charset = Font.Charset();
    key_.Pitch = Font.Pitch();
    key_.Orientation = Font.Orientation();
    if (last_ < fonts_.size() && fonts_[last_].Key == key_) return fonts_[last_].Handle;
    for (size_t k = 0; k < fonts_.size(); ++k)
      if (fonts_[k].Key == key_) {
        last_ = k;
        return fonts_[k].Handle;
      }
    if (fonts_.size() >= 16) {
      // The oldest may be the one in the DC.
      if (dc_ != nullptr && GetCurrentObject(dc_, OBJ_FONT) == fonts_.front().Handle)
        SelectObject(dc_, canvasFont_);
      alphaScratch_.ReleaseFont();
      fonts_.erase(fonts_.begin());
    }
    Made made{key_, std::make_unique<TFont>(), nullptr, TMemoryDC()};
    key_.ApplyTo(*made.Font);
    made.Handle = made.Font->Handle();
    fonts_.push_back(std::move(made));
    last_ = fonts_.size() - 1;
    return fonts_.back().Handle;
  }

  bool IsMine(HGDIOBJ Object) const {
    for (const Made& m : fonts_)
      if (m.Handle == Object) return true;
    return false;
  }

  TBitmap* bitmap_;
  const bool& alpha_;
  std::vector<Made> fonts_;
  size_t last_ = 0;
  THtmlFontData key_;
  // After the fonts: it gives the font it holds back before they go.
  TextScratch alphaScratch_;
  // Held for one pass.
  HDC dc_ = nullptr;
  HGDIOBJ canvasFont_ = nullptr;
  COLORREF canvasColor_ = 0;
  bool colorSaved_ = false;
  bool brushReady_ = false;
};

TsHtml::TsHtml() = default;
TsHtml::~TsHtml() {
  TargetBitmap = nullptr;
}

void TsHtml::Init(TBitmap* Bitmap, const std::string& Text, const TRect& Rect, int PressedLink,
                  int HotLink) {
  canvasSeam_ = std::make_unique<CanvasSeam>(Bitmap, AlphaText);
  Init(canvasSeam_.get(), Bitmap->Canvas()->Font(), Text, Rect, PressedLink, HotLink);
  TargetBitmap = Bitmap;
}

void TsHtml::Init(THtmlTextSeam* Seam, TFont* Font, const std::string& Text, const TRect& Rect,
                  int PressedLink, int HotLink) {
  seam_ = Seam;
  font_ = Font;
  startFont_ = THtmlFontData::From(*Font);
  FontStack.clear();
  openLinks_ = 0;
  SourceText = Text;
  UpperText = HtmlUpperCase(Text);
  TextLength = static_cast<int>(UpperText.size());
  LayoutRect = Rect;
  PenX = Rect.Left;
  PenY = Rect.Top;
  MaxWidth = MaxHeight = LineWidth = LineHeight = 0;
  PressedLinkIndex = PressedLink;
  HotLinkIndex = HotLink;
}

void TsHtml::Render(TvlLinks& OutLinks, bool Measure, TRect& Size) {
  MeasureOnly = false;
  std::optional<TFlagScope<bool>> measuring;
  if (Measure) measuring.emplace(MeasureOnly);
  Links.clear();
  // Each pass starts from the caller's font, so a tag left open by the
  // measuring pass cannot make the drawing pass lay out differently.
  FontStack.clear();
  openLinks_ = 0;
  if (font_ != nullptr) startFont_.ApplyTo(*font_);
  MaxWidth = MaxHeight = LineWidth = LineHeight = 0;
  if (seam_ != nullptr && font_ != nullptr) {
    struct PassEnd {
      THtmlTextSeam* Seam;
      ~PassEnd() { Seam->EndPass(); }
    } passEnd{seam_};
    Scan();
  }
  Size = TRect(0, 0, MaxWidth, MaxHeight);
  OutLinks = Links;
}

TSize TsHtml::Measure(const std::string& Text) {
  return seam_->TextSize(*font_, Text);
}

void TsHtml::DrawRun(const std::string& Text, const TRect& Rect) {
  if (!MeasureOnly) seam_->DrawRun(*font_, Text, Rect);
}

void TsHtml::Scan() {
  const std::string& u = UpperText;
  const size_t n = u.size();
  size_t start = 0;
  // The first '>' at or after the scan: kept across tags so a text full of
  // unclosed '<' is searched once, not once per '<'.
  size_t closer = 0;
  bool closerKnown = false;
  // An unknown tag's '<' prints and the scan goes on inside it; a tag that
  // ends at the same '>' is a tail of the rejected one and cannot hold a
  // FONT or A the whole did not, so it is not searched again.
  size_t rejectedCloser = std::string::npos;
  size_t i = 0;
  while (i < n) {
    const char c = u[i];
    if (c == '\n') {
      // The pen goes back to the line's start without a flush or a line
      // advance: the pending text is drawn there, over the line's start.
      PenX = LayoutRect.Left;
      ++i;
    } else if (c == '\r') {
      FlushText(i, start);
      if (LineHeight == 0) LineHeight = Measure("Yy").cy;
      NewLine();
      start = i;
      ++i;
    } else if (c == '&') {
      FlushText(i, start);
      if (size_t after = ParseEntity(i)) {
        start = i = after;
      } else {
        start = (i + 1 < n && u[i + 1] == '&') ? i + 1 : i;
        ++i;
      }
    } else if (c == '<' && i + 1 < n && u[i + 1] == '<') {
      FlushText(i, start);
      start = i + 1;
      i += 2;
    } else if (c == '<') {
      FlushText(i, start);
      if (!closerKnown || (closer != std::string::npos && closer < i)) {
        closer = u.find('>', i);
        closerKnown = true;
      }
      if (closer == std::string::npos) {
        start = i = i + 1;
      } else if (ProcessTag(std::string_view(u).substr(i, closer - i + 1), i,
                            closer == rejectedCloser)) {
        start = i = closer + 1;
      } else {
        rejectedCloser = closer;
        FlushText(i + 1, i);
        start = i = i + 1;
      }
    } else {
      ++i;
    }
  }
  FlushText(n, start);
  MaxWidth = std::max(MaxWidth, LineWidth);
  LineWidth = 0;
  MaxHeight = PenY + LineHeight;
}

void TsHtml::NewLine() {
  PenY += LineHeight + 2;
  MaxWidth = std::max(MaxWidth, LineWidth);
  LineWidth = 0;
  LineHeight = 0;
}

void TsHtml::FlushText(size_t End, size_t Start) {
  if (End <= Start) return;
  std::string& run = runBuffer_;
  run.clear();
  // Line ends inside the run are dropped; the rest goes over in spans.
  const char* text = SourceText.data();
  for (size_t k = Start; k < End;) {
    size_t stop = k;
    while (stop < End && text[stop] != '\r' && text[stop] != '\n') ++stop;
    run.append(text + k, stop - k);
    k = stop + 1;
  }
  if (run.empty()) return;
  const TSize size = Measure(run);
  LineHeight = std::max(LineHeight, size.cy);
  if (LayoutRect.Right > 0 && PenX + size.cx > LayoutRect.Right) {
    const int space = Measure(" ").cx;
    if (run[0] == ' ') PenX += space;
    WrapWords(run, space);
    return;
  }
  if (AlphaText)
    DrawRun(run, TRect(PenX, PenY, PenX + size.cx, PenY + size.cy));
  else
    DrawRun(run, TRect(PenX, PenY + LineHeight - size.cy, PenX + size.cx, PenY + LineHeight));
  PenX += size.cx;
  LineWidth = std::max(LineWidth + size.cx, PenX);
}

// Walks the run's words by offset: the line breaks are a loop, so neither
// the stack nor the copying grows with the number of lines.
void TsHtml::WrapWords(const std::string& Run, int SpaceWidth) {
  const int hx = Measure("X").cy;
  const int areaWidth = LayoutRect.Right - LayoutRect.Left;
  size_t pos = 0;
  bool measured = false;
  std::string word;
  TSize size;
  while (true) {
    if (!measured) {
      size_t first = Run.find_first_not_of(' ', pos);
      if (first == std::string::npos) break;
      size_t last = Run.find(' ', first);
      if (last == std::string::npos) last = Run.size();
      word.assign(Run, first, last - first);
      pos = last;
      size = Measure(word);
      measured = true;
    }
    const int w = size.cx;
    auto box = [&](int x) {
      return AlphaText ? TRect(x, PenY, x + w, PenY + hx)
                       : TRect(x, PenY + LineHeight - size.cy, x + w, PenY + LineHeight);
    };
    if (w > areaWidth) {
      // Wider than the area: drawn at the left edge of the current line,
      // over what is already there, and the line ends below it.
      PenX = LayoutRect.Left;
      DrawRun(word, box(PenX));
      LineHeight = std::max(LineHeight, hx);
      PenY += LineHeight;
      LineWidth = std::max(LineWidth, w);
      measured = false;
    } else if (PenX + w > LayoutRect.Right) {
      PenX = LayoutRect.Left;
      LineHeight = std::max(LineHeight, hx);
      PenY += LineHeight;
    } else {
      DrawRun(word, box(PenX));
      PenX += w + SpaceWidth;
      LineWidth = std::max(LineWidth, PenX);
      LineHeight = std::max(LineHeight, hx);
      measured = false;
    }
  }
}

size_t TsHtml::ParseEntity(size_t Pos) {
  std::string_view s = std::string_view(SourceText).substr(Pos + 1, 255);
  size_t semi = s.find(';');
  if (semi == std::string_view::npos) return 0;
  std::string_view name = s.substr(0, semi);
  if (name.find(' ') != std::string_view::npos) return 0;
  const THtmlEntity* found = nullptr;
  for (const auto& row : HtmlEntities)
    if (name == row.Name || name == row.Number) {
      found = &row;
      break;
    }
  if (found == nullptr) return 0;
  const std::string text(1, found->Character);
  const TSize size = Measure(text);
  if (LayoutRect.Right > 0 && PenX + size.cx > LayoutRect.Right) {
    PenX = LayoutRect.Left;
    NewLine();
  }
  DrawRun(text, TRect(PenX, PenY, PenX + size.cx, PenY + size.cy));
  PenX += size.cx;
  LineWidth = PenX;
  LineHeight = std::max(LineHeight, Measure("X").cy);
  return Pos + 1 + semi + 1;
}

bool TsHtml::ProcessTag(std::string_view Tag, size_t Pos, bool TailOfRejected) {
  const std::string_view inner = Tag.substr(1, Tag.size() - 2);
  if (Tag.size() > 2 && Tag[1] == '/') {
    const std::string_view name = Tag.substr(2);
    auto removeStyle = [&](TFontStyles s) {
      font_->SetStyle(static_cast<TFontStyles>(font_->Style() & ~s));
      return true;
    };
    // Each name matches by its start, so a closing BR closes bold.
    if (name.starts_with("B")) return removeStyle(fsBold);
    if (name.starts_with("I")) return removeStyle(fsItalic);
    if (name.starts_with("U")) return removeStyle(fsUnderline);
    if (name.starts_with("FONT")) {
      PopFont();
      return true;
    }
    if (name.starts_with("A")) {
      // No link is open: there is no link to close.
      if (openLinks_ == 0 || Links.empty()) return true;
      --openLinks_;
      TvlLink& link = Links.back();
      link.Href = CleanHref(link.Href);
      link.EndX = PenX;
      link.EndY = link.StartY + LineHeight;
      PopFont();
      return true;
    }
    return false;
  }
  if (inner == "BR" || inner == "BR/" || inner == "P") {
    PenX = LayoutRect.Left;
    if (LineHeight == 0) LineHeight = Measure("X").cy;
    NewLine();
    return true;
  }
  if (inner == "B" || inner == "I" || inner == "U") {
    const TFontStyles s = inner == "B" ? fsBold : inner == "I" ? fsItalic : fsUnderline;
    font_->SetStyle(static_cast<TFontStyles>(font_->Style() | s));
    return true;
  }
  // FONT and A match anywhere in the tag, with at least one character after
  // the name before the '>' (so a TABLE tag opens a link).
  auto holds = [&](std::string_view name) {
    size_t at = inner.find(name);
    return at != std::string_view::npos && at + name.size() < inner.size();
  };
  if (TailOfRejected) return false;
  if (holds("FONT")) {
    PushFont(Tag, false, 0);
    return true;
  }
  if (holds("A")) {
    const int n = static_cast<int>(Links.size());
    PushFont(Tag, true, (n == PressedLinkIndex ? 1 : 0) + (n == HotLinkIndex ? 1 : 0));
    TvlLink link;
    link.StartX = PenX;
    link.StartY = PenY;
    link.Href = SourceText.substr(Pos, Tag.size());
    Links.push_back(std::move(link));
    ++openLinks_;
    return true;
  }
  return false;
}

TColor TsHtml::LinkColor(int State) const {
  if (Manager != nullptr && Manager->Active()) {
    switch (State) {
      case 0:
        return Manager->SkinPalette[2];
      case 1:
        return Manager->SkinPalette[3];
      default:
        return static_cast<TColor>(MixTwoColors(static_cast<uint32_t>(Manager->SkinPalette[3]),
                                                static_cast<uint32_t>(Manager->SkinPalette[1]),
                                                127));
    }
  }
  return State == 2 ? 0x0000FF : 0xFF0000;
}

void TsHtml::PushFont(std::string_view Tag, bool IsLink, int State) {
  FontStack.push_back(THtmlFontData::From(*font_));
  if (!IsLink) {
    ParseFontTag(*font_, Tag);
    return;
  }
  font_->SetColor(LinkColor(State));
  if (State != 0) font_->SetStyle(static_cast<TFontStyles>(font_->Style() | fsUnderline));
}

void TsHtml::PopFont() {
  if (FontStack.empty()) return;
  FontStack.back().ApplyTo(*font_);
  FontStack.pop_back();
}
