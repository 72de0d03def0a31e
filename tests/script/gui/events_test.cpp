// The names scripts see for the framework classes behind every GUI constructor, and the size,
// wheel and help events driven through the framework's models (no windows): who asks first, what
// the handlers' boxes change, and what a refusal leaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/fw/keys.h"
#include "platform/fw/panel.h"
#include "script/gui/class_names.h"
#include "script/gui/component_wrapper.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

// Each constructor "VCLThing" makes a TThing, and its wrapper names TThing in VCLclassName and
// in every error it raises, once unbound too.
TEST(GuiClassNames, EveryConstructorNamesItsOwnFrameworkClass) {
  TGuiScript s;
  std::vector<engine::TJRef<engine::TJObject>> made;
  s.Component().SetOnNewObject([&](engine::TBrindle*, engine::TJObject* o) {
    if (dynamic_cast<gui::TJVCLComponent*>(o)) made.emplace_back(o);
  });
  for (const char* constructor : gui::kVCLClassNames) {
    const std::string expected = "T" + std::string(constructor).substr(3);
    made.clear();
    auto r = s.Run("var w = new " + std::string(constructor) + "(); println(w.VCLclassName);");
    EXPECT_EQ(r.err, "") << constructor;
    EXPECT_EQ(r.out, expected + "\r\n") << constructor;
    gui::TJVCLComponent* wrapper = nullptr;
    for (auto& o : made)
      if (o->Name() == constructor) wrapper = static_cast<gui::TJVCLComponent*>(o.get());
    ASSERT_NE(wrapper, nullptr) << constructor;
    wrapper->ReleaseVCL();
    try {
      wrapper->CheckVCL(nullptr, 0);
      ADD_FAILURE() << constructor << ": no error";
    } catch (const engine::EJThrow& e) {
      EXPECT_EQ(e.ErrorType, "EVCLError");
      EXPECT_EQ(e.message(), expected + " - VCL is null");
    }
  }
  s.Component().SetOnNewObject(nullptr);
}

}  // namespace
