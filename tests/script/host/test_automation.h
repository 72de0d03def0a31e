// The automation server the tests register as "BRScript.TestAutomation". It counts name lookups,
// keeps a list of items (the default member `Item(i)`, enumerable, indexed by number or by text),
// offers a property that returns an object with a parent (`Child`, whose index reads through the
// parent), a date, a null, a text, a method that fails, a record of the last arguments it got, and
// `Fire(id, args...)`, which raises event `id` (1 "Ping", 2 "Data") through its connection point.
// Its type information describes its members (the variable `Version` among them); `Child`'s
// objects have type information of their own.
#pragma once

#include <string>
#include <vector>

#include "platform/com/automation.h"

namespace hosttest {

class TestAutomation : public com::DispatchObject {
 public:
  TestAutomation();
  com::HResult GetIDsOfNames(std::string_view name, com::DispId& id) override;

  int lookups = 0;
  std::vector<rt::Variant> items;
  std::string text = "initial";
  std::string lastArgs;  // the variant types of the last Item/Record arguments, e.g. "I4,BSTR"
  rt::ComPtr<com::ConnectionPoint> events;
};

// Registers the ProgID (once per process); ships no other server.
void RegisterTestAutomation();

// "I4", "BSTR"... of a variant.
std::string TypeName(const rt::Variant& v);

}  // namespace hosttest
