// An allocation that fails inside a script: the script sees an error it can catch, with the line
// of the statement; uncaught, the run reports it; either way the engine goes on working.
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "script/core/component.h"
#include "script/core/engine.h"
#include "script/core/exceptions.h"
#include "tests/script/core/one_class_fixture.h"

using namespace engine;

namespace {

// A native whose allocation fails, as any allocation in the engine may.
class Hungry : public TJObject {
  RT_CLASS(Hungry)
 public:
  static constexpr const char* kScriptName = "Hungry";
  Hungry(TJBaseEngine* e, TJValueList* p) : TJObject(e, p) { RegistName(kScriptName); }
  static bool IsMakeGlobalInstance() { return false; }
  void RegistMethods() override {
    TJObject::RegistMethods();
    RegistMethod("eat", &Hungry::DoEat);
    RegistMethod("note", &Hungry::DoNote);
  }
  void DoEat(TJValueList*, TJValue&) { throw std::bad_alloc(); }
  void DoNote(TJValueList* args, TJValue&) { notes += AsString(&(*args)[0]); }
  static inline std::string notes;
};

const rt::ClassInfo& Hungry::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<Hungry>("Hungry", &TJObject::StaticClassInfo()).build();
  return info;
}

using OutOfMemoryTest = OneClassTest<Hungry>;

}  // namespace

TEST_F(OutOfMemoryTest, ACaughtFailureLeavesTheScriptRunning) {
  ASSERT_EQ(Run("h = new Hungry();\n"
                "function deep(n) { var local = \"x\" + n; if (n == 0) h.eat(); return deep(n - 1) + local; }\n"
                "try { deep(20); } catch (e) { h.note(\"caught \" + e); }\n"
                "try { h.eat(); } finally { h.note(\" finally\"); }\n"),
            0);
  EXPECT_EQ(out, "caught EOutOfMemory finally");
  // The finally ran, then the failure went on up and was reported with its line.
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "4:Exception: EOutOfMemory(4) => out of memory");
  // Calls, scopes and recursion work as before in the next run.
  out.clear();
  errors.clear();
  EXPECT_EQ(Run("h = new Hungry();\nfunction f(n) { return n == 0 ? 0 : 1 + f(n - 1); }\nh.note(f(500));\nreturn 3;"), 3);
  EXPECT_EQ(out, "500");
  EXPECT_TRUE(errors.empty());
}

TEST_F(OutOfMemoryTest, AnUncaughtFailureIsReportedWithItsLine) {
  EXPECT_EQ(Run("h = new Hungry();\nfunction g() { new Hungry().eat(); }\ng();\nh.note(\"never\");"), 0);
  EXPECT_EQ(out, "");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "2:Exception: EOutOfMemory(2) => out of memory");
  EXPECT_FALSE(component_->Engine().IsRunning());
  EXPECT_EQ(Run("return 7;"), 7);
}
