// Packed skin archives loaded through the skin name: the same skin as from
// its folder, a damaged one leaves the skin in force with its messages shown
// the right way, and names in the description are never paths.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "archive_bytes.h"
#include "archive_writer.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/packed_skin.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/stored_skins.h"
#include "skin/foundation/argb_bitmap.h"
#include "test_skin.h"
#include "tests/skin_manager/skin_files.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/streams.h"

namespace {

using namespace test_skin;
using namespace archive_bytes;

// Records each box with the dialog settings in force while it shows.
class TSettingsLog : public TMessageBoxSink {
 public:
  int Show(const TMessageBoxRequest& Request) override {
    Boxes.push_back(Request);
    if (Manager) {
      StdDialogs.push_back((Manager->SkinningRules() & (1u << srStdDialogs)) != 0);
      SysColors.push_back(Manager->Options()->ChangeSysColors());
    }
    if (WhileShown) WhileShown(Request);
    return IDOK;
  }
  TsSkinManager* Manager = nullptr;
  // Runs while the box "shows".
  std::function<void(const TMessageBoxRequest&)> WhileShown;
  std::vector<TMessageBoxRequest> Boxes;
  std::vector<bool> StdDialogs, SysColors;
};

class PackedSkinLoad : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageBoxSink(&log_);
    // The first manager is the default one, which alone patches the system
    // colours; the tested manager only switches its option.
    default_ = New<TsSkinManager>(nullptr);
    default_->SetActive(false);
    manager_ = NewManager();
    log_.Manager = manager_;
  }
  void TearDown() override {
    TObject::Free(manager_);
    TObject::Free(default_);
    SetMessageBoxSink(previous_);
  }
  TsSkinManager* NewManager() {
    auto* m = New<TsSkinManager>(nullptr);
    m->SetActive(false);
    m->SetSkinDirectory(dir_.Path());
    return m;
  }
  void Archive(const std::string& Name, const Bytes& Data) {
    WriteBytes(dir_.Path() + "\\" + Name + ".qmz", Data);
  }
  void Load(TsSkinManager* M, const std::string& Name) {
    M->SetSkinName(Name);
    M->SetActive(true);
  }

  TempFolder dir_;
  TSettingsLog log_;
  TsSkinManager* default_ = nullptr;
  TsSkinManager* manager_ = nullptr;

 private:
  TMessageBoxSink* previous_ = nullptr;
};

std::vector<uint32_t> Pixels(TBitmap* Bitmap) {
  const PixelView v = ArgbView(Bitmap);
  std::vector<uint32_t> out;
  for (int y = 0; v.Valid() && y < v.Height; ++y)
    out.insert(out.end(), v.Row(y), v.Row(y) + v.Width);
  return out;
}

void ExpectSameSkin(const TsSkinManager* A, const TsSkinManager* B, const std::string& Where) {
  ASSERT_EQ(A->Sections.size(), B->Sections.size()) << Where;
  for (size_t i = 0; i < A->Sections.size(); ++i) {
    const TsGeneralData &a = A->Sections[i], &b = B->Sections[i];
    EXPECT_EQ(a.SectionName, b.SectionName) << Where;
    EXPECT_EQ(a.ParentClass, b.ParentClass) << Where;
    EXPECT_EQ(a.StateCount, b.StateCount) << Where << " " << a.SectionName;
    EXPECT_EQ(a.BordersMask, b.BordersMask) << Where << " " << a.SectionName;
    for (size_t s = 0; s < 3; ++s) {
      EXPECT_EQ(a.Props[s].Color, b.Props[s].Color) << Where << " " << a.SectionName;
      EXPECT_EQ(a.Props[s].FontColor, b.Props[s].FontColor) << Where << " " << a.SectionName;
      EXPECT_EQ(a.Props[s].PatternIndex, b.Props[s].PatternIndex) << Where << " " << a.SectionName;
    }
  }
  ASSERT_EQ(A->Masks.size(), B->Masks.size()) << Where;
  for (size_t i = 0; i < A->Masks.size(); ++i) {
    const TsMaskData &a = A->Masks[i], &b = B->Masks[i];
    EXPECT_EQ(a.Section + "/" + a.Key, b.Section + "/" + b.Key) << Where;
    EXPECT_TRUE(EqualRect(&a.SourceRect, &b.SourceRect)) << Where << " " << a.Key;
    EXPECT_EQ(a.TransparentCorners, b.TransparentCorners) << Where << " " << a.Key;
    EXPECT_EQ(a.Image == nullptr, b.Image == nullptr) << Where << " " << a.Key;
    if (a.Image && b.Image) {
      EXPECT_EQ(Pixels(a.Image), Pixels(b.Image)) << Where << " " << a.Key;
    }
  }
  EXPECT_EQ(A->ExternalImages.size(), B->ExternalImages.size()) << Where;
  const std::vector<uint32_t> master = Pixels(A->MasterBitmap);
  EXPECT_FALSE(master.empty()) << Where;
  EXPECT_EQ(master, Pixels(B->MasterBitmap)) << Where;
}

