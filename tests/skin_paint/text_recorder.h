// A canvas whose drawing is recorded in an enhanced metafile, read back as
// the list of text outputs with the text colour and font in force for each:
// text painters are checked by the colours and the order they draw in, never
// by glyph pixels.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "widgets/graphics/graphics.h"

struct DrawnText {
  std::string Text;
  COLORREF Color;
  POINT At;        // the reference point of the output
  UINT Options;    // ETO_ flags
  bool Underline;  // the selected font's
  LONG Escapement;
};

class TextRecorder {
 public:
  TextRecorder() : dc_(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr)) {
    Canvas.SetHandle(dc_);
  }
  ~TextRecorder() {
    if (dc_) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
  }
  TextRecorder(const TextRecorder&) = delete;
  TextRecorder& operator=(const TextRecorder&) = delete;

  HDC DC() const { return dc_; }

  // Ends the recording and reads it back.
  std::vector<DrawnText> Finish() {
    Canvas.SetHandle(nullptr);
    HENHMETAFILE emf = CloseEnhMetaFile(dc_);
    dc_ = nullptr;
    Playback state;
    EnumEnhMetaFile(nullptr, emf, &Playback::Record, &state, nullptr);
    DeleteEnhMetaFile(emf);
    return state.Drawn;
  }

  TCanvas Canvas;

 private:
  struct Attributes {
    COLORREF Color = 0;
    LOGFONTW Font{};
  };
  struct Playback {
    std::vector<DrawnText> Drawn;
    std::vector<Attributes> Saved;
    Attributes Now;
    std::vector<LOGFONTW> Fonts = std::vector<LOGFONTW>(256);
    std::vector<bool> IsFont = std::vector<bool>(256);

    static int CALLBACK Record(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM data) {
      auto& s = *reinterpret_cast<Playback*>(data);
      switch (rec->iType) {
        case EMR_SETTEXTCOLOR:
          s.Now.Color = reinterpret_cast<const EMRSETTEXTCOLOR*>(rec)->crColor;
          break;
        case EMR_SAVEDC:
          s.Saved.push_back(s.Now);
          break;
        case EMR_RESTOREDC: {
          const int rel = reinterpret_cast<const EMRRESTOREDC*>(rec)->iRelative;
          for (int i = 0; i < -rel && !s.Saved.empty(); ++i) {
            s.Now = s.Saved.back();
            s.Saved.pop_back();
          }
          break;
        }
        case EMR_EXTCREATEFONTINDIRECTW: {
          const auto* f = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(rec);
          if (f->ihFont < s.Fonts.size()) {
            s.Fonts[f->ihFont] = f->elfw.elfLogFont;
            s.IsFont[f->ihFont] = true;
          }
          break;
        }
        case EMR_DELETEOBJECT: {
          const DWORD h = reinterpret_cast<const EMRDELETEOBJECT*>(rec)->ihObject;
          if (h < s.IsFont.size()) s.IsFont[h] = false;
          break;
        }
        case EMR_SELECTOBJECT: {
          const DWORD h = reinterpret_cast<const EMRSELECTOBJECT*>(rec)->ihObject;
          const DWORD stock = h & 0x7FFFFFFFu;
          if ((h & 0x80000000u) && stock >= OEM_FIXED_FONT && stock <= DEFAULT_GUI_FONT)
            s.Now.Font = LOGFONTW{};
          else if (!(h & 0x80000000u) && h < s.Fonts.size() && s.IsFont[h])
            s.Now.Font = s.Fonts[h];
          break;
        }
        case EMR_EXTTEXTOUTW: {
          const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
          const auto* w = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(t) +
                                                           t->emrtext.offString);
          std::string text;
          for (DWORD i = 0; i < t->emrtext.nChars; ++i) text += static_cast<char>(w[i]);
          DrawnText d;
          d.Text = text;
          d.Color = s.Now.Color;
          d.At = POINT{t->emrtext.ptlReference.x, t->emrtext.ptlReference.y};
          d.Options = t->emrtext.fOptions;
          d.Underline = s.Now.Font.lfUnderline != 0;
          d.Escapement = s.Now.Font.lfEscapement;
          s.Drawn.push_back(d);
          break;
        }
      }
      return 1;
    }
  };
  HDC dc_;
};
