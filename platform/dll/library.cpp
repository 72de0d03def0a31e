#include "platform/dll/library.h"

#include <dlfcn.h>
#include <ffi.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/rt/paths.h"
#include "platform/rt/utf8.h"

namespace dll {

namespace {

bool EndsWithDll(const std::string& name) {
  return name.size() > 4 && rt::sameText(name.substr(name.size() - 4), ".dll");
}

// The names to try for a library name, in order.
std::vector<std::string> Candidates(const std::string& name) {
  if (name.find('/') != std::string::npos) return {name};
  std::vector<std::string> bases{name};
  if (EndsWithDll(name)) {
    std::string stem = name.substr(0, name.size() - 4);
    bases.push_back("lib" + stem + ".so");
    bases.push_back(stem + ".so");
  }
  std::vector<std::string> out;
  std::string folder = rt::exeDir();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  for (const std::string& b : bases) out.push_back(folder + b);
  for (const std::string& b : bases) out.push_back(b);  // the system's search: no "/" in the name
  return out;
}

// libffi, opened when the first call is made rather than linked: most programs never call into a
// library and need not load it at start. Null when it cannot be loaded.
struct TFfi {
  decltype(&::ffi_prep_cif) prepCif = nullptr;
  decltype(&::ffi_call) call = nullptr;
  ffi_type* types[9] = {};  // by CType
};

const TFfi* Ffi() {
  static const TFfi* loaded = []() -> const TFfi* {
    void* library = dlopen("libffi.so.8", RTLD_NOW | RTLD_LOCAL);  // kept open for the process
    if (!library) return nullptr;
    static TFfi ffi;
    ffi.prepCif = reinterpret_cast<decltype(ffi.prepCif)>(dlsym(library, "ffi_prep_cif"));
    ffi.call = reinterpret_cast<decltype(ffi.call)>(dlsym(library, "ffi_call"));
    static const char* const kTypeNames[9] = {"ffi_type_void",   "ffi_type_uint8",  "ffi_type_sint16",
                                              "ffi_type_sint32", "ffi_type_uint32", "ffi_type_sint64",
                                              "ffi_type_float",  "ffi_type_double", "ffi_type_pointer"};
    for (int i = 0; i < 9; ++i) {
      ffi.types[i] = static_cast<ffi_type*>(dlsym(library, kTypeNames[i]));
      if (!ffi.types[i]) return nullptr;
    }
    return ffi.prepCif && ffi.call ? &ffi : nullptr;
  }();
  return loaded;
}

// Through a pipe: the kernel reads the source for write() and writes the destination for read(),
// and answers EFAULT for an address that cannot be used. The slower way, for systems that refuse
// process_vm_readv/writev.
bool ThroughPipe(void* to, const void* from, size_t count) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  bool ok = true;
  while (ok && count > 0) {
    size_t n = std::min<size_t>(count, 4096);  // within the pipe's buffer: never blocks
    ssize_t w = write(fds[1], from, n);
    if (w <= 0) {
      ok = false;
      break;
    }
    ssize_t r = read(fds[0], to, size_t(w));
    if (r != w) ok = false;
    to = static_cast<char*>(to) + w;
    from = static_cast<const char*>(from) + w;
    count -= size_t(w);
  }
  close(fds[0]);
  close(fds[1]);
  return ok;
}

// The process's own memory through the kernel: an unreadable or unwritable address gives EFAULT
// instead of a signal.
bool ReadOwn(void* to, const void* from, size_t count) {
  while (count > 0) {
    iovec local{to, count};
    iovec remote{const_cast<void*>(from), count};
    ssize_t n = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    if (n < 0 && (errno == EPERM || errno == ENOSYS)) return ThroughPipe(to, from, count);
    if (n <= 0) return false;
    to = static_cast<char*>(to) + n;
    from = static_cast<const char*>(from) + n;
    count -= size_t(n);
  }
  return true;
}

bool WriteOwn(void* to, const void* from, size_t count) {
  while (count > 0) {
    iovec local{const_cast<void*>(from), count};
    iovec remote{to, count};
    ssize_t n = process_vm_writev(getpid(), &local, 1, &remote, 1, 0);
    if (n < 0 && (errno == EPERM || errno == ENOSYS)) return ThroughPipe(to, from, count);
    if (n <= 0) return false;
    to = static_cast<char*>(to) + n;
    from = static_cast<const char*>(from) + n;
    count -= size_t(n);
  }
  return true;
}

}  // namespace

bool CopyThroughPipe(void* destination, const void* source, size_t count) {
  return ThroughPipe(destination, source, count);
}

Library::~Library() { Close(); }

std::shared_ptr<Library> Library::Load(const std::string& name, std::string* error) {
  if (name.empty()) {
    if (error) *error = "no library name";
    return nullptr;
  }
  std::string last;
  for (const std::string& candidate : Candidates(name)) {
    if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL))
      return std::shared_ptr<Library>(new Library(handle, name));
    if (const char* e = dlerror()) last = e;
  }
  if (error) *error = last;
  return nullptr;
}

