// The shared adapter routines: fonts from the non-client metrics, colour
// properties reached by name, and the bordered cache while the parent is
// not ready.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/adapters/adapter_routines.h"
#include "skin/engine/common_data.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "tests/support/adapter_windows.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

TEST(AdapterRoutines, CreateSystemFontPicksTheFontOfItsKind) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  struct Case {
    int kind;
    const LOGFONTW* expected;
  };
  const Case cases[] = {
      {0, &metrics.lfMessageFont}, {1, &metrics.lfCaptionFont}, {2, &metrics.lfSmCaptionFont},
      {3, &metrics.lfMenuFont},    {4, &metrics.lfStatusFont},  {5, &metrics.lfMessageFont},
      {9, &metrics.lfMessageFont},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    TOwnedFont font(CreateSystemFont(c.kind));
    ASSERT_TRUE(font) << "the metrics are read with the size every platform accepts";
    LOGFONTW got{};
    ASSERT_EQ(GetObjectW(font.Get(), sizeof got, &got), static_cast<int>(sizeof got));
    EXPECT_EQ(got.lfHeight, c.expected->lfHeight);
    EXPECT_EQ(got.lfWeight, c.expected->lfWeight);
    EXPECT_EQ(std::wcscmp(got.lfFaceName, c.expected->lfFaceName), 0);
  }
}

TEST(AdapterRoutines, ColourPropertiesByName) {
  TOwnedObject<TForm> form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
  auto* edit = New<TEdit>(form.get());
  edit->SetColor(clBtnFace);
  struct Case {
    const char* name;
    TObject* control;
    const char* prop;
    int value;   // GetColorPropValue
    TColor rgb;  // GetColorPropRGB
  };
  const Case reads[] = {
      {"system colour", edit, "Color", static_cast<int>(clBtnFace),
       static_cast<TColor>(ColorToRGB(clBtnFace))},
      {"missing property", edit, "FocusColor", 0, 0},
      {"no control", nullptr, "Color", 0, 0},
  };
  for (const Case& c : reads) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetColorPropValue(c.control, c.prop), c.value);
    EXPECT_EQ(GetColorPropRGB(c.control, c.prop), c.rgb);
  }
  SetColorPropIfPresent(edit, "FocusColor", clRed);
  SetColorPropIfPresent(nullptr, "Color", clRed);
  EXPECT_EQ(edit->Color(), clBtnFace) << "absent property or control: nothing changes";
  SetColorPropIfPresent(edit, "Color", clRed);
  EXPECT_EQ(edit->Color(), clRed);
}

// The parent answers the background query with the kind a row asks for.
TEST(AdapterRoutines, BorderCacheWaitsForAParentThatIsNotReady) {
  TTestWindow host = CreateHostWindow();
  TRecordingWindow parent(host.Get(), WS_CHILD | WS_VISIBLE, 300, 200);
  TTestWindow edit = CreatePlainEdit(parent.Handle(), 60, 30);
  struct Case {
    const char* name;
    uint8_t answer;
    bool keepsOldCache;
  };
  const Case cases[] = {
      {"not ready", bgNotReady, true},
      {"a colour", bgColor, false},
  };
  constexpr uint32_t kMarker = 0xFF123456;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    parent.OnMessage = [&](const TRecordedMessage& m) {
      if (m.Msg != SkinCommandMessage || SkinCmdCode(m.WParam) != SkinCmdGetBackground) return;
      auto* request = reinterpret_cast<BackgroundRequest*>(m.LParam);
      request->Kind = c.answer;
      request->Color = clLime;
    };
    TOwnedObject<TsCommonData> data = OwnObject(New<TsCommonData>(nullptr, true));
    data->WndHandle = edit.Get();
    data->PrepareCacheBitmap();
    data->CacheBitmap->SetSize(10, 10);
    ArgbView(data->CacheBitmap).At(3, 3) = kMarker;
    data->BgChanged = true;
    data->Updating = false;
    PaintBorderCache(data.get(), edit.Get(), false);
    EXPECT_EQ(data->Updating, c.keepsOldCache);
    EXPECT_EQ(data->BgChanged, c.keepsOldCache);
    if (c.keepsOldCache) {
      EXPECT_EQ(data->CacheBitmap->Width(), 10);
      EXPECT_EQ(ArgbView(data->CacheBitmap).At(3, 3), kMarker) << "the old cache is left";
    } else {
      RECT r;
      GetWindowRect(edit.Get(), &r);
      EXPECT_EQ(data->CacheBitmap->Width(), r.right - r.left);
      EXPECT_EQ(data->CacheBitmap->Height(), r.bottom - r.top);
    }
    data->WndHandle = nullptr;
  }
}

}  // namespace

namespace {

// The cache of a disabled edit under a parent that answers a plain colour,
// as the pixels of one row band.
std::vector<uint32_t> DisabledEditCache(TEdit* Edit, const std::string& Text, char Password) {
  Edit->SetText(Text);
  Edit->SetPasswordChar(Password);
  TOwnedObject<TsCommonData> data = OwnObject(New<TsCommonData>(nullptr, true));
  data->Control = Edit;
  data->WndHandle = Edit->Handle();
  data->BgChanged = true;
  PaintBorderCache(data.get(), Edit->Handle(), false);
  const PixelView v = ArgbView(data->CacheBitmap);
  std::vector<uint32_t> pixels;
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) pixels.push_back(v.At(x, y) & 0xFFFFFF);
  data->Control = nullptr;
  return pixels;
}

}  // namespace

TEST(AdapterRoutines, DisabledPasswordEditShowsOnlyItsCharacter) {
  TOwnedObject<TForm> form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
  form->SetBounds(30, 30, 300, 200);
  auto* edit = New<TEdit>(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 120, 24);
  edit->Font()->SetName("Courier New");
  edit->Font()->SetHeight(-16);
  edit->SetEnabled(false);
  form->Show();

  const auto password = DisabledEditCache(edit, "iiii", '*');
  const auto stars = DisabledEditCache(edit, "****", 0);
  const auto plain = DisabledEditCache(edit, "iiii", 0);
  const auto empty = DisabledEditCache(edit, "", 0);
  EXPECT_NE(plain, empty) << "a disabled edit's text is drawn into the cache";
  EXPECT_EQ(password, stars) << "the password character once per character";
  EXPECT_NE(password, plain) << "never the text itself";
}
