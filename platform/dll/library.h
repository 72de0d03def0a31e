// Shared libraries loaded by name and the foreign call itself.
//
// A library is found as follows: a name with "/" is taken as given; otherwise the executable's
// folder is tried first, then the system's search (never the current folder); a name ending in
// ".dll" is also tried as "lib<name>.so" and "<name>.so". A Library unloads when it is closed or
// its last holder lets go; a declaration keeps a Library and asks whether it is still loaded.
//
// Calls follow the x86-64 System V convention through libffi: arguments in registers and 8-byte
// stack slots, results in RAX or XMM0. The cleanup flags of 32-bit calls mean nothing here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dll {

class Library {
 public:
  ~Library();
  // The library, or null (with `error` set) when it cannot be loaded.
  static std::shared_ptr<Library> Load(const std::string& name, std::string* error = nullptr);
  // The exported symbol, or the symbol with "A" appended; null when neither exists or the library
  // was closed.
  void* Proc(const std::string& name) const;
  void Close();
  bool IsLoaded() const { return handle_ != nullptr; }
  const std::string& Name() const { return name_; }

 private:
  Library(void* handle, std::string name) : handle_(handle), name_(std::move(name)) {}
  void* handle_;
  std::string name_;
};

// The C type of an argument or a result.
enum class CType : uint8_t { Void, UInt8, SInt16, SInt32, UInt32, SInt64, Float, Double, Pointer };

// One argument: its C type and its bits (an integer, a pointer, or a float's/double's bytes).
struct CArg {
  CType type;
  uint64_t bits = 0;
  static CArg Int(CType t, int64_t v) { return {t, uint64_t(v)}; }
  static CArg Ptr(const void* p) { return {CType::Pointer, uint64_t(reinterpret_cast<uintptr_t>(p))}; }
  static CArg Float(float f);
  static CArg Double(double d);
};

// The raw result: integers and pointers widened to 64 bits (signed), floats in `f`, doubles in `d`.
struct CResult {
  int64_t i = 0;
  float f = 0;
  double d = 0;
};

// Calls the function; false when libffi cannot prepare the call or cannot be loaded.
bool Call(void* function, const std::vector<CArg>& args, CType result, CResult& out);

// Copies and fills that fail instead of faulting when an address is not readable or writable.
bool GuardedCopy(void* destination, const void* source, size_t count);
bool GuardedFill(void* destination, size_t count, uint8_t byte);
// The bytes at the address up to the first zero byte (wide: the wide characters up to the first
// zero character); false when the memory cannot be read. The length read is capped at `limit`.
bool GuardedReadText(const void* address, std::string& text, size_t limit = size_t(1) << 24);
// The same guard on the way a system without process_vm_readv/writev takes (a pipe).
bool CopyThroughPipe(void* destination, const void* source, size_t count);
bool GuardedReadWide(const void* address, std::wstring& text, size_t limit = size_t(1) << 22);

}  // namespace dll