TEST_F(PackedSkinLoad, FolderArchiveAndStoredSkinGiveTheSameSkin) {
  WriteTestSkin(dir_.Path() + "\\Tessera");
  Load(manager_, "Tessera");
  ASSERT_TRUE(manager_->Active());
  ASSERT_TRUE(log_.Boxes.empty()) << log_.Boxes[0].Text;

  // The description names its files in capitals; the archive may not.
  std::vector<ArchiveEntry> entries = ArchiveEntries(BuildTestSkin().Files);
  for (ArchiveEntry& e : entries) e.Name = LowerCase(e.Name);
  for (int level : {0, 9}) {
    const std::string name = "Packed" + std::to_string(level);
    Archive(name, WriteArchive(entries, {.Level = level, .Preview = Text("png")}));
    TsSkinManager* packed = NewManager();
    Load(packed, name);
    EXPECT_TRUE(packed->PackedMode);
    EXPECT_EQ(packed->SkinName(), name);
    EXPECT_TRUE(log_.Boxes.empty()) << log_.Boxes[0].Text;
    ExpectSameSkin(manager_, packed, name);
    TObject::Free(packed);
  }

  TsSkinManager* stored = NewManager();
  auto* skin = static_cast<TsStoredSkin*>(stored->InternalSkins()->Add());
  skin->Name = "Inside";
  Fill(*skin->PackedData(), WriteArchive(entries));
  Load(stored, "Inside");
  EXPECT_TRUE(stored->PackedMode);
  EXPECT_TRUE(log_.Boxes.empty()) << log_.Boxes[0].Text;
  ExpectSameSkin(manager_, stored, "stored");
  TObject::Free(stored);
}

// A damaged archive tells the user what is wrong and leaves the skin in
// force, with the dialog settings switched off around the header test and
// put back. A file that is no archive is reported twice: by the reader, with
// the settings off, and then, with them back, as a skin without description.
TEST_F(PackedSkinLoad, ADamagedArchiveKeepsThePreviousSkin) {
  WriteTestSkin(dir_.Path() + "\\Tessera");
  const std::vector<ArchiveEntry> sound = ArchiveEntries(BuildTestSkin().Files);
  std::vector<ArchiveEntry> noDescription;
  for (const ArchiveEntry& e : sound)
    if (e.Name != "Options.dat") noDescription.push_back(e);
  const Bytes whole = WriteArchive(sound);
  Bytes zip = Text("PK\x03\x04");
  zip.resize(64, 0);
  const char* const notPacked = "Loaded data is not a packed Quenmark file";
  const char* const noFormat = "Internal format error in the \"Bad\" skin";
  const struct {
    const char* name;
    Bytes archive;
    std::vector<const char*> texts;  // each box in order
  } cases[] = {
      {"zip file", zip, {notPacked, noFormat}},
      {"3 bytes", Text("QMz"), {"not a valid skin archive"}},
      {"no entries", Raw("QMzf\0\0\0\0"), {noFormat}},
      {"no description", WriteArchive(noDescription), {noFormat}},
      {"cut in the middle", Cut(whole, whole.size() / 2), {"not a valid skin archive"}},
      {"entry count too high",
       WriteArchive(sound, {.EntryCount = 1000}),
       {"not a valid skin archive"}},
  };
  manager_->SetSkinningRules(AllSkinningRules);
  manager_->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, true);
  Load(manager_, "Tessera");
  ASSERT_TRUE(manager_->Active());
  const TBitmap* master = manager_->MasterBitmap;
  const size_t images = manager_->Masks.size();
  for (const auto& c : cases) {
    log_.Boxes.clear();
    log_.StdDialogs.clear();
    log_.SysColors.clear();
    Archive("Bad", c.archive);
    manager_->SetSkinName("Bad");
    ASSERT_EQ(log_.Boxes.size(), c.texts.size()) << c.name;
    for (size_t i = 0; i < c.texts.size(); ++i) {
      const TMessageBoxRequest& box = log_.Boxes[i];
      EXPECT_NE(box.Text.find(c.texts[i]), std::string::npos) << c.name << ": " << box.Text;
      EXPECT_EQ(box.Style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR)) << c.name << " " << i;
      // Only the reader's own box shows with the settings off.
      const bool reader = c.texts[i] == notPacked;
      if (reader) {
        EXPECT_EQ(box.Kind, TMessageBoxKind::MessageDlg) << c.name;
        EXPECT_EQ(box.DlgType, mtError) << c.name;
      }
      EXPECT_EQ(log_.StdDialogs[i], !reader) << c.name << " " << i;
      EXPECT_EQ(log_.SysColors[i], !reader) << c.name << " " << i;
    }
    EXPECT_EQ(manager_->SkinName(), "Tessera") << c.name;
    EXPECT_TRUE(manager_->Active()) << c.name;
    EXPECT_EQ(manager_->MasterBitmap, master) << c.name;
    EXPECT_EQ(manager_->Masks.size(), images) << c.name;
    EXPECT_EQ(manager_->SkinningRules(), AllSkinningRules) << c.name;
    EXPECT_TRUE(manager_->Options()->ChangeSysColors()) << c.name;
  }
  manager_->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, false);
}

