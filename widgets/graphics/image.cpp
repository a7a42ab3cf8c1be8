#include "widgets/graphics/image.h"

#include "widgets/rtl/streams.h"

const TClassInfo& TGraphic::StaticClass() {
  static const TClassInfo info("TGraphic", &TPersistent::StaticClass());
  return info;
}

void TGraphic::SetTransparent(bool Value) {
  if (Value == transparent_) return;
  transparent_ = Value;
  Changed(this);
}

void TGraphic::SetModified(bool Value) {
  if (Value)
    Changed(this);
  else
    modified_ = false;
}

void TGraphic::Changed(TObject*) {
  modified_ = true;
  if (OnChange) OnChange(this);
}

void TGraphic::Changing(TObject*) {
  if (OnChanging) OnChanging(this);
}

void TGraphic::Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                        const TRect& R, const std::string& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

void TGraphic::DefineProperties(TFiler& Filer) {
  Filer.DefineBinaryProperty(
      "Data", this, [](TObject* o, TStream& s) { static_cast<TGraphic*>(o)->ReadData(s); },
      [](TObject* o, TStream& s) { static_cast<TGraphic*>(o)->WriteData(s); }, !Empty());
}

void TGraphic::ReadData(TStream& Stream) {
  LoadFromStream(Stream);
}

void TGraphic::WriteData(TStream& Stream) {
  SaveToStream(Stream);
}

void TGraphic::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(stream);
}
