#include "platform/com/automation.h"

#include <gtest/gtest.h>

namespace {

using namespace com;

TEST(Automation, ProgIdsIgnoreCaseAndUnknownOnesAreNotRegistered) {
  int made = 0;
  RegisterProgId("Test.Counter", [&made] {
    ++made;
    return ComPtr<IDispatch>(new DispatchObject);
  });
  ComPtr<IDispatch> object;
  EXPECT_EQ(CreateObject("TEST.counter", object), S_OK);
  EXPECT_TRUE(object);
  EXPECT_TRUE(IsLiveDispatch(object.get()));
  EXPECT_EQ(CreateObject("Test.Other", object), REGDB_E_CLASSNOTREG);
  RegisterProgId("Test.Empty", [] { return ComPtr<IDispatch>(); });
  EXPECT_EQ(CreateObject("Test.Empty", object), E_FAIL);
  UnregisterProgId("test.counter");
  EXPECT_EQ(CreateObject("Test.Counter", object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(made, 1);
  const void* gone;
  {
    ComPtr<DispatchObject> temporary(new DispatchObject);
    gone = temporary.get();
    EXPECT_TRUE(IsLiveDispatch(gone));
  }
  EXPECT_FALSE(IsLiveDispatch(gone));
}

TEST(Automation, TableDispatchSeparatesGetsPutsAndMethods) {
  ComPtr<DispatchObject> d(new DispatchObject);
  int value = 1;
  d->AddProperty("Value", 1,
                 [&](const DispatchObject::Args& a, Variant& r) {
                   if (!a.empty()) return DISP_E_BADPARAMCOUNT;
                   r = Variant::Int(value);
                   return S_OK;
                 },
                 [&](const DispatchObject::Args& a, const Variant& v) {
                   value = v.intVal + int(a.size()) * 100;
                   return S_OK;
                 });
  bool ran = false;
  d->AddMethod("Run", 2, [&](const DispatchObject::Args& a, Variant& r) {
    ran = true;
    r = Variant::Int(int32_t(a.size()));
    return S_OK;
  });
  DispId id;
  EXPECT_EQ(d->GetIDsOfNames("vALUE", id), S_OK);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(d->GetIDsOfNames("Missing", id), DISP_E_UNKNOWNNAME);
  DispParams none;
  Variant r;
  // Reading a method as a property runs nothing.
  EXPECT_EQ(d->Invoke(2, DISPATCH_PROPERTYGET, none, &r), DISP_E_MEMBERNOTFOUND);
  EXPECT_FALSE(ran);
  DispParams two;
  two.args = {Variant::Int(2), Variant::Int(1)};
  EXPECT_EQ(d->Invoke(2, DISPATCH_METHOD | DISPATCH_PROPERTYGET, two, &r), S_OK);
  EXPECT_TRUE(ran);
  EXPECT_EQ(r.intVal, 2);
  // A put needs its value as the one named argument; positional ones before it are an index.
  DispParams put;
  put.args = {Variant::Int(5), Variant::Int(9)};
  EXPECT_EQ(d->Invoke(1, DISPATCH_PROPERTYPUT, put, nullptr), DISP_E_BADPARAMCOUNT);
  put.named = {DISPID_PROPERTYPUT};
  EXPECT_EQ(d->Invoke(1, DISPATCH_PROPERTYPUT, put, nullptr), S_OK);
  EXPECT_EQ(value, 105);
  EXPECT_EQ(d->Invoke(99, DISPATCH_METHOD, none, &r), DISP_E_MEMBERNOTFOUND);
  EXPECT_FALSE(d->QueryInterface(Iid::ConnectionPointContainer));  // no events
}

TEST(Automation, EnumeratorAndConnectionPoint) {
  ComPtr<VariantEnumerator> e(new VariantEnumerator({Variant::Int(1), Variant::Str("b"), Variant::Int(3)}));
  Variant items[2];
  uint32_t fetched = 0;
  EXPECT_EQ(e->Next(2, items, &fetched), S_OK);
  EXPECT_EQ(fetched, 2u);
  EXPECT_EQ(items[1].text, "b");
  EXPECT_EQ(e->Next(2, items, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 1u);
  EXPECT_EQ(e->Next(1, items, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(e->Reset(), S_OK);
  EXPECT_EQ(e->Skip(5), S_FALSE);
  EXPECT_EQ(e->Next(1, items, &fetched), S_FALSE);

  struct Sink : RefCounted<IDispatch> {
    std::vector<std::string> got;
    HResult GetIDsOfNames(std::string_view, DispId&) override { return E_NOTIMPL; }
    HResult Invoke(DispId id, uint16_t, DispParams& p, Variant*) override {
      got.push_back(std::to_string(id) + ":" + (p.args.empty() ? "" : p.args.back().text));  // first argument is last
      return S_OK;
    }
  };
  ComPtr<ConnectionPoint> point(new ConnectionPoint("{guid}"));
  ComPtr<Sink> sink(new Sink);
  uint32_t cookie = 0;
  EXPECT_EQ(point->Advise(sink.get(), cookie), S_OK);
  point->Fire(7, {Variant::Str("first"), Variant::Str("second")});
  EXPECT_EQ(sink->got, std::vector<std::string>{"7:first"});
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  point->Fire(7, {});
  EXPECT_EQ(sink->got.size(), 1u);
  EXPECT_EQ(point->Advise(nullptr, cookie), E_POINTER);

  ComPtr<TypeLib> lib(new TypeLib);
  lib->Add("{events}", {{1, "Click"}});
  ComPtr<ITypeInfo> info;
  EXPECT_EQ(lib->GetTypeInfoOfGuid("{other}", info), TYPE_E_ELEMENTNOTFOUND);
  ASSERT_EQ(lib->GetTypeInfoOfGuid("{events}", info), S_OK);
  std::string name;
  EXPECT_EQ(info->GetDocumentation(1, name), S_OK);
  EXPECT_EQ(name, "Click");
  EXPECT_TRUE(Failed(info->GetDocumentation(2, name)));
}

TEST(Automation, TypeInformationDescribesTheMembersAndListsReadableProperties) {
  ComPtr<DispatchObject> d(new DispatchObject);
  auto get = [](const DispatchObject::Args&, Variant& r) {
    r = Variant::Int(1);
    return S_OK;
  };
  auto put = [](const DispatchObject::Args&, const Variant&) { return S_OK; };
  auto run = [](const DispatchObject::Args&, Variant&) { return S_OK; };
  ComPtr<ITypeInfo> info;
  EXPECT_EQ(d->GetTypeInfo(0, info), E_NOTIMPL);  // a server that declares nothing has none
  d->AddProperty("Name", 1, get, put);
  d->AddProperty("Item", 0, get, put, 1);          // needs an index
  d->AddProperty("Sink", 3, nullptr, put);         // written only
  d->AddMethod("Run", 4, run);
  d->AddProperty("_NewEnum", DISPID_NEWENUM, get);  // reserved: restricted
  d->AddVariable("Size", 5, get, put);
  d->AddProperty("NAME", 6, get);                  // a name listed once
  d->SetTypeInfo("{1}", {{7, "Extra"}}, nullptr);
  d->AddProperty("Late", 8, get);                  // added after: described too
  ASSERT_EQ(d->GetTypeInfo(0, info), S_OK);
  EXPECT_EQ(d->GetTypeInfo(1, info), E_NOTIMPL);

  TypeAttr attr;
  ASSERT_EQ(info->GetTypeAttr(attr), S_OK);
  EXPECT_EQ(attr.varCount, 1);
  EXPECT_EQ(attr.funcCount, 9);  // Name get+put, Item get+put, Sink put, Run, _NewEnum, NAME, Late
  FuncDesc f;
  ASSERT_EQ(info->GetFuncDesc(3, f), S_OK);
  EXPECT_EQ(f.id, 0);
  EXPECT_EQ(f.invokeKind, INVOKE_PROPERTYPUT);
  EXPECT_EQ(f.paramCount, 2);  // the index and the value
  ASSERT_EQ(info->GetFuncDesc(6, f), S_OK);
  EXPECT_EQ(f.id, DISPID_NEWENUM);
  EXPECT_EQ(f.flags, FUNCFLAG_FRESTRICTED);
  EXPECT_EQ(info->GetFuncDesc(9, f), TYPE_E_ELEMENTNOTFOUND);
  VarDesc v;
  ASSERT_EQ(info->GetVarDesc(0, v), S_OK);
  EXPECT_EQ(v.id, 5);
  std::string name;
  EXPECT_EQ(info->GetDocumentation(7, name), S_OK);
  EXPECT_EQ(name, "Extra");

  EXPECT_EQ(PropertyNames(*info.get()), (std::vector<std::string>{"Size", "Name", "Late"}));
  // The variable is read like a property.
  DispParams none;
  Variant r;
  EXPECT_EQ(d->Invoke(5, DISPATCH_PROPERTYGET, none, &r), S_OK);
  EXPECT_EQ(r.intVal, 1);

  // The description is a copy: it stays whole after the object is gone.
  d = nullptr;
  EXPECT_EQ(PropertyNames(*info.get()).size(), 3u);

  // Name tables (event interfaces) describe no members.
  ComPtr<TypeLib> lib(new TypeLib);
  lib->Add("{2}", {{1, "Ping"}});
  ComPtr<ITypeInfo> events;
  ASSERT_EQ(lib->GetTypeInfoOfGuid("{2}", events), S_OK);
  EXPECT_TRUE(PropertyNames(*events.get()).empty());
}

}  // namespace
