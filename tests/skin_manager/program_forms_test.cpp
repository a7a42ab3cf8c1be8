// Both programs carry a skin manager stored inactive: what their form
// descriptions store reads into a manager, and writes back the same.
#include <gtest/gtest.h>

#include <string>

#include "skin/engine/manager_options.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/stored_skins.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/form_reader.h"
#include "widgets/rtl/string_lists.h"

namespace {

std::string FormText(const char* Resource) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(self, Resource, MAKEINTRESOURCEA(10));
  if (!res) throw Exception(std::string("missing resource ") + Resource);
  const char* data = static_cast<const char*>(LockResource(LoadResource(self, res)));
  return std::string(data, SizeofResource(self, res));
}

// The manager's object of a program's form description, as its own root.
TFormObject ManagerDescription(const char* Resource) {
  TFormObject form = ParseFormText(FormText(Resource));
  for (const TFormObject& child : form.Children)
    if (child.Name == "sSkinManager1") return child;
  throw Exception("no sSkinManager1");
}

// Reads the manager under a plain owner, as the form owns it in the program.
TComponent* ReadHolder(const TFormObject& Manager) {
  TFormObject holder;
  holder.Name = "Holder";
  holder.ClassName = "TComponent";
  holder.Children.push_back(Manager);
  auto* owner = New<TComponent>(nullptr);
  ReadComponent(owner, holder);
  return owner;
}

TEST(ProgramForms, BothManagersReadInactiveWithTheirStoredValues) {
  for (const char* resource : {"PANELFORM", "TOBRINFORM"}) {
    SCOPED_TRACE(resource);
    TFormObject d = ManagerDescription(resource);
    EXPECT_EQ(d.ClassName, "TsSkinManager");
    TComponent* holder = ReadHolder(d);
    auto* m = dynamic_cast<TsSkinManager*>(holder->FindComponent("sSkinManager1"));
    ASSERT_TRUE(m);
    EXPECT_EQ(DefaultManager, m);
    EXPECT_FALSE(m->Active());
    EXPECT_FALSE(m->CommonSkinData->Loaded);
    EXPECT_EQ(m->SkinName(), "Aluminium");
    EXPECT_EQ(m->SkinInfo(), "N/A");
    EXPECT_EQ(m->InternalSkins()->Count(), 0);
    EXPECT_EQ(m->Sections.size(), 0u);
    for (int i = 0; i < 23; ++i) {
      const std::string expected = i == 1 ? "TButton" : " ";
      EXPECT_EQ(m->ThirdParty()->Get(i), expected) << i;
      EXPECT_EQ(m->ClassLists[i]->Strings(0), expected) << i;
    }
    EXPECT_EQ(m->MenuSupport()->IcoLineSkin(), "ICOLINE");  // set by Loaded

    // What is written reads back into a manager that writes the same.
    const std::string written = WriteComponentToText(holder);
    TObject::Free(holder);
    EXPECT_EQ(DefaultManager, nullptr);
    TComponent* again = ReadHolder(ParseFormText(written).Children.at(0));
    EXPECT_EQ(WriteComponentToText(again), written);
    TObject::Free(again);
  }
}

}  // namespace
