// The manager's life: which manager is the default and hooks the
// application window, what the hook answers, and hover tracking.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_loading.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/section_names.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/extctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/graphics.h"
#include "widgets/forms/message_box.h"
#include "widgets/rtl/string_lists.h"

namespace {

struct Received {
  std::string Form;
  uint16_t Code;
  LPARAM LParam;
};

std::vector<Received>& Log() {
  static std::vector<Received> log;
  return log;
}

// Logs every skin command it receives.
class TCommandForm : public TForm {
 public:
  explicit TCommandForm(TComponent* AOwner) : TForm(AOwner, TCreateNew{}) {}
  // The skin state the form answers with, as a skinned control would.
  TsCommonData* SkinData = nullptr;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SkinCommandMessage) {
      Log().push_back({Name(), SkinCmdCode(Message.WParam), Message.LParam});
      if (SkinData && SkinCmdCode(Message.WParam) == SkinCmdGetSkinData) {
        Message.Result = reinterpret_cast<LRESULT>(SkinData);
        return;
      }
    }
    TForm::WndProc(Message);
  }
};

void Pump() {
  MSG msg;
  for (int i = 0; i < 3; ++i)
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
}

std::vector<std::string> ReceiversOf(uint16_t Code) {
  std::vector<std::string> names;
  for (const Received& r : Log())
    if (r.Code == Code) names.push_back(r.Form);
  return names;
}

class ManagerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DefaultManager, nullptr);
    Log().clear();
  }
  void TearDown() override {
    for (auto it = owned_.rbegin(); it != owned_.rend(); ++it) TObject::Free(*it);
    Pump();
    EXPECT_EQ(DefaultManager, nullptr);
  }
  TsSkinManager* Manager() {
    auto* m = New<TsSkinManager>(nullptr);
    owned_.push_back(m);
    return m;
  }
  TCommandForm* Form(const std::string& Name) {
    auto* f = New<TCommandForm>(Application);
    f->SetName(Name);
    f->SetBounds(40, 40, 160, 100);
    f->Show();
    owned_.push_back(f);
    return f;
  }
  void Free(TObject* Obj) {
    std::erase(owned_, Obj);
    TObject::Free(Obj);
  }
  static LRESULT SendCopyData(WPARAM Kind, const void* Data, DWORD Size) {
    COPYDATASTRUCT cds{0, Size, const_cast<void*>(Data)};
    return SendMessageA(Application->Handle(), WM_COPYDATA, Kind, reinterpret_cast<LPARAM>(&cds));
  }

 private:
  std::vector<TObject*> owned_;
};

TEST_F(ManagerTest, FirstManagerStaysDefaultUntilDestroyed) {
  TsSkinManager* first = Manager();
  TsSkinManager* second = Manager();
  EXPECT_EQ(DefaultManager, first);
  EXPECT_TRUE(first->IsDefault());
  EXPECT_FALSE(second->IsDefault());

  second->SetIsDefault(false);  // a default exists: nothing happens
  EXPECT_EQ(DefaultManager, first);

  // Made default, it rebroadcasts its state: active, it sends its skin
  // (none loaded here) to every form again.
  TCommandForm* form = Form("F");
  second->SetIsDefault(true);
  EXPECT_EQ(DefaultManager, second);
  EXPECT_EQ(ReceiversOf(SkinCmdNewSkin), std::vector<std::string>{"F"});
  second->SetIsDefault(true);
  EXPECT_EQ(DefaultManager, second);
  (void)form;

  // Only the default manager clears the global pointer when it goes; the
  // first takes its application hook with it all the same.
  Free(first);
  EXPECT_EQ(DefaultManager, second);
  LivePreviewRecord rec{};
  rec.Marker = LivePreviewMarker;
  COPYDATASTRUCT cds{0, sizeof rec, &rec};
  SendMessageA(Application->Handle(), WM_COPYDATA, 7, reinterpret_cast<LPARAM>(&cds));
  EXPECT_EQ(second->LivePreview.Marker, 0);
  // Made default while active, it installed the dialog hook with no skin
  // loaded: its destructor must take the hook down before the options the
  // hook reads are gone.
  EXPECT_TRUE(second->DialogHookInstalled);
  Free(second);
  EXPECT_EQ(DefaultManager, nullptr);
}

TEST_F(ManagerTest, ConstructionLeavesTheStoredDefaults) {
  TsSkinManager* m = Manager();
  EXPECT_TRUE(m->Active());
  EXPECT_EQ(m->SkinDirectory(), "c:\\Skins");
  EXPECT_EQ(m->SkinInfo(), "N/A");
  EXPECT_EQ(m->SkinningRules(), AllSkinningRules);
  EXPECT_TRUE(m->SkinnedPopups());
  ASSERT_EQ(m->ClassLists.size(), 23u);
  EXPECT_EQ(m->ClassLists[1]->Text(), "TButton\r\n");
  EXPECT_EQ(m->ClassLists[0]->Text(), " \r\n");
  EXPECT_TRUE(m->ClassLists[0]->CaseSensitive());
  EXPECT_EQ(m->ConstData.Sections[0], -1);
  EXPECT_EQ(m->HoverTimer->Interval(), 100u);
  EXPECT_TRUE(m->HoverTimer->Enabled());
}

