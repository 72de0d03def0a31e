#include "net/tls_library.h"

#include <dlfcn.h>

#include <mutex>

#include "net/tls.h"

namespace net {

namespace {

struct TLoadState {
  std::mutex lock;
  std::string sslName = "libssl.so.3";
  std::string cryptoName = "libcrypto.so.3";
  bool tried = false;
  bool loaded = false;
  std::string error;
  TTlsCalls calls;
};

TLoadState& State() {
  static TLoadState state;
  return state;
}

void* OpenLibrary(const char* name, std::string& error) {
  // Kept open for the life of the process: sessions and OpenSSL's own exit handlers use it.
  void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    error = std::string("TLS is not available: ") + name + " cannot be loaded" + (why ? std::string(" (") + why + ")" : "");
  }
  return handle;
}

}  // namespace

bool LoadTlsCalls(const char* sslLibrary, const char* cryptoLibrary, TTlsCalls& calls, std::string& error) {
  void* crypto = OpenLibrary(cryptoLibrary, error);
  if (!crypto) return false;
  void* ssl = OpenLibrary(sslLibrary, error);
  if (!ssl) return false;
  TTlsCalls found;
  bool complete = true;
  auto look = [&](const char* name) -> void* {
    void* symbol = dlsym(ssl, name);  // libssl's own calls, then what it finds in libcrypto
    if (!symbol) symbol = dlsym(crypto, name);
    if (!symbol && complete) {
      complete = false;
      error = std::string("TLS is not available: ") + name + " is missing from " + sslLibrary + " and " + cryptoLibrary;
    }
    return symbol;
  };
#define NET_TLS_LOOK(name) found.name = reinterpret_cast<decltype(found.name)>(look(#name));
  NET_TLS_CALLS(NET_TLS_LOOK)
#undef NET_TLS_LOOK
  if (!complete) return false;
  calls = found;
  return true;
}

const TTlsCalls* TlsCalls(std::string& error) {
  TLoadState& s = State();
  std::lock_guard<std::mutex> hold(s.lock);
  if (!s.tried) {
    s.tried = true;
    s.loaded = LoadTlsCalls(s.sslName.c_str(), s.cryptoName.c_str(), s.calls, s.error);
  }
  if (!s.loaded) {
    error = s.error;
    return nullptr;
  }
  return &s.calls;
}

bool TlsAvailable(std::string& why) { return TlsCalls(why) != nullptr; }

void SetTlsLibraryNames(std::string sslLibrary, std::string cryptoLibrary) {
  TLoadState& s = State();
  std::lock_guard<std::mutex> hold(s.lock);
  if (s.tried) return;
  s.sslName = std::move(sslLibrary);
  s.cryptoName = std::move(cryptoLibrary);
}

}  // namespace net
