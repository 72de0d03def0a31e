#include "tests/script/host/test_automation.h"

#include <map>

namespace hosttest {

using namespace com;

namespace {

const char kEventGuid[] = "{7E5A0001-0000-4000-8000-42525363524B}";

enum : DispId { idItem = 0, idText = 1, idCount, idAdd, idClear, idChild, idNow, idNothing, idFail, idRecord,
                idLastArgs, idLookups, idFire, idSum, idVersion, idPing = 1, idData = 2 };

std::string Joined(const DispatchObject::Args& args) {
  std::string out;
  for (const rt::Variant& a : args) out += (out.empty() ? "" : ",") + TypeName(a);
  return out;
}

// An object given out by `Child`: its own Name; its index goes to the parent's Child.
ComPtr<IDispatch> MakeChild() {
  ComPtr<DispatchObject> child(new DispatchObject);
  child->SetTypeInfo("{7E5A0003-0000-4000-8000-42525363524B}", {}, nullptr);
  child->AddProperty("Name", 1, [](const DispatchObject::Args&, Variant& r) {
    r = Variant::Str("child");
    return S_OK;
  });
  return ComPtr<IDispatch>(child.get());
}

}  // namespace

std::string TypeName(const rt::Variant& v) {
  switch (v.vt) {
    case rt::VT_EMPTY: return "EMPTY";
    case rt::VT_NULL: return "NULL";
    case rt::VT_I2: return "I2";
    case rt::VT_I4: return "I4";
    case rt::VT_R8: return "R8";
    case rt::VT_DATE: return "DATE";
    case rt::VT_BSTR: return "BSTR";
    case rt::VT_DISPATCH: return "DISPATCH";
    case rt::VT_BOOL: return "BOOL";
    default: return "VT" + std::to_string(v.vt);
  }
}

TestAutomation::TestAutomation() : events(new ConnectionPoint(kEventGuid)) {
  using Args = DispatchObject::Args;
  ComPtr<TypeLib> lib(new TypeLib);
  lib->Add(kEventGuid, {{idPing, "Ping"}, {idData, "Data"}});
  SetTypeInfo("{7E5A0002-0000-4000-8000-42525363524B}", {}, lib);
  SetConnectionPoint(events);

  auto find = [this](const Variant& index) -> Variant* {
    if (index.vt == rt::VT_I4 || index.vt == rt::VT_I2 || index.vt == rt::VT_R8) {
      long i = index.vt == rt::VT_R8 ? long(index.dblVal) : index.intVal;
      return i >= 0 && size_t(i) < items.size() ? &items[size_t(i)] : nullptr;
    }
    // A text index names an item by its text.
    for (Variant& item : items)
      if (item.vt == rt::VT_BSTR && item.text == index.text) return &item;
    return nullptr;
  };
  AddProperty("Item", idItem,
              [this, find](const Args& a, Variant& r) {
                lastArgs = Joined(a);
                if (a.size() != 1) return DISP_E_BADPARAMCOUNT;
                Variant* item = find(a[0]);
                if (!item) return DISP_E_BADINDEX;
                r = *item;
                return S_OK;
              },
              [this, find](const Args& a, const Variant& v) {
                lastArgs = Joined(a) + "=" + TypeName(v);
                if (a.size() != 1) return DISP_E_BADPARAMCOUNT;
                Variant* item = find(a[0]);
                if (!item) return DISP_E_BADINDEX;
                *item = v;
                return S_OK;
              },
              1);
  AddProperty("Text", idText,
              [this](const Args& a, Variant& r) {
                if (!a.empty()) return DISP_E_BADPARAMCOUNT;
                r = Variant::Str(text);
                return S_OK;
              },
              [this](const Args& a, const Variant& v) {
                lastArgs = Joined(a) + "=" + TypeName(v);
                if (!a.empty()) return DISP_E_BADPARAMCOUNT;
                if (v.vt != rt::VT_BSTR) return DISP_E_TYPEMISMATCH;
                text = v.text;
                return S_OK;
              });
  AddProperty("Count", idCount, [this](const Args&, Variant& r) {
    r = Variant::Int(int32_t(items.size()));
    return S_OK;
  });
  AddMethod("Add", idAdd, [this](const Args& a, Variant& r) {
    for (const Variant& v : a) items.push_back(v);
    r = Variant::Int(int32_t(items.size()));
    return S_OK;
  });
  AddMethod("Clear", idClear, [this](const Args&, Variant&) {
    items.clear();
    return S_OK;
  });
  AddProperty("Child", idChild, [this](const Args& a, Variant& r) {
    if (a.empty()) {
      r.vt = rt::VT_DISPATCH;
      r.disp = MakeChild().get();
      return S_OK;
    }
    lastArgs = Joined(a);
    r = Variant::Str("child item " + (a[0].vt == rt::VT_BSTR ? a[0].text : std::to_string(a[0].intVal)));
    return S_OK;
  });
  AddProperty("Now", idNow, [](const Args&, Variant& r) {
    r = DateVariant(45292.5);  // 2024-01-01 12:00
    return S_OK;
  });
  AddProperty("Nothing", idNothing, [](const Args&, Variant& r) {
    r = Variant::Null();
    return S_OK;
  });
  AddMethod("Fail", idFail, [](const Args&, Variant&) { return E_FAIL; });
  AddMethod("Record", idRecord, [this](const Args& a, Variant& r) {
    lastArgs = Joined(a);
    r = Variant::Int(int32_t(a.size()));
    return S_OK;
  });
  AddMethod("Sum", idSum, [](const Args& a, Variant& r) {
    double sum = 0;
    for (const Variant& v : a) sum += v.vt == rt::VT_R8 ? v.dblVal : v.intVal;
    r = Variant::Double(sum);
    return S_OK;
  });
  AddProperty("LastArgs", idLastArgs, [this](const Args&, Variant& r) {
    r = Variant::Str(lastArgs);
    return S_OK;
  });
  AddProperty("Lookups", idLookups, [this](const Args&, Variant& r) {
    r = Variant::Int(lookups);
    return S_OK;
  });
  AddMethod("Fire", idFire, [this](const Args& a, Variant&) {
    if (a.empty()) return DISP_E_BADPARAMCOUNT;
    events->Fire(a[0].intVal, std::vector<Variant>(a.begin() + 1, a.end()));
    return S_OK;
  });
  AddVariable("Version", idVersion, [](const Args&, Variant& r) {
    r = Variant::Str("1.0");
    return S_OK;
  });
  AddProperty("_NewEnum", DISPID_NEWENUM, [this](const Args&, Variant& r) {
    r = UnknownVariant(new VariantEnumerator(items));
    return S_OK;
  });
}

HResult TestAutomation::GetIDsOfNames(std::string_view name, DispId& id) {
  ++lookups;
  return DispatchObject::GetIDsOfNames(name, id);
}

void RegisterTestAutomation() {
  RegisterProgId("BRScript.TestAutomation", [] { return ComPtr<IDispatch>(new TestAutomation); });
}

}  // namespace hosttest
