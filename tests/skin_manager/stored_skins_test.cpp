// Skins stored in the form description: the binary "Data" of each item read
// and written back unchanged, lookups by name, copying, the manager hearing
// of list changes, and a form whose skin comes from its own description.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/stored_skins.h"
#include "test_skin.h"
#include "tests/skin_manager/skin_files.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/form_reader.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/streams.h"

namespace {

// A root that holds nothing but a stored-skins collection without a manager.
class TSkinsHolder : public TComponent {
  DECLARE_CLASS(TSkinsHolder, TComponent)
 public:
  explicit TSkinsHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TsStoredSkins Skins{nullptr};
};

const TClassInfo& TSkinsHolder::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TSkinsHolder> b("TSkinsHolder", &TComponent::StaticClass());
    b.Obj(
        "InternalSkins", TPropKind::Collection, TsStoredSkins::StaticClass(),
        [](const TSkinsHolder& h) -> TObject* { return const_cast<TsStoredSkins*>(&h.Skins); },
        nullptr);
    return b.Done();
  }();
  return info;
}

std::vector<uint8_t> Bytes(TMemoryStream* s) {
  const auto* p = static_cast<const uint8_t*>(s->Memory());
  return std::vector<uint8_t>(p, p + s->Size());
}

void Fill(TMemoryStream* s, const std::vector<uint8_t>& bytes) {
  s->Clear();
  s->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// 40 bytes: the first line of hex holds 32 of them.
const std::vector<uint8_t> kArchive = {'Q',  'M',  'z',  'f',  0x02, 0x00, 0x00, 0x00, 0x0B, 0x00,
                                       0x00, 0x00, 'O',  'p',  't',  'i',  'o',  'n',  's',  '.',
                                       'd',  'a',  't',  0xFF, 0x00, 0x10, 0x78, 0x9C, 0x01, 0x02,
                                       0x03, 0x04, 0xA0, 0xB1, 0xC2, 0xD3, 0xE4, 0xF5, 0x7F, 0x80};

const char kHolderText[] =
    "object Holder: TSkinsHolder\n"
    "  InternalSkins = <\n"
    "    item\n"
    "      Name = 'Aluminium'\n"
    "      Shadow1Color = clBlack\n"
    "      Shadow1Offset = 2\n"
    "      Shadow1Blur = 6\n"
    "      Shadow1Transparency = 40\n"
    "      Version = 11.5\n"
    "      Author = 'It''s mine'\n"
    "      Description = 'Light'\n"
    "      Data = {\n"
    "        514D7A66020000000B0000004F7074696F6E732E646174FF0010789C01020304\n"
    "        A0B1C2D3E4F57F80}\n"
    "    end\n"
    "    item\n"
    "      Name = 'Empty'\n"
    "      Shadow1Color = 1193046\n"
    "      Shadow1Offset = 0\n"
    "      Shadow1Transparency = 0\n"
    "      BorderColor = clRed\n"
    "      Version = 0\n"
    "      Author = ''\n"
    "      Description = ''\n"
    "      Data = {}\n"
    "    end>\n"
    "end\n";

TEST(StoredSkins, ItemsWithBinaryDataReadAndWriteBackUnchanged) {
  TSkinsHolder holder(nullptr);
  ReadComponentFromText(&holder, kHolderText);
  ASSERT_EQ(holder.Skins.Count(), 2);
  TsStoredSkin* a = holder.Skins.Items(0);
  EXPECT_EQ(a->Name, "Aluminium");
  EXPECT_EQ(Bytes(a->PackedData()), kArchive);
  EXPECT_EQ(a->Shadow1Blur, 6);
  EXPECT_EQ(a->BorderColor, clFuchsia);
  EXPECT_DOUBLE_EQ(a->Version, 11.5);
  EXPECT_EQ(a->Author, "It's mine");
  TsStoredSkin* e = holder.Skins.Items(1);
  EXPECT_EQ(e->PackedData()->Size(), 0);
  EXPECT_EQ(e->Shadow1Blur, -1);
  EXPECT_EQ(e->Shadow1Color, 0x123456);
  EXPECT_EQ(WriteComponentToText(&holder), kHolderText);
}

TEST(StoredSkins, NewItemHasItsDefaultsAndStillWritesItsData) {
  TSkinsHolder holder(nullptr);
  holder.SetName("Holder");
  holder.Skins.Add();
  EXPECT_EQ(WriteComponentToText(&holder),
            "object Holder: TSkinsHolder\n"
            "  InternalSkins = <\n"
            "    item\n"
            "      Name = ''\n"
            "      Shadow1Color = clBlack\n"
            "      Shadow1Offset = 0\n"
            "      Shadow1Transparency = 0\n"
            "      Version = 0\n"
            "      Author = ''\n"
            "      Description = ''\n"
            "      Data = {}\n"
            "    end>\n"
            "end\n");
}

TEST(StoredSkins, IndexOfNameMatchesExactlyAndFindsTheFirst) {
  TsStoredSkins skins(nullptr);
  for (const char* n : {"Aluminium", "aluminium", "Aluminium ", "Aluminium"})
    static_cast<TsStoredSkin*>(skins.Add())->Name = n;
  struct Case {
    const char* Name;
    int Index;
  };
  for (const Case& c : {Case{"Aluminium", 0}, Case{"aluminium", 1}, Case{"Aluminium ", 2},
                        Case{"ALUMINIUM", -1}, Case{"Alu", -1}, Case{"", -1}})
    EXPECT_EQ(skins.IndexOfName(c.Name), c.Index) << "'" << c.Name << "'";
  TsStoredSkins empty(nullptr);
  EXPECT_EQ(empty.IndexOfName("Aluminium"), -1);
}

TEST(StoredSkins, AssignCopiesAStoredSkinAndRefusesAnythingElse) {
  TsStoredSkins skins(nullptr);
  auto* src = static_cast<TsStoredSkin*>(skins.Add());
  auto* dst = static_cast<TsStoredSkin*>(skins.Add());
  src->Name = "Aluminium";
  src->Author = "A";
  src->Description = "D";
  src->Version = 9.5;
  src->BorderColor = clRed;
  src->Shadow1Blur = 4;
  src->Shadow1Color = clBlue;
  src->Shadow1Offset = 3;
  src->Shadow1Transparency = 50;
  Fill(src->PackedData(), kArchive);
  src->PackedData()->SetPosition(7);  // the whole data is copied wherever it stands
  src->MasterBitmap()->SetSize(3, 2);
  dst->Assign(src);
  EXPECT_EQ(dst->Name, "Aluminium");
  EXPECT_EQ(dst->Author, "A");
  EXPECT_EQ(dst->Description, "D");
  EXPECT_DOUBLE_EQ(dst->Version, 9.5);
  EXPECT_EQ(dst->BorderColor, clRed);
  EXPECT_EQ(dst->Shadow1Blur, 4);
  EXPECT_EQ(dst->Shadow1Color, clBlue);
  EXPECT_EQ(dst->Shadow1Offset, 3);
  EXPECT_EQ(dst->Shadow1Transparency, 50);
  EXPECT_EQ(Bytes(dst->PackedData()), kArchive);
  EXPECT_EQ(dst->MasterBitmap()->Width(), 3);
  EXPECT_EQ(dst->MasterBitmap()->Height(), 2);

  dst->Assign(dst);
  EXPECT_EQ(Bytes(dst->PackedData()), kArchive);
  EXPECT_THROW(dst->Assign(nullptr), EConvertError);
  TvlLabelsSupport other;
  EXPECT_THROW(dst->Assign(&other), EConvertError);
  EXPECT_EQ(dst->Name, "Aluminium");

  // The collection keeps its items: stored skins come from the form only.
  TsStoredSkins copy(nullptr);
  copy.Assign(&skins);
  EXPECT_EQ(copy.Count(), 0);
  EXPECT_THROW(skins.Items(2), EListError);
}

int listChanges = 0;
struct ListListener {
  void Changed(TObject* Sender) {
    ++listChanges;
    LastSender = Sender;
  }
  TObject* LastSender = nullptr;
};

TEST(StoredSkins, TheManagerHearsOfChangesButNotOfItsOwnEnd) {
  ASSERT_EQ(DefaultManager, nullptr);
  auto* manager = New<TsSkinManager>(nullptr);
  manager->SetActive(false);
  ListListener listener;
  manager->OnSkinListChanged = TNotifyEvent::Of<&ListListener::Changed>(&listener);
  listChanges = 0;
  TsStoredSkins* skins = manager->InternalSkins();
  EXPECT_EQ(skins->GetOwner(), manager);
  skins->Add();
  EXPECT_EQ(listChanges, 1);
  EXPECT_EQ(listener.LastSender, manager);
  skins->Add();
  skins->Delete(0);
  EXPECT_EQ(listChanges, 3);
  const int before = listChanges;
  TObject::Free(manager);
  EXPECT_EQ(listChanges, before);
}

// The manager's own collection travels through a form description too.
TEST(StoredSkins, AManagerInAFormReadsAndWritesItsStoredSkins) {
  ASSERT_EQ(DefaultManager, nullptr);
  const std::string block =
      "    InternalSkins = <\n"
      "      item\n"
      "        Name = 'Aluminium'\n"
      "        Shadow1Color = clBlack\n"
      "        Shadow1Offset = 0\n"
      "        Shadow1Transparency = 0\n"
      "        Version = 11.5\n"
      "        Author = ''\n"
      "        Description = ''\n"
      "        Data = {\n"
      "          514D7A66020000000B0000004F7074696F6E732E646174FF0010789C01020304\n"
      "          A0B1C2D3E4F57F80}\n"
      "      end>\n";
  auto* form = New<TForm>(Application, TCustomForm::TCreateNew{});
  ReadComponentFromText(form,
                        "object StoredSkinsForm: TForm\n"
                        "  object sSkinManager1: TsSkinManager\n"
                        "    Active = False\n" +
                            block + "  end\nend\n");
  auto* manager = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
  ASSERT_NE(manager, nullptr);
  ASSERT_EQ(manager->InternalSkins()->Count(), 1);
  EXPECT_EQ(manager->InternalSkins()->IndexOfName("Aluminium"), 0);
  EXPECT_EQ(Bytes(manager->InternalSkins()->Items(0)->PackedData()), kArchive);
  const std::string written = WriteComponentToText(form);
  EXPECT_NE(written.find(block), std::string::npos) << written;
  TObject::Free(form);
  EXPECT_EQ(DefaultManager, nullptr);
}

// The form writer's text of binary data: 32 bytes of upper-case hex a line.
std::string HexLines(const std::vector<uint8_t>& Bytes, const std::string& Indent) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < Bytes.size(); ++i) {
    if (i % 32 == 0) out += "\n" + Indent;
    out += digits[Bytes[i] >> 4];
    out += digits[Bytes[i] & 15];
  }
  return out;
}