void* Library::Proc(const std::string& name) const {
  if (!handle_ || name.empty()) return nullptr;
  if (void* p = dlsym(handle_, name.c_str())) return p;
  return dlsym(handle_, (name + "A").c_str());
}

void Library::Close() {
  if (!handle_) return;
  dlclose(handle_);
  handle_ = nullptr;
}

CArg CArg::Float(float f) {
  CArg a{CType::Float, 0};
  std::memcpy(&a.bits, &f, sizeof f);
  return a;
}

CArg CArg::Double(double d) {
  CArg a{CType::Double, 0};
  std::memcpy(&a.bits, &d, sizeof d);
  return a;
}

bool Call(void* function, const std::vector<CArg>& args, CType result, CResult& out) {
  out = CResult();
  const TFfi* ffi = Ffi();
  if (!function || !ffi) return false;
  std::vector<ffi_type*> types;
  std::vector<void*> values;
  types.reserve(args.size());
  values.reserve(args.size());
  // Each value lies in its own 8 bytes; libffi reads the C type's width from the start, which is
  // where a little-endian machine keeps the low bytes.
  std::vector<uint64_t> cells(args.size());
  std::vector<float> floats(args.size());
  std::vector<double> doubles(args.size());
  for (size_t i = 0; i < args.size(); ++i) {
    types.push_back(ffi->types[int(args[i].type)]);
    switch (args[i].type) {
      case CType::Float: std::memcpy(&floats[i], &args[i].bits, sizeof(float)); values.push_back(&floats[i]); break;
      case CType::Double: std::memcpy(&doubles[i], &args[i].bits, sizeof(double)); values.push_back(&doubles[i]); break;
      default: cells[i] = args[i].bits; values.push_back(&cells[i]); break;
    }
  }
  ffi_cif cif;
  if (ffi->prepCif(&cif, FFI_DEFAULT_ABI, unsigned(args.size()), ffi->types[int(result)], types.data()) != FFI_OK)
    return false;
  // Integer results come widened to a full register (ffi_arg); floats and doubles as themselves.
  alignas(16) unsigned char slot[16] = {};
  ffi->call(&cif, FFI_FN(function), slot, values.data());
  switch (result) {
    case CType::Void: break;
    case CType::UInt8: out.i = uint8_t(*reinterpret_cast<ffi_arg*>(slot)); break;
    case CType::SInt16: out.i = int16_t(*reinterpret_cast<ffi_sarg*>(slot)); break;
    case CType::SInt32: out.i = int32_t(*reinterpret_cast<ffi_sarg*>(slot)); break;
    case CType::UInt32: out.i = uint32_t(*reinterpret_cast<ffi_arg*>(slot)); break;
    case CType::SInt64: std::memcpy(&out.i, slot, 8); break;
    case CType::Pointer: std::memcpy(&out.i, slot, 8); break;
    case CType::Float: std::memcpy(&out.f, slot, sizeof(float)); out.d = out.f; break;
    case CType::Double: std::memcpy(&out.d, slot, sizeof(double)); break;
  }
  return true;
}

bool GuardedCopy(void* destination, const void* source, size_t count) {
  if (count == 0) return true;
  if (!destination || !source) return false;
  // Through a local buffer, so overlapping ranges copy as memmove does.
  std::vector<unsigned char> buffer(count);
  return ReadOwn(buffer.data(), source, count) && WriteOwn(destination, buffer.data(), count);
}

bool GuardedFill(void* destination, size_t count, uint8_t byte) {
  if (count == 0) return true;
  if (!destination) return false;
  std::vector<unsigned char> buffer(count, byte);
  return WriteOwn(destination, buffer.data(), count);
}

bool GuardedReadText(const void* address, std::string& text, size_t limit) {
  text.clear();
  if (!address) return true;
  const char* p = static_cast<const char*>(address);
  char chunk[256];
  while (text.size() < limit) {
    // Never read across a page end in one go: the next page may not exist.
    size_t toPageEnd = 4096 - (reinterpret_cast<uintptr_t>(p) & 4095);
    size_t n = std::min(sizeof chunk, toPageEnd);
    if (!ReadOwn(chunk, p, n)) return false;
    const void* zero = std::memchr(chunk, 0, n);
    size_t take = zero ? size_t(static_cast<const char*>(zero) - chunk) : n;
    text.append(chunk, take);
    if (zero) return true;
    p += n;
  }
  return false;
}

bool GuardedReadWide(const void* address, std::wstring& text, size_t limit) {
  text.clear();
  if (!address) return true;
  const wchar_t* p = static_cast<const wchar_t*>(address);
  while (text.size() < limit) {
    wchar_t c;
    if (!ReadOwn(&c, p, sizeof c)) return false;
    if (c == 0) return true;
    text.push_back(c);
    ++p;
  }
  return false;
}

}  // namespace dll
