// The skin editor's live preview through the application window: which
// WM_COPYDATA blocks the hook takes and which go on to the application
// window, and a record applied through a real load of the generated test
// skin, from its folder, from an archive only, and with fields that fill
// their whole size.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "skin/engine/skin_loading.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_commands.h"
#include "test_skin.h"
#include "tests/skin_manager/skin_files.h"
#include "widgets/forms/forms.h"

namespace {

using namespace test_skin;

LRESULT SendCopyData(WPARAM Kind, const void* Data, DWORD Size) {
  COPYDATASTRUCT cds{0, Size, const_cast<void*>(Data)};
  return SendMessageA(Application->Handle(), WM_COPYDATA, Kind, reinterpret_cast<LPARAM>(&cds));
}

void Fill(char* Field, size_t Size, const std::string& Text) {
  std::memset(Field, 0, Size);
  std::memcpy(Field, Text.data(), std::min(Size, Text.size()));
}

std::unique_ptr<LivePreviewRecord> Record(const std::string& Name, const std::string& Directory,
                                          const std::string& Description) {
  auto rec = std::make_unique<LivePreviewRecord>();
  rec->Marker = LivePreviewMarker;
  Fill(rec->SkinName, sizeof rec->SkinName, Name);
  Fill(rec->SkinDirectory, sizeof rec->SkinDirectory, Directory);
  Fill(rec->Description, sizeof rec->Description, Description);
  return rec;
}

std::string OptionsText() {
  for (const SkinFile& f : BuildTestSkin().Files)
    if (f.Name == "Options.dat") return std::string(f.Bytes.begin(), f.Bytes.end());
  return {};
}

// Text with the state-0 colour of Section set to Color.
std::string WithColor(std::string Text, const std::string& Section, int32_t Color) {
  const size_t start = Text.find("[" + Section + "]\r\n");
  const size_t key = Text.find("\r\nCOLOR=", start);
  EXPECT_NE(start, std::string::npos) << Section;
  EXPECT_LT(key, Text.find("\r\n[", start + 1)) << Section << " has no colour";
  const size_t value = key + 8;
  Text.replace(value, Text.find("\r\n", value) - value, std::to_string(Color));
  return Text;
}

std::vector<uint8_t> ArchiveWithColor(int32_t Color) {
  std::vector<ArchiveEntry> entries = ArchiveEntries(BuildTestSkin().Files);
  for (ArchiveEntry& e : entries)
    if (e.Name == "Options.dat") {
      const std::string text = WithColor(OptionsText(), "BUTTON", Color);
      e.Bytes.assign(text.begin(), text.end());
    }
  return WriteArchive(entries);
}

void WriteBytes(const std::string& Path, const std::vector<uint8_t>& Data) {
  HANDLE h = CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(h, Data.data(), static_cast<DWORD>(Data.size()), &written, nullptr);
  CloseHandle(h);
}

constexpr int32_t kPreviewColor = 0x123456;
constexpr int32_t kArchiveColor = 0x0A0B0C;

class LivePreviewTest : public testing::Test {
 protected:
  void SetUp() override {
    previousBoxes_ = SetMessageBoxSink(&boxes_);
    savedMode_ = LivePreviewMode;
    LivePreviewMode = false;
    // Active and the default: its hook takes the editor's blocks.
    manager_ = New<TsSkinManager>(nullptr);
    ASSERT_EQ(DefaultManager, manager_);
  }
  void TearDown() override {
    TObject::Free(manager_);
    LivePreviewMode = savedMode_;
    SetMessageBoxSink(previousBoxes_);
  }
  // The record as the editor sends it, then the apply command it posted.
  void Preview(const LivePreviewRecord& Rec) {
    SendCopyData(7, &Rec, sizeof Rec);
    Application->ProcessMessages();
  }
  int32_t ButtonColor() {
    const int i = FindSectionIndex(manager_, "BUTTON");
    return i < 0 ? -1 : manager_->Sections[static_cast<size_t>(i)].Props[0].Color;
  }
  void ExpectLoaded(const std::string& Where) {
    EXPECT_TRUE(manager_->Active()) << Where;
    EXPECT_TRUE(manager_->CommonSkinData->Loaded) << Where;
    EXPECT_EQ(LivePreviewDescription, nullptr) << Where;
    EXPECT_FALSE(manager_->UpdateLock) << Where;
    EXPECT_TRUE(boxes_.Texts.empty()) << Where << ": " << boxes_.Texts[0];
  }

