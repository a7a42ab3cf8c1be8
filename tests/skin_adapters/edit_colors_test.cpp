// The edit adapter's colours: what it pushes into a control, what it gives
// back however the skin goes, the section and kind it chooses, and when it
// switches the platform's visual styles off.
#include "edit_scene.h"
#include "skin/adapters/scroll_wnd.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/rtl/reflection.h"

namespace {

enum class Exit { RemoveSkin, Release, Free };

const char* ExitName(Exit e) {
  return e == Exit::RemoveSkin ? "remove skin" : e == Exit::Release ? "release" : "free";
}

constexpr TColor kOwnColor = static_cast<TColor>(0x00336699);
constexpr TColor kOwnFont = static_cast<TColor>(0x00112233);
constexpr TColor kOwnFocus = static_cast<TColor>(0x00445566);

TEST(EditAdapterColors, PushedAtTheFirstPaintAndGivenBackHoweverTheSkinGoes) {
  TEditScene s;
  for (bool focusProp : {false, true})
    for (bool customColor : {false, true})
      for (bool customFont : {false, true})
        for (Exit exit : {Exit::RemoveSkin, Exit::Release, Exit::Free}) {
          SCOPED_TRACE(testing::Message()
                       << "FocusColor " << focusProp << " custom colour " << customColor
                       << " custom font " << customFont << ", " << ExitName(exit));
          TEdit* e = focusProp ? s.AddControl<TReflectedEdit>(10, 10, 120, 24)
                               : s.AddControl<TEdit>(10, 10, 120, 24);
          auto* reflected = dynamic_cast<TReflectedEdit*>(e);
          e->SetColor(kOwnColor);
          e->Font()->SetColor(kOwnFont);
          if (reflected) reflected->SetFocusColor(kOwnFocus);
          TvlEditWnd* a = s.Adapt(e, !customColor, !customFont);
          ASSERT_NE(a, nullptr);
          EXPECT_EQ(a->SavedColor, kOwnColor);
          EXPECT_EQ(a->SavedFontColor, kOwnFont);
          if (reflected) {
            EXPECT_EQ(a->SavedFocusColor, kOwnFocus);
          }

          RedrawWindow(e->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
          EXPECT_TRUE(a->ColorsApplied);
          const int state = a->SkinData->CurrentState() != 0 ? 1 : 0;
          const TColor face = a->SkinData->BgColor(state, e->Handle());
          const TColor text = static_cast<TColor>(s.Section("EDIT").Props[size_t(state)].FontColor);
          EXPECT_EQ(e->Color(), customColor ? kOwnColor : face);
          EXPECT_EQ(e->Font()->Color(), customFont ? kOwnFont : text);
          if (reflected) {
            EXPECT_EQ(reflected->FocusColor(), customColor ? kOwnFocus : face);
          }
          // The skin's font colour is marked only while it is being set.
          EXPECT_FALSE(a->SkinData->StateFlags & sfSkinFontColor);

          switch (exit) {
            case Exit::RemoveSkin:
              a->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdRemoveSkin),
                         reinterpret_cast<LPARAM>(s.Manager));
              break;
            case Exit::Release:
              ReleaseScrollWndAdapter(e->Handle(), false, false, a);
              EXPECT_TRUE(a->Released);
              break;
            case Exit::Free:
              ReleaseScrollWndAdapter(e->Handle(), true, false, a);
              break;
          }
          EXPECT_EQ(e->Color(), customColor ? kOwnColor : clWindow);
          EXPECT_EQ(e->Font()->Color(), customFont ? kOwnFont : clWindowText);
          if (reflected) {
            EXPECT_EQ(reflected->FocusColor(), kOwnFocus);
          }
          if (a) ReleaseScrollWndAdapter(e->Handle(), true, false, a);
          TObject::Free(e);
        }
}

TEST(EditAdapterColors, SectionAndKindFollowTheControlAndWhoseSkinStateItIs) {
  TEditScene s;
  struct Case {
    const char* Name;
    bool PanelBorder;
    bool GivenData;
    const char* Section;
    int Kind;
  } cases[] = {
      {"own state", false, false, "EDIT", ckEditWindow},
      {"own state, PanelBorder", true, false, "TRANSPARENT", ckEditWindow},
      {"given state keeps its kind", false, true, "", ckEdit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TEdit* e = c.PanelBorder ? s.AddControl<TPanelBorderEdit>(10, 10, 120, 24)
                             : s.AddControl<TReflectedEdit>(10, 10, 120, 24);
    TsScrollWndData* given = nullptr;
    TvlEditWnd* a;
    if (c.GivenData) {
      given = new TsScrollWndData(nullptr, true);
      given->Control = e;
      given->ControlKind = ckEdit;
      TvlSkinParams p;
      a = CreateAdapter<TvlEditWnd>(e->Handle(), given, s.Manager, p, true);
    } else {
      a = s.Adapt(e);
    }
    EXPECT_EQ(a->SkinData->SkinSection, c.Section);
    EXPECT_EQ(a->SkinData->ControlKind, c.Kind);
    EXPECT_EQ(a->OwnsSkinData, !c.GivenData);
    EXPECT_TRUE(a->SingleLineEdit);
    ReleaseScrollWndAdapter(e->Handle(), true, false, a);
    // A given skin state belongs to the control that passed it.
    if (given) {
      EXPECT_EQ(given->ControlKind, ckEdit);
      TObject::Free(given);
    }
    TObject::Free(e);
  }
}

// The visual styles go off for a window the adapter skins, except where the
// control draws them itself or a list view keeps them.
std::vector<HWND> ThemedOff;
HRESULT WINAPI RecordTheme(HWND Wnd, LPCWSTR App, LPCWSTR Ids) {
  if (App && Ids && App[0] == L' ') ThemedOff.push_back(Wnd);
  return S_OK;
}

TEST(EditAdapterColors, VisualStylesGoOffUnlessTheControlOrKindKeepsThem) {
  TEditScene s;
  const TSetWindowTheme saved = SetWindowThemeProc;
  SetWindowThemeProc = &RecordTheme;
  struct Case {
    const char* Name;
    bool UseXPThemes;
    bool GivenData;
    int Kind;
    const char* Section;
    bool Off;
  } cases[] = {
      {"given state", false, true, ckEdit, "", true},
      {"given state, UseXPThemes", true, true, ckEdit, "", false},
      {"given list-view state", false, true, ckListView, "", WindowsVersion < 6},
      {"own state", false, false, 0, "", WindowsVersion < 6},
      {"own state, COMBOBOX", false, false, 0, "COMBOBOX", true},
      {"own state, DIALOG", false, false, 0, "DIALOG", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ThemedOff.clear();
    TEdit* e = c.UseXPThemes ? s.AddControl<TReflectedEdit>(10, 10, 120, 24)
                             : s.AddControl<TEdit>(10, 10, 120, 24);
    TsScrollWndData* given = nullptr;
    TvlSkinParams p;
    p.TargetControl = e;
    p.SectionName = c.Section;
    if (c.GivenData) {
      given = new TsScrollWndData(nullptr, true);
      given->Control = e;
      given->ControlKind = c.Kind;
    }
    TvlEditWnd* a = CreateAdapter<TvlEditWnd>(e->Handle(), given, s.Manager, p, false);
    EXPECT_EQ(std::count(ThemedOff.begin(), ThemedOff.end(), e->Handle()), c.Off ? 1 : 0);
    ReleaseScrollWndAdapter(e->Handle(), true, false, a);
    TObject::Free(given);
    TObject::Free(e);
  }
  SetWindowThemeProc = saved;
}

}  // namespace
