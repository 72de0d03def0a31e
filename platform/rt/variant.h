// The automation shapes that property values and script values share: a counted interface base, a
// dispatch interface, and the variant record. The automation layer builds on these; nothing here
// talks to a server.
#pragma once

#include <cstdint>
#include <string>

namespace rt {

// Reference-counted interface. A fresh object starts at 0; the first holder's AddRef brings it to 1.
class IUnknown {
 public:
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

// Late-bound automation interface; the automation layer adds the calls.
class IDispatch : public IUnknown {};

// A counted interface pointer.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
  ComPtr(const ComPtr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
  ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~ComPtr() { if (p_) p_->Release(); }
  ComPtr& operator=(ComPtr o) noexcept { std::swap(p_, o.p_); return *this; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }

 private:
  T* p_ = nullptr;
};

enum VarType : uint16_t {
  VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5, VT_CY = 6, VT_DATE = 7,
  VT_BSTR = 8, VT_DISPATCH = 9, VT_ERROR = 10, VT_BOOL = 11, VT_VARIANT = 12, VT_UNKNOWN = 13,
  VT_UI1 = 17, VT_STRING = 0x100,  // VT_STRING: the runtime's 8-bit text variant
  VT_ARRAY = 0x2000, VT_BYREF = 0x4000,
};

// The variant record. Text is held as UTF-8 for every text type (VT_BSTR included).
struct Variant {
  uint16_t vt = VT_EMPTY;
  int32_t intVal = 0;      // VT_I2, VT_I4, VT_UI1, VT_ERROR
  double dblVal = 0;       // VT_R4, VT_R8, VT_DATE (days since 1899-12-30), VT_CY
  bool boolVal = false;    // VT_BOOL
  std::string text;        // VT_BSTR, VT_STRING
  ComPtr<IDispatch> disp;  // VT_DISPATCH
  ComPtr<IUnknown> unk;    // VT_UNKNOWN

  static Variant Null() { Variant v; v.vt = VT_NULL; return v; }
  static Variant Int(int32_t i) { Variant v; v.vt = VT_I4; v.intVal = i; return v; }
  static Variant Double(double d) { Variant v; v.vt = VT_R8; v.dblVal = d; return v; }
  static Variant Bool(bool b) { Variant v; v.vt = VT_BOOL; v.boolVal = b; return v; }
  static Variant Str(std::string s) { Variant v; v.vt = VT_BSTR; v.text = std::move(s); return v; }
};

}  // namespace rt