  TempFolder dir_;
  TBoxLog boxes_;
  TsSkinManager* manager_ = nullptr;

 private:
  TMessageBoxSink* previousBoxes_ = nullptr;
  bool savedMode_ = false;
};

TEST_F(LivePreviewTest, TheRecordsDescriptionLoadsWithTheFoldersImagesAndTheFolderWinsAfter) {
  const TestSkinManifest m = WriteTestSkin(dir_.Path() + "\\Tessera");
  const int32_t folderColor =
      m.Sections[static_cast<size_t>(m.SectionIndex("BUTTON"))].States[0].Color;
  ASSERT_NE(folderColor, kPreviewColor);
  ASSERT_NE(folderColor, kArchiveColor);
  const std::string text = WithColor(OptionsText(), "BUTTON", kPreviewColor);
  ASSERT_LT(text.size(), sizeof LivePreviewRecord::Description);

  Preview(*Record("Tessera", dir_.Path(), text));
  ExpectLoaded("preview");
  EXPECT_TRUE(LivePreviewMode);
  EXPECT_EQ(manager_->SkinName(), "Tessera");
  EXPECT_EQ(manager_->SkinDirectory(), dir_.Path());
  EXPECT_FALSE(manager_->PackedMode);
  EXPECT_EQ(ButtonColor(), kPreviewColor);
  // The images still come from the folder.
  EXPECT_EQ(manager_->MasterBitmap->Width(), m.MasterWidth);
  EXPECT_EQ(manager_->Masks.size(), m.Images.size());

  // An archive of the same name: once in live-preview mode the folder is
  // taken, with its own description now; without that mode the archive is.
  WriteBytes(dir_.Path() + "\\Tessera.qmz", ArchiveWithColor(kArchiveColor));
  manager_->SetSkinName("Tessera");
  ExpectLoaded("folder");
  EXPECT_FALSE(manager_->PackedMode);
  EXPECT_EQ(ButtonColor(), folderColor);
  LivePreviewMode = false;
  manager_->SetSkinName("Tessera");
  ExpectLoaded("archive");
  EXPECT_TRUE(manager_->PackedMode);
  EXPECT_EQ(ButtonColor(), kArchiveColor);
}

TEST_F(LivePreviewTest, ASkinThatIsOnlyAnArchiveKeepsItsOwnDescription) {
  WriteBytes(dir_.Path() + "\\Solo.qmz", ArchiveWithColor(kArchiveColor));
  Preview(*Record("Solo", dir_.Path(), WithColor(OptionsText(), "BUTTON", kPreviewColor)));
  ExpectLoaded("archive only");
  EXPECT_TRUE(LivePreviewMode);
  EXPECT_TRUE(manager_->PackedMode);
  EXPECT_EQ(manager_->SkinName(), "Solo");
  EXPECT_EQ(ButtonColor(), kArchiveColor);
}

// Every field filled to its last byte, no terminator anywhere: each ends at
// its own size. The description's last line ends on the field's last byte,
// so reading on would change the value it holds.
TEST_F(LivePreviewTest, FieldsWithoutTerminatorsLoadBounded) {
  const std::string head =
      "[GLOBALINFO]\r\nVERSION=8\r\n[BUTTON]\r\nCOLOR=" + std::to_string(kPreviewColor) +
      "\r\n[PADDING]\r\n";
  const std::string tail = "[LAST]\r\nCOLOR=1193046";
  std::string text = head;
  const size_t size = sizeof LivePreviewRecord::Description;
  // Lines of 100 bytes, the last one taking what is left (at least 4).
  for (size_t room = size - tail.size() - text.size(); room > 0;
       room = size - tail.size() - text.size()) {
    const size_t line = room >= 104 ? 100 : room;
    text += "P=" + std::string(line - 4, 'x') + "\r\n";
  }
  text += tail;
  ASSERT_EQ(text.size(), size);
  const std::string name(sizeof LivePreviewRecord::SkinName, 'N');
  const std::string directory =
      dir_.Path() + "\\" +
      std::string(sizeof LivePreviewRecord::SkinDirectory - dir_.Path().size() - 1, 'd');
  auto rec = Record(name, directory, text);
  // The editor's block may be longer than the record; what follows it is
  // never part of it.
  std::vector<char> block(sizeof *rec + 64, '9');
  std::memcpy(block.data(), rec.get(), sizeof *rec);
  SendCopyData(7, block.data(), static_cast<DWORD>(block.size()));
  Application->ProcessMessages();

  ExpectLoaded("unterminated");
  EXPECT_EQ(manager_->SkinName(), name);
  EXPECT_EQ(manager_->SkinDirectory(), directory);
  EXPECT_EQ(ButtonColor(), kPreviewColor);
  const int last = FindSectionIndex(manager_, "LAST");
  ASSERT_GE(last, 0);
  EXPECT_EQ(manager_->Sections[static_cast<size_t>(last)].Props[0].Color, 1193046);
}

// ---- Which blocks the hook takes ---------------------------------------------------------

class TCopyDataWatch {
 public:
  // Runs before the manager's hook when made first; sets the result.
  bool Before(TMessage& Message) {
    if (Message.Msg == WM_COPYDATA && SetResult) Message.Result = 1;
    return false;
  }
  // Runs after the manager's hook: sees only what the hook left.
  bool After(TMessage& Message) {
    if (Message.Msg == WM_COPYDATA) ++Reached;
    return false;
  }
  bool SetResult = false;
  int Reached = 0;
};

TEST(LivePreviewHook, BlocksAreConsumedUnlessAnsweredOrWhileOneIsCopied) {
  TCopyDataWatch watch;
  const TWindowHook before = TWindowHook::Of<&TCopyDataWatch::Before>(&watch);
  const TWindowHook after = TWindowHook::Of<&TCopyDataWatch::After>(&watch);
  Application->HookMainWindow(before);
  auto* m = New<TsSkinManager>(nullptr);
  m->SetActive(false);
  Application->HookMainWindow(after);

  LivePreviewRecord rec{};
  rec.Marker = LivePreviewMarker;
  std::vector<char> shortBlock(100);
  std::memcpy(shortBlock.data(), &rec.Marker, 4);
  const struct {
    const char* name;
    WPARAM kind;
    const void* data;
    DWORD size;
    bool busy, answered;
    bool reaches, copied;
  } cases[] = {
      {"live preview", 7, &rec, sizeof rec, false, false, false, true},
      {"other kind", 6, &rec, sizeof rec, false, false, false, false},
      {"100 bytes", 7, shortBlock.data(), 100, false, false, false, false},
      // As a block sent from inside the copy of another finds it.
      {"while one is copied", 7, &rec, sizeof rec, true, false, true, false},
      {"already answered", 7, &rec, sizeof rec, false, true, true, false},
  };
  for (const auto& c : cases) {
    m->LivePreview.Marker = 0;
    watch.Reached = 0;
    watch.SetResult = c.answered;
    LivePreviewCopyBusy = c.busy;
    SendCopyData(c.kind, c.data, c.size);
    LivePreviewCopyBusy = false;
    EXPECT_EQ(watch.Reached == 1, c.reaches) << c.name;
    EXPECT_EQ(m->LivePreview.Marker == LivePreviewMarker, c.copied) << c.name;
    // Only a copied record posts the apply command.
    MSG msg;
    EXPECT_EQ(PeekMessageA(&msg, Application->Handle(), SkinCommandMessage, SkinCommandMessage,
                           PM_REMOVE) != FALSE,
              c.copied)
        << c.name;
  }
  Application->UnhookMainWindow(after);
  TObject::Free(m);
  Application->UnhookMainWindow(before);
}

}  // namespace
