// The carrier form, files' icons and the warning boxes.
#include <gtest/gtest.h>

#include <memory>

#include "probe.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/glow_form.h"
#include "skin/foundation/skin_const.h"
#include "widgets/graphics/graphics.h"
#include "widgets/forms/message_box.h"

namespace {

TEST(GlowForm, CarrierFormIsInertAndTransparentToTheMouse) {
  auto* f = New<TvlGlowForm>(nullptr);
  EXPECT_EQ(f->Tag() & NoSkinTag, NoSkinTag);
  EXPECT_EQ(f->BorderStyle(), bsNone);
  EXPECT_EQ(f->Perform(WM_NCHITTEST, 0, 0), static_cast<LRESULT>(HTTRANSPARENT));
  HWND h = f->Handle();
  const LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
  EXPECT_EQ(ex & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW), WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetClassLongPtrA(h, GCL_STYLE) & CS_DROPSHADOW, 0);
  EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTTRANSPARENT);

  // Hiding it never hands the activation on.
  TForm* other = New<TForm>(Application, TCustomForm::TCreateNew{});
  other->Show();
  SetActiveWindow(other->Handle());
  SetWindowPos(h, HWND_TOP, 10, 10, 40, 40, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ASSERT_TRUE(IsWindowVisible(h));
  f->Perform(CM_VISIBLECHANGED, 0, 0);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_EQ(GetActiveWindow(), other->Handle());
  TObject::Free(other);
  TObject::Free(f);
}

TEST(ArgbFactories, BitmapForAControlTakesItsSize) {
  auto* f = New<TvlGlowForm>(nullptr);
  f->SetBounds(0, 0, 33, 21);
  std::unique_ptr<TBitmap> b(NewArgbBitmapForControl(f));
  EXPECT_EQ(b->Width(), 33);
  EXPECT_EQ(b->Height(), 21);
  TObject::Free(f);
}

TEST(FileIcons, MissingFileGivesNoIcon) {
  EXPECT_EQ(GetFileIcon("C:\\no\\such\\file.exe", 0), nullptr);
  // The program's own file: whatever the shell answers, a returned icon holds one.
  TIcon* icon = GetFileIcon(ParamStr(0), SHGFI_SMALLICON);
  if (icon) {
    EXPECT_FALSE(icon->Empty());
    TObject::Free(icon);
  }
}

class BoxRecorder : public TMessageBoxSink {
 public:
  BoxRecorder() { previous_ = SetMessageBoxSink(this); }
  ~BoxRecorder() override { SetMessageBoxSink(previous_); }
  int Show(const TMessageBoxRequest& r) override {
    Boxes.push_back(r);
    return IDCANCEL;
  }
  std::vector<TMessageBoxRequest> Boxes;

 private:
  TMessageBoxSink* previous_;
};

TEST(MessageBoxes, WarningAndErrorShowOneOkButton) {
  BoxRecorder rec;
  ShowWarning("Skin is newer");
  ShowError("Skin not loaded");
  ASSERT_EQ(rec.Boxes.size(), 2u);
  EXPECT_EQ(rec.Boxes[0].Caption, "Warning");
  EXPECT_EQ(rec.Boxes[0].Text, "Skin is newer");
  EXPECT_EQ(rec.Boxes[0].Style & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  EXPECT_EQ(rec.Boxes[0].Style & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_EQ(rec.Boxes[1].Caption, "Error");
  EXPECT_EQ(rec.Boxes[1].Style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(rec.Boxes[1].Kind, TMessageBoxKind::MessageBoxIndirect);
}

}  // namespace
