// A C++ exception out of a native, an accessor or a constructor: the script sees an error it can
// catch, named after the call; uncaught, the run reports it and the host goes on.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "script/core/component.h"
#include "script/core/engine.h"
#include "script/core/exceptions.h"
#include "tests/script/core/one_class_fixture.h"

using namespace engine;

namespace {

// Natives whose library code fails the ways library code can.
class Faulty : public TJObject {
  RT_CLASS(Faulty)
 public:
  static constexpr const char* kScriptName = "Faulty";
  Faulty(TJBaseEngine* e, TJValueList* p) : TJObject(e, p) {
    RegistName(kScriptName);
    if (IsParam1(p)) throw std::invalid_argument("no such thing");
  }
  static bool IsMakeGlobalInstance() { return false; }
  void RegistMethods() override {
    TJObject::RegistMethods();
    RegistMethod("fail", &Faulty::DoFail);
    RegistMethod("failQuietly", &Faulty::DoFailQuietly);
    RegistMethod("failInLibrary", &Faulty::DoFailInLibrary);
    RegistMethod("note", &Faulty::DoNote);
  }
  void DoFail(TJValueList*, TJValue&) { throw std::runtime_error("the disk is on fire"); }
  void DoFailQuietly(TJValueList*, TJValue&) { throw std::exception(); }
  void DoFailInLibrary(TJValueList*, TJValue&) { throw rt::EConvertError("'x' is not a number"); }
  void DoNote(TJValueList* args, TJValue&) { notes += AsString(&(*args)[0]) + ";"; }
  std::string Broken() const { throw std::out_of_range("map::at"); }
  static inline std::string notes;
};

const rt::ClassInfo& Faulty::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<Faulty>("TFaulty", &TJObject::StaticClassInfo()).property("broken", &Faulty::Broken).build();
  return info;
}

using NativeFailureTest = OneClassTest<Faulty>;

}  // namespace

// A member call, a call through a function value, an accessor and a constructor each reach the
// script's catch; the type tells the library's error from the runtime's own.
TEST_F(NativeFailureTest, EveryWayIntoNativeCodeIsCaughtByTheScript) {
  ASSERT_EQ(Run("f = new Faulty();\n"
                "try { f.fail(); } catch (e) { f.note(e); }\n"
                "var m = f.fail; try { m(); } catch (e) { f.note(\"value \" + e); }\n"
                "try { f.failInLibrary(); } catch (e) { f.note(e); }\n"
                "try { f.note(f.broken); } catch (e) { f.note(\"property \" + e); }\n"
                "try { new Faulty(1); } catch (e) { f.note(\"new \" + e); }\n"
                "try { f.failQuietly(); } finally { f.note(\"finally\"); }\n"),
            0);
  EXPECT_EQ(out, "Exception;value Exception;EConvertError;property Exception;new Exception;finally;");
  // The last one went on up: reported with its line and the method's text.
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "7:Exception: Exception(7) => Faulty.failQuietly error: std::exception");
  EXPECT_FALSE(component_->Engine().IsRunning());
  EXPECT_EQ(Run("return 5;"), 5);
}

// Uncaught, each failure names the class, the member and the library's own text.
TEST_F(NativeFailureTest, AnUncaughtFailureNamesTheCall) {
  const std::pair<const char*, const char*> cases[] = {
      {"new Faulty().fail();", "1:Exception: Exception(1) => Faulty.fail error: the disk is on fire"},
      {"new Faulty().failInLibrary();",
       "1:Exception: EConvertError(1) => Faulty.failInLibrary error: 'x' is not a number"},
      {"var x = new Faulty().broken;", "1:Exception: Exception(1) => Faulty.broken error: map::at"},
      {"new Faulty(\"x\");", "1:Exception: Exception(1) => Faulty.create error: no such thing"},
  };
  for (const auto& [source, report] : cases) {
    errors.clear();
    EXPECT_EQ(Run(source), 0) << source;
    ASSERT_EQ(errors.size(), 1u) << source;
    EXPECT_EQ(errors[0], report);
  }
}