TEST_F(ManagerTest, ExtendedBordersUseTheBuiltInShadows) {
  ASSERT_TRUE(ShadowActiveBitmap && ShadowInactiveBitmap);
  EXPECT_EQ(ShadowActiveBitmap->Width(), 33);
  EXPECT_EQ(ShadowInactiveBitmap->Height(), 33);
  // Black under the form's middle, the inactive one half as dark.
  auto centre = [](TBitmap* b) { return static_cast<const uint32_t*>(b->ScanLine(16))[16]; };
  EXPECT_EQ(centre(ShadowActiveBitmap), 0x60000000u);
  EXPECT_EQ(centre(ShadowInactiveBitmap), 0x30000000u);
  TsSkinManager* m = Manager();
  m->UpdateExtendedBorders();  // off: no margins
  EXPECT_EQ(m->ExtBorderMargins.left, 0);
  m->SetExtendedBorders(true);
  if (!m->ExtendedBorders()) GTEST_SKIP() << "no layered windows here";
  m->UpdateExtendedBorders();
  EXPECT_EQ(m->ExtBorderMargins.left, 9);
  EXPECT_EQ(m->ExtBorderMargins.bottom, 9);
  ASSERT_TRUE(m->ExtBorderActive && m->ExtBorderInactive);
  EXPECT_EQ(m->ExtBorderActive->Width(), 33);
  EXPECT_NE(m->ExtBorderActive, ShadowActiveBitmap);  // a copy of its own
}

TEST_F(ManagerTest, AppliedDpiLevels) {
  const struct {
    int dpi, level;
  } cases[] = {{96, 0},  {0, 0},   {-120, 0}, {119, 0}, {120, 1},
               {143, 1}, {144, 2}, {191, 2},  {192, 3}, {480, 3}};
  for (const auto& c : cases) EXPECT_EQ(DpiLevelOfAppliedDpi(c.dpi), c.level) << c.dpi;
}

TEST_F(ManagerTest, DpiLevelComesFromTheDesktopsAppliedDpi) {
  const char* key = "Control Panel\\Desktop\\WindowMetrics";
  HKEY k = nullptr;
  ASSERT_EQ(
      RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
      ERROR_SUCCESS);
  DWORD saved = 0, size = sizeof saved, type = 0;
  const bool had = RegQueryValueExA(k, "AppliedDPI", nullptr, &type,
                                    reinterpret_cast<BYTE*>(&saved), &size) == ERROR_SUCCESS;
  for (DWORD dpi : {144u, 96u}) {
    RegSetValueExA(k, "AppliedDPI", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    TsSkinManager* m = Manager();
    EXPECT_EQ(m->AppliedDpiLevel, DpiLevelOfAppliedDpi(static_cast<int>(dpi)));
    Free(m);
  }
  RegDeleteValueA(k, "AppliedDPI");  // a missing value reads as level 0
  EXPECT_EQ(Manager()->AppliedDpiLevel, 0);
  if (had)
    RegSetValueExA(k, "AppliedDPI", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved),
                   sizeof saved);
  RegCloseKey(k);
}

TEST_F(ManagerTest, RecolouringValuesAreStoredAndBrightnessIsLimited) {
  TsSkinManager* m = Manager();
  m->SetBrightness(150);
  EXPECT_EQ(m->Brightness(), 100);
  m->SetBrightness(-150);
  EXPECT_EQ(m->Brightness(), -100);
  m->SetHueOffset(400);
  EXPECT_EQ(m->HueOffset(), 400);
  m->SetSaturation(-30);
  EXPECT_EQ(m->Saturation(), -30);
}

TEST_F(ManagerTest, EmptyThirdPartyListsGetTheirDefaultsBack) {
  TsSkinManager* m = Manager();
  m->ThirdParty()->Set(1, "");
  m->ThirdParty()->Set(0, "TMyEdit");
  m->ThirdParty()->Set(2, "");
  m->LoadThirdPartyLists(false);
  EXPECT_EQ(m->ThirdParty()->Get(1), "TButton");
  EXPECT_EQ(m->ThirdParty()->Get(2), " ");
  EXPECT_EQ(m->ThirdParty()->Get(0), "TMyEdit");  // kept: not forced
  EXPECT_EQ(m->ClassLists[0]->Strings(0), "TMyEdit");
  m->LoadThirdPartyLists(true);
  EXPECT_EQ(m->ThirdParty()->Get(0), " ");
}

