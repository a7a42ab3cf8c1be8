#include <gtest/gtest.h>

#include "reader_fixture.h"
#include "widgets/rtl/form_reader.h"
#include "widgets/graphics/colors.h"

namespace {

class FormReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    Log().clear();
    owner_ = New<TComponent>(nullptr);
    root_ = New<TReaderRoot>(owner_);
  }
  void TearDown() override { TObject::Free(owner_); }
  TTestWidget* W(const char* name) {
    return dynamic_cast<TTestWidget*>(root_->FindComponent(name));
  }
  // The error a description raises, with its line.
  std::pair<int, std::string> ErrorOf(const std::string& text) {
    try {
      ReadComponentFromText(root_, text);
    } catch (const EFormError& e) {
      return {e.Line(), e.Message()};
    }
    return {0, "no error"};
  }

  TComponent* owner_ = nullptr;
  TReaderRoot* root_ = nullptr;
};

TEST_F(FormReaderTest, SetsPropertiesInTextOrderAndBindsEventsAfterwards) {
  ReadComponentFromText(root_,
                        "object Root: TReaderRoot\n"
                        "  Caption = 'Panel'\n"
                        "  object W1: TTestWidget\n"
                        "    OnChange = WidgetChange\n"  // before the position, in the text
                        "    Position = 5\n"
                        "    Items.Strings = ('a' 'b' 'c')\n"
                        "    ItemIndex = 1\n"
                        "    Caption = 'first'\n"
                        "    object W2: TTestWidget\n"
                        "      Position = 3\n"
                        "      Buddy = W3\n"  // declared later in the text
                        "    end\n"
                        "  end\n"
                        "  object W3: TTestWidget\n"
                        "    Count = 2\n"
                        "  end\n"
                        "end\n");
  std::vector<std::string> expected = {
      "BeginReadState",
      "Root.Caption=Panel",
      "W1.Parent=Root",  // name and parent come before the properties
      "W1.Position=5 unbound",
      "W1.ItemIndex=1 of 3",  // ItemIndex sees the items read before it
      "W1.Caption=first",
      "W2.Parent=W1",
      "W2.Position=3 unbound",
      "W3.Parent=Root",
      "W3.Count=2",
      "W2.Buddy=W3",  // references resolve after every object was read
      "EndReadState",
      "Loaded root",
      "Loaded W1 bound",
      "Loaded W2",
      "Loaded W3",
  };
  EXPECT_EQ(Log(), expected);

  TTestWidget* w1 = W("W1");
  ASSERT_TRUE(w1);
  EXPECT_EQ(root_->Name(), "Root");
  EXPECT_EQ(w1->Owner(), root_);
  EXPECT_EQ(w1->ParentSeen, root_);
  EXPECT_EQ(W("W2")->ParentSeen, w1);
  EXPECT_EQ(W("W2")->Buddy, W("W3"));
  EXPECT_EQ(w1->ComponentState() & (csLoading | csReading), 0u);
  EXPECT_EQ(root_->ComponentState() & (csLoading | csReading), 0u);
  // The bound event reaches the root's method.
  w1->SetPosition(9);
  EXPECT_EQ(root_->Calls, std::vector<std::string>{"WidgetChange W1"});
  EXPECT_FALSE(W("W3")->OnChange);
}

