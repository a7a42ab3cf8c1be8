// TGraphic, the base of every picture class (bitmap, icon, JPEG, PNG), and
// TPicture, which holds one graphic and picks its class by file extension.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/graphics/canvas.h"

class TStream;
class TGraphic;
class TBitmap;
class TIcon;

// A class reference for graphics: the class info plus its virtual
// constructor. Graphic classes get theirs from DECLARE_GRAPHIC.
struct TGraphicClass {
  const TClassInfo* Info = nullptr;
  TGraphic* (*Create)() = nullptr;
  explicit operator bool() const { return Info != nullptr; }
  bool operator==(const TGraphicClass& o) const { return Info == o.Info; }
};

template <typename G>
TGraphicClass GraphicClassOf() {
  return {&G::StaticClass(), []() -> TGraphic* { return New<G>(); }};
}

// Use instead of DECLARE_CLASS in every concrete graphic class.
#define DECLARE_GRAPHIC(Cls, Base)              \
  DECLARE_CLASS(Cls, Base)                      \
 public:                                        \
  TGraphicClass GraphicClass() const override { \
    return GraphicClassOf<Cls>();               \
  }                                             \
                                                \
 private:

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = TEvent<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone,
                                   bool RedrawNow, const TRect& R, const std::string& Msg)>;

class TGraphic : public TPersistent {
  DECLARE_CLASS(TGraphic, TPersistent)
 public:
  virtual TGraphicClass GraphicClass() const = 0;

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual int Height() const = 0;
  virtual void SetHeight(int Value) = 0;
  virtual bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return modified_; }
  void SetModified(bool Value);

  virtual void LoadFromStream(TStream& Stream) = 0;
  virtual void SaveToStream(TStream& Stream) = 0;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  // The persisted "Data" property: written when the graphic is not empty.
  void DefineProperties(TFiler& Filer) override;
  // The block of "Data"; the base loads and saves the whole stream.
  virtual void ReadData(TStream& Stream);
  virtual void WriteData(TStream& Stream);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;
  TProgressEvent OnProgress;

 protected:
  friend class TCanvas;
  friend class TPicture;
  // Paints the graphic stretched into Rect on the canvas.
  virtual void Draw(TCanvas& ACanvas, const TRect& Rect) = 0;
  virtual void Changed(TObject* Sender);
  virtual void Changing(TObject* Sender);
  virtual void Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                        const TRect& R, const std::string& Msg);

 private:
  void DrawOn(TCanvas& ACanvas, const TRect& Rect) { Draw(ACanvas, Rect); }

  bool transparent_ = false;
  bool modified_ = false;
};

class TPicture : public TPersistent {
  DECLARE_CLASS(TPicture, TPersistent)
 public:
  ~TPicture() override;

  // The held graphic (null when empty). Setting copies the graphic into a
  // new object of its class.
  TGraphic* Graphic() const { return graphic_; }
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap; a non-bitmap graphic is replaced by an empty
  // bitmap first.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  TIcon* Icon();
  void SetIcon(TIcon* Value);
  int Width() const;
  int Height() const;

  // Picks the graphic class by the file's extension; raises EInvalidGraphic
  // ("Unknown picture file extension (.xyz)") for an unregistered one.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  void Assign(TPersistent* Source) override;

  // Extension without the dot, case-insensitive. A later registration of
  // an extension takes precedence over an earlier one.
  static void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                 TGraphicClass GraphicClass);
  static void UnregisterGraphicClass(TGraphicClass GraphicClass);
  static TGraphicClass FindGraphicClass(const std::string& Extension);

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed(TObject* Sender);

 private:
  void ForceType(TGraphicClass cls);
  void Take(TGraphic* g);
  void GraphicChanged(TObject* Sender);
  void GraphicProgress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                       const TRect& R, const std::string& Msg);

  TGraphic* graphic_ = nullptr;
};
