// Which messages go on to the bound label: exactly those the platform edit
// received, skinned or not.
#include <vector>

#include "edit_scene.h"
#include "skin/foundation/skin_commands.h"

namespace {

struct TSeen {
  UINT Msg;
  WPARAM WParam;
};

class TRecordingEdit : public TsEdit {
 public:
  using TsEdit::TsEdit;
  std::vector<TSeen> Seen;

  bool Saw(UINT Msg, WPARAM WParam) const {
    for (const TSeen& s : Seen)
      if (s.Msg == Msg &&
          (Msg != SkinCommandMessage || SkinCmdCode(s.WParam) == SkinCmdCode(WParam)))
        return true;
    return false;
  }

 protected:
  void PassToBoundLabel(TMessage& Message) override {
    Seen.push_back({Message.Msg, Message.WParam});
    TsEdit::PassToBoundLabel(Message);
  }
};

enum TParam { pNone, pDC, pOtherManager, pScale };

struct TForwardCase {
  const char* Name;
  UINT Msg;
  WPARAM WParam;
  TParam Param;
  bool Skinned;    // reaches the label on a skinned edit
  bool Unskinned;  // and on an unskinned one
};

constexpr TForwardCase kCases[] = {
    {"paint", WM_PAINT, 0, pNone, false, true},
    {"erase", WM_ERASEBKGND, 0, pDC, false, true},
    {"frame paint", WM_NCPAINT, 1, pNone, false, true},
    {"print", WM_PRINT, 0, pDC, false, false},
    {"size", WM_SIZE, 0, pNone, true, true},
    {"moved", WM_WINDOWPOSCHANGED, 0, pNone, true, true},
    {"enabled changed", CM_ENABLEDCHANGED, 0, pNone, true, true},
    {"ui state", WM_UPDATEUISTATE, 0, pNone, false, true},
    {"set text", WM_SETTEXT, 0, pNone, true, true},
    {"scale", SkinCommandMessage, SkinCmdParam(SkinCmdSetScale), pScale, true, true},
    {"is skinned", SkinCommandMessage, SkinCmdParam(SkinCmdIsSkinned), pNone, false, false},
    {"background varies", SkinCommandMessage, SkinCmdParam(SkinCmdBackgroundVaries), pNone, false,
     false},
    {"bg colour", SkinCommandMessage, SkinCmdParam(SkinCmdGetBgColor), pNone, false, false},
    {"new skin of another manager", SkinCommandMessage, SkinCmdParam(SkinCmdNewSkin), pOtherManager,
     false, true},
    {"refresh of another manager", SkinCommandMessage, SkinCmdParam(SkinCmdRefresh), pOtherManager,
     false, true},
};

void RunCases(bool Skinned) {
  TEditScene scene(Skinned);
  auto* edit = scene.Add<TRecordingEdit>("12.5");
  ASSERT_EQ(edit->SkinData()->Skinned(), Skinned);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 200, 60);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  int otherManager = 0;
  for (const TForwardCase& c : kCases) {
    LPARAM l = 0;
    if (c.Param == pDC && c.Msg == WM_PRINT) l = PRF_CLIENT | PRF_NONCLIENT;
    if (c.Param == pOtherManager) l = reinterpret_cast<LPARAM>(&otherManager);
    if (c.Param == pScale) l = 100;
    std::string text = "7.0";
    if (c.Msg == WM_SETTEXT) l = reinterpret_cast<LPARAM>(text.c_str());
    WPARAM w = c.Param == pDC ? reinterpret_cast<WPARAM>(dc) : c.WParam;
    WINDOWPOS pos{};
    if (c.Msg == WM_WINDOWPOSCHANGED) {
      pos.hwnd = edit->Handle();
      pos.flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
      l = reinterpret_cast<LPARAM>(&pos);
    }
    edit->Seen.clear();
    edit->Perform(c.Msg, w, l);
    EXPECT_EQ(edit->Saw(c.Msg, c.WParam), Skinned ? c.Skinned : c.Unskinned)
        << c.Name << (Skinned ? " (skinned)" : " (unskinned)");
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST(EditForwarding, SkinnedEditPassesOnWhatThePlatformGot) {
  RunCases(true);
}

TEST(EditForwarding, UnskinnedEditPassesOnWhatThePlatformGot) {
  RunCases(false);
}

}  // namespace
