// TPicture and the table of file formats.
#include <algorithm>

#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/icon.h"
#include "widgets/graphics/jpeg.h"
#include "widgets/rtl/sysutils.h"

namespace {

struct TFileFormat {
  std::string Extension;  // lower case, no dot
  std::string Description;
  TGraphicClass Class;
};

// The formats of the graphics unit itself are present from the first use;
// later registrations come first when an extension is looked up.
std::vector<TFileFormat>& FileFormats() {
  static std::vector<TFileFormat> formats = {
      {"bmp", "Bitmaps", GraphicClassOf<TBitmap>()},
      {"ico", "Icons", GraphicClassOf<TIcon>()},
      {"jpg", "JPEG Image File", GraphicClassOf<TJPEGImage>()},
      {"jpeg", "JPEG Image File", GraphicClassOf<TJPEGImage>()},
  };
  return formats;
}

std::string NormalExt(const std::string& ext) {
  return LowerCase(!ext.empty() && ext[0] == '.' ? ext.substr(1) : ext);
}

}  // namespace

const TClassInfo& TPicture::StaticClass() {
  static const TClassInfo info("TPicture", &TPersistent::StaticClass());
  return info;
}

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  TGraphicClass GraphicClass) {
  if (!GraphicClass) return;
  FileFormats().push_back({NormalExt(Extension), Description, GraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass GraphicClass) {
  auto& f = FileFormats();
  f.erase(std::remove_if(f.begin(), f.end(),
                         [&](const TFileFormat& e) { return e.Class == GraphicClass; }),
          f.end());
}

TGraphicClass TPicture::FindGraphicClass(const std::string& Extension) {
  std::string ext = NormalExt(Extension);
  const auto& f = FileFormats();
  for (auto it = f.rbegin(); it != f.rend(); ++it)
    if (it->Extension == ext) return it->Class;
  return {};
}

TPicture::~TPicture() {
  delete graphic_;
}

void TPicture::Take(TGraphic* g) {
  TGraphic* old = graphic_;
  graphic_ = g;
  if (g) {
    g->OnChange = TNotifyEvent::Of<&TPicture::GraphicChanged>(this);
    g->OnProgress = TProgressEvent::Of<&TPicture::GraphicProgress>(this);
  }
  delete old;
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == graphic_) return;
  TGraphic* copy = nullptr;
  if (Value) {
    copy = Value->GraphicClass().Create();
    try {
      copy->Assign(Value);
    } catch (...) {
      delete copy;
      throw;
    }
  }
  Take(copy);
}

void TPicture::ForceType(TGraphicClass cls) {
  if (graphic_ && graphic_->GraphicClass() == cls) return;
  Take(cls.Create());
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_)) ForceType(GraphicClassOf<TBitmap>());
  return static_cast<TBitmap*>(graphic_);
}

void TPicture::SetBitmap(TBitmap* Value) {
  SetGraphic(Value);
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(graphic_)) ForceType(GraphicClassOf<TIcon>());
  return static_cast<TIcon*>(graphic_);
}

void TPicture::SetIcon(TIcon* Value) {
  SetGraphic(Value);
}

int TPicture::Width() const {
  return graphic_ ? graphic_->Width() : 0;
}
int TPicture::Height() const {
  return graphic_ ? graphic_->Height() : 0;
}

void TPicture::LoadFromFile(const std::string& FileName) {
  std::string ext = ExtractFileExt(FileName);
  TGraphicClass cls = FindGraphicClass(ext);
  if (!cls) throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
  TGraphic* g = cls.Create();
  try {
    g->OnProgress = TProgressEvent::Of<&TPicture::GraphicProgress>(this);
    g->LoadFromFile(FileName);
  } catch (...) {
    delete g;
    throw;
  }
  Take(g);
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (graphic_) graphic_->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    Take(nullptr);
  } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(p->graphic_);
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (graphic_ && dynamic_cast<TGraphic*>(Dest)) {
    Dest->Assign(graphic_);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::GraphicChanged(TObject* Sender) {
  Changed(Sender);
}

void TPicture::GraphicProgress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone,
                               bool RedrawNow, const TRect& R, const std::string& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}