TEST_F(ManagerTest, CommonSectionsLoseBlanksExceptInComments) {
  TsSkinManager* m = Manager();
  m->SetActive(false);
  TStringList lines;
  lines.SetText("[ BUTTON ]\r\nCOLOR = 1 2\r\n; keep  this\r\n");
  m->SetCommonSections(&lines);
  EXPECT_EQ(m->CommonSections()->Text(), "[BUTTON]\r\nCOLOR=12\r\n; keep  this\r\n");
}

// Records each box with the manager's skinning rules while it shows.
class TRulesAtBox : public TMessageBoxSink {
 public:
  int Show(const TMessageBoxRequest& Request) override {
    Boxes.push_back({Request.Kind, Request.Text, DefaultManager->SkinningRules()});
    return IDOK;
  }
  struct Box {
    TMessageBoxKind Kind;
    std::string Text;
    TvlSkinningRules Rules;
  };
  std::vector<Box> Boxes;
};

TEST_F(ManagerTest, NewerSkinWarnsWithUnskinnedDialogsOldSkinOnlyAtDesignTime) {
  TsSkinManager* m = Manager();
  TRulesAtBox boxes;
  TMessageBoxSink* previous = SetMessageBoxSink(&boxes);
  const struct {
    double version;
    TvlSkinningRules rules;
    size_t boxes;
  } cases[] = {{8.0, AllSkinningRules, 0},  // design time only
               {11.99, AllSkinningRules, 0},
               {12.0, AllSkinningRules, 1},
               {12.0, 1u << srStdForms, 1}};
  for (const auto& c : cases) {
    boxes.Boxes.clear();
    m->CommonSkinData->Version = c.version;
    m->SetSkinningRules(c.rules);
    m->ShowVersionNotices();
    ASSERT_EQ(boxes.Boxes.size(), c.boxes) << c.version;
    EXPECT_EQ(m->SkinningRules(), c.rules);  // put back as it was
    if (c.boxes) {
      EXPECT_EQ(boxes.Boxes[0].Kind, TMessageBoxKind::MessageDlg);
      EXPECT_EQ(boxes.Boxes[0].Rules & (1u << srStdDialogs), 0u);
      EXPECT_EQ(boxes.Boxes[0].Text.rfind("This version of the skin has not complete support", 0),
                0u);
    }
  }
  SetMessageBoxSink(previous);
}

// ---- The application-window hook ------------------------------------------------------

TEST_F(ManagerTest, OnlyTheFirstManagerHooksTheApplicationWindow) {
  TsSkinManager* first = Manager();
  first->SetActive(false);
  TsSkinManager* second = Manager();
  second->SetActive(false);
  LivePreviewRecord rec{};
  rec.Marker = LivePreviewMarker;
  std::strcpy(rec.SkinName, "Preview");
  SendCopyData(7, &rec, sizeof rec);
  EXPECT_EQ(first->LivePreview.Marker, LivePreviewMarker);
  EXPECT_EQ(second->LivePreview.Marker, 0);
  // Gone with its manager: the next block reaches no hook.
  Free(first);
  rec.Marker = 0;
  SendCopyData(7, &rec, sizeof rec);
  Pump();
  EXPECT_EQ(second->LivePreview.Marker, 0);
}

TEST_F(ManagerTest, CopyDataBlocksThatAreNoLivePreviewAreConsumedWithoutEffect) {
  TsSkinManager* m = Manager();
  m->SetActive(false);
  LivePreviewRecord rec{};
  rec.Marker = LivePreviewMarker;
  std::strcpy(rec.SkinName, "Preview");
  std::vector<char> shortBlock(100);
  std::memcpy(shortBlock.data(), &rec.Marker, 4);
  const struct {
    WPARAM kind;
    const void* data;
    DWORD size;
  } cases[] = {{6, &rec, sizeof rec}, {7, shortBlock.data(), 100}, {7, nullptr, sizeof rec}};
  for (const auto& c : cases) {
    SendCopyData(c.kind, c.data, c.size);
    EXPECT_EQ(m->LivePreview.Marker, 0) << c.kind << " " << c.size;
  }
  Pump();
  EXPECT_EQ(m->SkinName(), "");
}