std::string StoredSkinItem(const std::string& Name, const std::vector<uint8_t>& Archive) {
  return "      item\n"
         "        Name = '" +
         Name +
         "'\n"
         "        Shadow1Color = clBlack\n"
         "        Shadow1Offset = 0\n"
         "        Shadow1Transparency = 0\n"
         "        Version = 0\n"
         "        Author = ''\n"
         "        Description = ''\n"
         "        Data = {" +
         HexLines(Archive, "          ") + "}\n";
}

// A form carries its skin in its own description: with a skin directory
// that does not exist, the manager (active by default, so the form text
// does not say it) loads the named stored skin, or the first one when the
// name is found nowhere; the text written back holds every archive byte.
// Shows no box while the test runs: each is recorded.
class TBoxLogScope : public TBoxLog {
 public:
  TBoxLogScope() : previous_(SetMessageBoxSink(this)) {}
  ~TBoxLogScope() { SetMessageBoxSink(previous_); }

 private:
  TMessageBoxSink* previous_;
};

TEST(StoredSkins, AFormLoadsTheSkinStoredInItsDescriptionWithoutASkinDirectory) {
  ASSERT_EQ(DefaultManager, nullptr);
  TBoxLogScope boxes;
  TempFolder temp;
  const std::vector<uint8_t> sound = test_skin::PackTestSkinWithPreview("tessera");
  const std::vector<uint8_t> opaque = test_skin::PackTestSkinWithPreview("trackbar-opaque");
  const std::string skins = "    InternalSkins = <\n" + StoredSkinItem("Stored Tessera", sound) +
                            "      end\n" + StoredSkinItem("Stored Opaque", opaque) +
                            "      end>\n";
  const struct {
    const char* Named;
    const char* Loaded;
    const char* Variant;
  } cases[] = {{"Stored Opaque", "Stored Opaque", "trackbar-opaque"},
               {"Nowhere", "Stored Tessera", "tessera"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Named);
    auto* form = New<TForm>(Application, TCustomForm::TCreateNew{});
    ReadComponentFromText(form,
                          "object StoredSkinForm: TForm\n"
                          "  object sSkinManager1: TsSkinManager\n" +
                              skins + "    SkinDirectory = '" + temp.Path() +
                              "\\absent'\n"
                              "    SkinName = '" +
                              c.Named + "'\n  end\nend\n");
    auto* manager = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(boxes.Texts.empty()) << boxes.Texts[0];
    EXPECT_TRUE(manager->Active());
    EXPECT_TRUE(manager->CommonSkinData->Loaded);
    EXPECT_TRUE(manager->PackedMode);
    EXPECT_EQ(manager->SkinName(), c.Loaded);
    EXPECT_EQ(manager->CommonSkinData->SkinDirectory, "");
    const test_skin::TestSkinManifest want = test_skin::BuildTestSkin(c.Variant).Manifest;
    ASSERT_EQ(manager->Sections.size(), want.Sections.size());
    for (size_t i = 0; i < want.Sections.size(); ++i) {
      EXPECT_EQ(manager->Sections[i].SectionName, want.Sections[i].Name);
      EXPECT_EQ(manager->Sections[i].Props[0].Transparency, want.Sections[i].States[0].Transparency)
          << want.Sections[i].Name;
    }
    // The writer gives back the very text the archives were read from.
    const std::string written = WriteComponentToText(form);
    EXPECT_NE(written.find(skins), std::string::npos) << written;
    TObject::Free(form);
    EXPECT_EQ(DefaultManager, nullptr);
  }
  // And that text reads into the archives' bytes, every one of them.
  TSkinsHolder holder(nullptr);
  ReadComponentFromText(&holder, "object Holder: TSkinsHolder\n" + skins + "end\n");
  ASSERT_EQ(holder.Skins.Count(), 2);
  EXPECT_EQ(Bytes(holder.Skins.Items(0)->PackedData()), sound);
  EXPECT_EQ(Bytes(holder.Skins.Items(1)->PackedData()), opaque);
}

}  // namespace