TEST_F(FormReaderTest, ReadsEveryKindOfValue) {
  ReadComponentFromText(root_,
                        "object Root: TReaderRoot\n"
                        "  object W1: TTestWidget\n"
                        "    Caption = 'It''s'#13#10'two' +\n"
                        "      ' lines'#$21\n"
                        "    Count = -$10\n"
                        "    Position = 2147483647\n"
                        "    Ratio = -1.25E2\n"
                        "    Enabled = false\n"
                        "    Align = taClient\n"
                        "    Anchors = [akRight, akBottom]\n"
                        "    Color = clBtnFace\n"
                        "    Letter = 'Z'\n"
                        "    Font.Name = 'Tahoma'\n"
                        "    Font.Size = 10\n"
                        "    Sections = <\n"
                        "      item\n"
                        "        Caption = 'one'\n"
                        "        Data = {00FF10\n"
                        "                7f}\n"
                        "      end\n"
                        "      item\n"
                        "        Value = 7\n"
                        "      end>\n"
                        "  end\n"
                        "  object W2: TTestWidget\n"
                        "    Anchors = []\n"
                        "    Color = $00FF00FF\n"
                        "    Letter = #9\n"
                        "    OnChange = nil\n"
                        "    Timer = T1\n"
                        "  end\n"
                        "  object T1: TTestTimer\n"
                        "    Interval = 100\n"
                        "  end\n"
                        "end\n");
  TTestWidget* w = W("W1");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->Caption, "It's\r\ntwo lines!");
  EXPECT_EQ(w->Count, -16);
  EXPECT_EQ(w->Position, 2147483647);
  EXPECT_DOUBLE_EQ(w->Ratio, -125);
  EXPECT_FALSE(w->Enabled);
  EXPECT_EQ(w->Align, taClient);
  EXPECT_EQ(w->Anchors, (1 << akRight) | (1 << akBottom));
  EXPECT_EQ(w->Color, clBtnFace);
  EXPECT_EQ(w->Letter, 'Z');
  EXPECT_EQ(w->Font->Name, "Tahoma");
  EXPECT_EQ(w->Font->Size, 10);
  ASSERT_EQ(w->Sections->Count(), 2);
  auto* item0 = static_cast<TTestItem*>(w->Sections->Items(0));
  EXPECT_EQ(item0->Caption, "one");
  EXPECT_EQ(item0->Data, (std::vector<uint8_t>{0x00, 0xFF, 0x10, 0x7F}));
  EXPECT_EQ(static_cast<TTestItem*>(w->Sections->Items(1))->Value, 7);
  TTestWidget* w2 = W("W2");
  EXPECT_EQ(w2->Anchors, 0);
  EXPECT_EQ(w2->Color, clFuchsia);
  EXPECT_EQ(w2->Letter, '\t');
  auto* t1 = dynamic_cast<TTestTimer*>(root_->FindComponent("T1"));
  ASSERT_TRUE(t1);
  EXPECT_EQ(t1->Interval, 100);
  EXPECT_EQ(w2->Timer, t1);
}