TEST_F(ManagerTest, LivePreviewRecordIsAppliedWithBoundedFields) {
  TsSkinManager* m = Manager();
  m->SetActive(false);
  // Fields without terminators: each ends at its own size, never in the
  // next field.
  LivePreviewRecord rec{};
  rec.Marker = LivePreviewMarker;
  std::memset(rec.SkinName, 'N', sizeof rec.SkinName);
  std::memset(rec.SkinDirectory, 'D', sizeof rec.SkinDirectory);
  std::memset(rec.Description, 'x', sizeof rec.Description);
  std::vector<char> block(sizeof rec + 16, 'z');  // longer than the record
  std::memcpy(block.data(), &rec, sizeof rec);
  SendCopyData(7, block.data(), static_cast<DWORD>(block.size()));
  EXPECT_EQ(std::memcmp(&m->LivePreview, &rec, sizeof rec), 0);
  Pump();  // the posted apply command
  EXPECT_TRUE(LivePreviewMode);
  EXPECT_EQ(m->SkinDirectory(), std::string(512, 'D'));
  EXPECT_EQ(m->SkinName(), std::string(128, 'N'));
  EXPECT_EQ(LivePreviewDescription, nullptr);
  EXPECT_FALSE(m->UpdateLock);
}

TEST_F(ManagerTest, ApplyWithoutMarkerChangesNothing) {
  TsSkinManager* m = Manager();
  m->SetActive(false);
  std::strcpy(m->LivePreview.SkinName, "Other");
  SendMessageA(Application->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdApplyLivePreview), 0);
  EXPECT_EQ(m->SkinName(), "");
}

TEST_F(ManagerTest, ActivationInvalidatesEveryFormAndThemeChangesAreConsumed) {
  TsSkinManager* m = Manager();
  m->SetActive(false);
  Form("A");
  Form("B");
  Log().clear();
  SendMessageA(Application->Handle(), CM_ACTIVATE, 0, 0);
  auto got = ReceiversOf(SkinCmdInvalidate);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, (std::vector<std::string>{"A", "B"}));

  TMessage theme{WM_THEMECHANGED, 0, 0, 0};
  EXPECT_TRUE(m->MainWindowHook(theme));
  TMessage sys{WM_SYSCOMMAND, SC_CLOSE, 0, 0};
  m->LastSysCommand = 2;
  EXPECT_FALSE(m->MainWindowHook(sys));  // no skin loaded: left alone
  EXPECT_EQ(m->LastSysCommand, 2);
}

// ---- Hover tracking --------------------------------------------------------------------

TEST_F(ManagerTest, HoverTimerForgetsAWindowTheCursorHasLeft) {
  TsSkinManager* m = Manager();
  m->SetActive(false);
  TCommandForm* a = Form("A");
  TCommandForm* b = Form("B");
  b->SetBounds(400, 300, 120, 80);
  Log().clear();
  const LPARAM self = reinterpret_cast<LPARAM>(m);
  m->SetHotWindow(a->Handle());
  m->SetHotWindow(a->Handle());  // unchanged: no second enter
  m->SetHotWindow(b->Handle());
  ASSERT_EQ(Log().size(), 3u);
  EXPECT_EQ(Log()[0].Form + std::to_string(Log()[0].Code), "A29");
  EXPECT_EQ(Log()[1].Form + std::to_string(Log()[1].Code), "A30");
  EXPECT_EQ(Log()[2].Form + std::to_string(Log()[2].Code), "B29");
  for (const Received& r : Log()) EXPECT_EQ(r.LParam, self);

  // The cursor over the hot window keeps it; away from it, the tick lets go.
  SetCursorPos(450, 330);
  POINT p{};
  GetCursorPos(&p);
  RECT r{};
  GetWindowRect(b->Handle(), &r);
  if (PtInRect(&r, p)) {
    m->HoverTimer->OnTimer()(m->HoverTimer);
    EXPECT_EQ(m->HotWindow, b->Handle());
  }
  // A hot control that is no longer hot goes first, then the window.
  SetCursorPos(5, 5);
  m->SetHotWindow(b->Handle());
  m->HotControl = a;
  Log().clear();
  m->HoverTimer->OnTimer()(m->HoverTimer);
  EXPECT_EQ(m->HotWindow, nullptr);
  EXPECT_EQ(m->HotControl, nullptr);
  EXPECT_EQ(ReceiversOf(SkinCmdMouseLeave), (std::vector<std::string>{"A", "B"}));

  // A control that still counts itself hot keeps the window hot; the tick
  // then tells the control alone, with the manager as the sender like every
  // other mouse-leave, so receivers that check the sender act on it.
  TsCommonData data(a, false);
  data.Hot = true;
  a->SkinData = &data;
  m->SetHotWindow(b->Handle());
  m->HotControl = a;
  Log().clear();
  m->HoverTimer->OnTimer()(m->HoverTimer);
  EXPECT_EQ(m->HotWindow, b->Handle());
  EXPECT_EQ(m->HotControl, a);
  ASSERT_EQ(ReceiversOf(SkinCmdMouseLeave), std::vector<std::string>{"A"});
  for (const Received& r : Log()) {
    if (r.Code == SkinCmdMouseLeave) {
      EXPECT_EQ(r.LParam, self);
    }
  }
  m->HotControl = nullptr;
  a->SkinData = nullptr;
}

}  // namespace
