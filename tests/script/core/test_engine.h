// A small engine for the object-model tests: the base engine with a minimal Array class, so that
// natives returning arrays work, and a live-object counter.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "script/core/base_engine.h"
#include "script/core/exceptions.h"
#include "script/core/object.h"
#include "script/core/value.h"
#include "script/core/value_list.h"

namespace enginetest {

using namespace engine;

class TestArray : public TJObject {
  RT_CLASS(TestArray)
 public:
  TestArray(TJBaseEngine* e, TJValueList* p) : TJObject(e, p) { RegistName("Array"); }
  static bool IsIndexedClass() { return true; }
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override { return items.Count(); }
  void GetItem(int32_t i, TJValue& v) override { items.Get(i, v); }
  void PutMember(std::string_view name, const TJValue& value, bool bracket, TJValueList* param) override {
    int32_t index;
    if (bracket && TextToInteger(name, index) && index >= 0) {
      if (index >= items.Count()) items.SetCount(index + 1);
      items.Put(index, value);
      return;
    }
    TJObject::PutMember(name, value, bracket, param);
  }
  void Dispose() override {
    items.Clear();
    TJObject::Dispose();
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const auto& v : items.Items()) out.push_back(AsString(&v));
    return out;
  }
  TJValueList items;
};

// Counts live instances, so tests can see when objects are freed.
class Probe : public TJObject {
  RT_CLASS(Probe)
 public:
  Probe(TJBaseEngine* e, TJValueList* p) : TJObject(e, p) { ++live; RegistName("Probe"); }
  ~Probe() override { --live; }
  static inline int live = 0;
};

class TestEngine : public TJBaseEngine {
 public:
  TestEngine() {
    ImportObject("Array", ClassOf<TestArray>());
    ImportObject("Probe", ClassOf<Probe>());
    ImportObject("Object", ClassOf<TJObject>());
  }
  void NewObjectHook(TJObject* o) override { made.push_back(o->Name()); }
  std::vector<std::string> made;
};

inline std::vector<std::string> ArrayTexts(const TJValue& v) {
  auto* a = dynamic_cast<TestArray*>(v.vObject());
  return a ? a->Texts() : std::vector<std::string>{"<not an array>"};
}


inline std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EJThrow& e) {
    return e.ErrorType + ":" + e.message();
  }
  return "none";
}

}  // namespace enginetest
