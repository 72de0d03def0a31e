// Arbitrary call signatures: the input's lines are the texts given to a declaration. The
// parser must take any bytes, and what it answers must hold: the parts are lower-case, each comes
// from the last text of its kind, and the flag sum is made of the known flags only.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/dll/call_signature.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool HasUpper(const std::string& s) {
  for (char c : s)
    if (c >= 'A' && c <= 'Z') return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> texts;
  size_t start = 0;
  for (size_t at = input.find('\n'); at != std::string::npos; at = input.find('\n', start)) {
    texts.push_back(input.substr(start, at - start));
    start = at + 1;
  }
  texts.push_back(input.substr(start));

  dll::CallSignature sig = dll::ParseCallSignature(texts);
  Check(!HasUpper(sig.args) && !HasUpper(sig.flags) && !HasUpper(sig.result));
  std::string lastArgs;
  for (const std::string& t : texts)
    if (t.size() >= 2 && (t[0] == 'i' || t[0] == 'I') && t[1] == '=') lastArgs = t.substr(2);
  Check(sig.args.size() == lastArgs.size());

  int32_t flags = dll::CallSignatureFlags(sig.flags);
  Check(flags >= 0);
  if (sig.flags.empty()) Check(flags == dll::kFlagCalleeCleans);
  int32_t known = 0;
  for (char c : sig.flags)
    known += c == 'b' ? 1 : c == 'c' ? 16 : c == 's' ? 32 : c == '4' ? 256 : c == '8' ? 512 : 0;
  if (!sig.flags.empty()) Check(flags == known);

  bool valid = dll::ValidArgumentLetters(sig.args);
  for (char c : sig.args)
    if (std::string("c1t2bhlpu4i8swfdak").find(c) == std::string::npos) Check(!valid);
  return 0;
}