// While the reader's box shows, everything that asks the system for its
// colours gets the platform's own, not the skin's, and standard dialogs are
// not skinned; the second box and the rest of the program see both back.
// The default manager, which alone patches the system colours, loads here.
TEST_F(PackedSkinLoad, TheWrongSignatureBoxShowsWithThePlatformColours) {
  WriteTestSkin(dir_.Path() + "\\Tessera");
  Bytes zip = Text("PK\x03\x04");
  zip.resize(64, 0);
  Archive("Bad", zip);
  const std::array<int, 6> indices = {COLOR_WINDOW,        COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
                                      COLOR_HIGHLIGHTTEXT, COLOR_BTNSHADOW,  COLOR_3DLIGHT};
  using TColours = std::array<COLORREF, indices.size()>;
  const auto colours = [&] {
    TColours c{};
    for (size_t i = 0; i < indices.size(); ++i) c[i] = GetSysColor(indices[i]);
    return c;
  };
  const TColours platform = colours();

  default_->SetSkinDirectory(dir_.Path());
  default_->SetSkinningRules(AllSkinningRules);
  default_->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, true);
  Load(default_, "Tessera");
  ASSERT_TRUE(default_->Active());
  const TColours skinned = colours();
  // The check means something only where the skin changes a colour.
  ASSERT_NE(skinned, platform);

  log_.Manager = default_;
  std::vector<TColours> seen;
  log_.WhileShown = [&](const TMessageBoxRequest&) { seen.push_back(colours()); };
  default_->SetSkinName("Bad");
  log_.WhileShown = nullptr;

  ASSERT_EQ(log_.Boxes.size(), 2u);
  EXPECT_EQ(log_.Boxes[0].Text, "Loaded data is not a packed Quenmark file");
  EXPECT_EQ(seen[0], platform);
  EXPECT_FALSE(log_.StdDialogs[0]);
  EXPECT_FALSE(log_.SysColors[0]);
  EXPECT_EQ(seen[1], skinned);
  EXPECT_TRUE(log_.StdDialogs[1]);
  EXPECT_TRUE(log_.SysColors[1]);
  EXPECT_EQ(colours(), skinned);
  EXPECT_EQ(default_->SkinningRules(), AllSkinningRules);
  EXPECT_TRUE(default_->Options()->ChangeSysColors());
  EXPECT_EQ(default_->SkinName(), "Tessera");

  default_->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, false);
  EXPECT_EQ(colours(), platform);
}

// Names in a packed description are looked up among the archive's files
// only: a name that reads as a path finds nothing, though the file exists.
TEST_F(PackedSkinLoad, NamesInAnArchiveAreNeverPaths) {
  TempFolder outside;
  outside.Bmp("x.bmp", 8, 8, [](int, int) { return 0x336699u; });
  outside.Folder("skins");
  manager_->SetSkinDirectory(outside.Path() + "\\skins");
  const std::string absolute = outside.Path() + "\\x.bmp";
  const std::string names[] = {"..\\x.bmp", absolute, "\\\\host\\x.bmp"};
  for (const std::string& name : names) {
    const Bytes description =
        Text("[GLOBALINFO]\r\nVERSION=8\r\nMASTERBITMAP=" + name + "\r\n[PANEL]\r\nGLYPH=!" + name +
             "!1!0!0\r\nPATTERN=" + name + "\r\nHOT=~0000~0000~0008~0008~00~0~" + name + "\r\n");
    WriteBytes(outside.Path() + "\\skins\\Tricky.qmz",
               WriteArchive({Entry("Options.dat", description)}));
    Load(manager_, "Tricky");
    ASSERT_TRUE(manager_->Active()) << name;
    EXPECT_TRUE(log_.Boxes.empty()) << name << ": " << log_.Boxes[0].Text;
    EXPECT_TRUE(manager_->MasterBitmap->Empty()) << name;
    EXPECT_TRUE(manager_->ExternalImages.empty()) << name;
    const int panel = FindSectionIndex(*manager_, "PANEL");
    for (const char* key : {"GLYPH", "PATTERN", "HOT"})
      EXPECT_EQ(FindMaskIndex(*manager_, panel, key), -1) << name << " " << key;
    manager_->SetActive(false);
  }
}

}  // namespace