TEST_F(FormReaderTest, RejectsUnknownNamesWithTheirLine) {
  struct Case {
    const char* text;
    int line;
    const char* fragment;
  } cases[] = {
      {"object Root: TReaderRoot\n  object X: TNoSuchClass\n  end\nend\n", 2,
       "Class TNoSuchClass not found"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n\n    Colour = 5\n  end\nend\n", 4,
       "TTestWidget.Colour does not exist"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    Font.Weight = 5\n  end\nend\n", 3,
       "TTestFont.Weight does not exist"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    Align = alClient\n  end\nend\n", 3,
       "Invalid value 'alClient'"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    Anchors = [akLeft, akUp]\n  end\n"
       "end\n",
       3, "akUp"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    Count = 'x'\n  end\nend\n", 3,
       "Invalid value"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    Enabled = 1\n  end\nend\n", 3,
       "Invalid value"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    Color = clNoSuchColour\n  end\n"
       "end\n",
       3, "clNoSuchColour"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    Buddy = Nobody\n  end\nend\n", 3,
       "Component Nobody not found"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    Timer = W\n  end\n"
       "  object T: TTestTimer\n  end\nend\n",
       3, "is not a TTestTimer"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    OnChange = NoHandler\n  end\nend\n",
       3, "Method NoHandler not found"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    OnChange = WrongShape\n  end\nend\n",
       3, "does not fit event OnChange"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n  end\n  object W: TTestWidget\n  end\n"
       "end\n",
       4, "already exists"},
      {"object Root: TSomethingElse\nend\n", 1, "not TReaderRoot"},
      {"object Root: TReaderRoot\n  object W: TTestWidget\n    Sections = <\n      item\n"
       "        Size = 1\n      end>\n  end\nend\n",
       5, "TTestItem.Size does not exist"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    root_->DestroyComponents();
    auto [line, message] = ErrorOf(c.text);
    EXPECT_EQ(line, c.line) << message;
    EXPECT_NE(message.find(c.fragment), std::string::npos) << message;
    EXPECT_EQ(message.rfind("Line " + std::to_string(c.line) + ": ", 0), 0u) << message;
    // A failed read leaves nothing in the loading state.
    EXPECT_EQ(root_->ComponentState() & (csLoading | csReading), 0u);
  }
}

TEST_F(FormReaderTest, NoEventIsBoundWhenTheReadFails) {
  auto [line, message] = ErrorOf(
      "object Root: TReaderRoot\n  object W: TTestWidget\n    OnChange = WidgetChange\n"
      "    Buddy = Missing\n  end\nend\n");
  EXPECT_EQ(line, 4);
  ASSERT_TRUE(W("W"));
  EXPECT_FALSE(W("W")->OnChange);
}

TEST_F(FormReaderTest, ASecondRootOfTheSameNameGetsAUniqueName) {
  const char* text = "object Form1: TReaderRoot\nend\n";
  ReadComponentFromText(root_, text);
  auto* second = New<TReaderRoot>(owner_);
  ReadComponentFromText(second, text);
  EXPECT_EQ(root_->Name(), "Form1");
  EXPECT_EQ(second->Name(), "Form1_1");
}

TEST_F(FormReaderTest, ReadsTheRcDataNamedAfterTheClass) {
  ReadFormResource(root_);
  EXPECT_EQ(root_->Caption, "from the resource");
  ASSERT_TRUE(W("W1"));
  EXPECT_EQ(W("W1")->Count, 7);
  auto* other = New<TTestTimer>(owner_);
  EXPECT_THROW(ReadFormResource(other), EResNotFound);
}

TEST_F(FormReaderTest, WrittenDescriptionReadsBackToTheSameValues) {
  const char* text =
      "object Root: TReaderRoot\n"
      "  Caption = 'A ''quoted'' caption'#13#10'line 2'\n"
      "  object W1: TTestWidget\n"
      "    Position = 4\n"
      "    Ratio = 0.5\n"
      "    Align = taTop\n"
      "    Anchors = [akLeft, akBottom]\n"
      "    Color = clRed\n"
      "    Items.Strings = ('x' 'y')\n"
      "    Font.Name = 'Tahoma'\n"
      "    Sections = <\n"
      "      item\n"
      "        Caption = 'c'\n"
      "        Data = {0102}\n"
      "      end>\n"
      "    Buddy = W2\n"
      "    OnChange = OtherChange\n"
      "    object W2: TTestWidget\n"
      "      Enabled = False\n"
      "    end\n"
      "  end\n"
      "  object T1: TTestTimer\n"
      "  end\n"
      "end\n";
  ReadComponentFromText(root_, text);
  std::string written = WriteComponentToText(root_);
  // Defaults and properties whose stored predicate fails are left out.
  EXPECT_EQ(written.find("Count ="), std::string::npos) << written;
  EXPECT_EQ(written.find("Interval"), std::string::npos) << written;
  EXPECT_EQ(written.find("Font.Size"), std::string::npos) << written;
  EXPECT_NE(written.find("    Ratio = 0.5\n"), std::string::npos) << written;
  EXPECT_NE(written.find("Anchors = [akLeft, akBottom]"), std::string::npos) << written;
  EXPECT_NE(written.find("Color = clRed"), std::string::npos) << written;
  EXPECT_NE(written.find("OnChange = OtherChange"), std::string::npos) << written;
  EXPECT_NE(written.find("Data = {\n"), std::string::npos) << written;

  auto* copy = New<TReaderRoot>(owner_);
  ReadComponentFromText(copy, written);
  EXPECT_EQ(copy->Caption, root_->Caption);
  auto* w1 = dynamic_cast<TTestWidget*>(copy->FindComponent("W1"));
  ASSERT_TRUE(w1);
  EXPECT_EQ(w1->Position, 4);
  EXPECT_DOUBLE_EQ(w1->Ratio, 0.5);
  EXPECT_EQ(w1->Align, taTop);
  EXPECT_EQ(w1->Anchors, (1 << akLeft) | (1 << akBottom));
  EXPECT_EQ(w1->Color, clRed);
  EXPECT_EQ(w1->Items->Text(), "x\r\ny\r\n");
  EXPECT_EQ(w1->Font->Name, "Tahoma");
  ASSERT_EQ(w1->Sections->Count(), 1);
  EXPECT_EQ(static_cast<TTestItem*>(w1->Sections->Items(0))->Data, (std::vector<uint8_t>{1, 2}));
  auto* w2 = dynamic_cast<TTestWidget*>(copy->FindComponent("W2"));
  ASSERT_TRUE(w2);
  EXPECT_EQ(w1->Buddy, w2);
  EXPECT_EQ(w2->ParentSeen, w1);
  EXPECT_FALSE(w2->Enabled);
  ASSERT_TRUE(w1->OnChange);
  EXPECT_EQ(w1->OnChange.Data(), copy);
  // Writing the copy gives the same text again (names aside).
  std::string again = WriteComponentToText(copy);
  EXPECT_EQ(again.substr(again.find('\n')), written.substr(written.find('\n')));
}

}  // namespace
