// RunProgram: the layer's units, the given units in order, the body, the
// destruction of Application, the given units' shutdown in reverse, the
// layer's units last; a failing start-up or body still shuts down what started.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/forms/forms.h"
#include "widgets/forms/message_box.h"
#include "widgets/rtl/units.h"

namespace {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}
std::string failAt;

// What of the layer exists while a step runs.
std::string Layer() {
  if (Application) return "app";
  return Screen ? "screen" : "none";
}

void Step(const std::string& what) {
  Log().push_back(what + " (" + Layer() + ")");
  if (what == failAt) throw Exception(what + " failed");
}

// A component of the application that reports when it goes.
class TLastWords : public TComponent {
  DECLARE_CLASS(TLastWords, TComponent)
 public:
  using TComponent::TComponent;
  void BeforeDestruction() override {
    Log().push_back(Application && Application->Terminated() ? "free, terminated" : "free");
    TComponent::BeforeDestruction();
  }
};

class TCountingSink : public TMessageBoxSink {
 public:
  int Shown = 0;
  int Show(const TMessageBoxRequest&) override { return ++Shown, IDOK; }
};

}  // namespace

const TClassInfo& TLastWords::StaticClass() {
  static const TClassInfo info("TLastWords", &TComponent::StaticClass());
  return info;
}

TEST(RunProgram, StartsRunsAndStopsInOrder) {
  using TLog = std::vector<std::string>;
  struct Case {
    const char* FailAt;
    int Code;
    TLog Expected;
  };
  const Case cases[] = {
      {"",
       0,
       {"start A (app)", "start B (app)", "body (app)", "free, terminated", "stop B (screen)",
        "stop A (screen)"}},
      {"start B", 1, {"start A (app)", "start B (app)", "stop A (screen)"}},
      {"body",
       1,
       {"start A (app)", "start B (app)", "body (app)", "free, terminated", "stop B (screen)",
        "stop A (screen)"}},
  };
  TCountingSink sink;
  TMessageBoxSink* previous = SetMessageBoxSink(&sink);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.FailAt);
    failAt = c.FailAt;
    Log().clear();
    sink.Shown = 0;
    int code = RunProgram({{"A", [] { Step("start A"); }, [] { Step("stop A"); }},
                           {"B", [] { Step("start B"); }, [] { Step("stop B"); }}},
                          [] {
                            New<TLastWords>(Application);
                            Step("body");
                          });
    EXPECT_EQ(code, c.Code);
    EXPECT_EQ(Log(), c.Expected);
    EXPECT_EQ(sink.Shown, c.Code) << "a failure is reported once";
    EXPECT_EQ(Application, nullptr);
    EXPECT_EQ(Screen, nullptr);
  }
  SetMessageBoxSink(previous);
}
