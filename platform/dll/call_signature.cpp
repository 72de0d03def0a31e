#include "platform/dll/call_signature.h"

#include "platform/rt/utf8.h"

namespace dll {

CallSignature ParseCallSignature(const std::vector<std::string>& texts) {
  CallSignature sig;
  for (const std::string& given : texts) {
    std::string text = rt::lowerCase(given);
    if (text.size() < 2 || text[1] != '=') continue;
    std::string rest = text.substr(2);
    switch (text[0]) {
      case 'i': sig.args = rest; break;
      case 'f': sig.flags = rest; break;
      case 'r': sig.result = rest; break;
      default: break;
    }
  }
  return sig;
}

int32_t CallSignatureFlags(const std::string& flags) {
  if (flags.empty()) return kFlagCalleeCleans;
  int32_t sum = 0;
  for (char c : flags) {
    switch (rt::asciiLower(c)) {
      case 'b': sum += kFlagHiddenResult; break;
      case 'c': sum += kFlagCallerCleans; break;
      case 's': sum += kFlagCalleeCleans; break;
      case '4': sum += kFlagFloatResult; break;
      case '8': sum += kFlagDoubleResult; break;
      default: break;
    }
  }
  return sum;
}

bool ValidArgumentLetters(const std::string& args) {
  for (char c : args)
    if (std::string_view("c1t2bhlpu4i8swfdak").find(rt::asciiLower(c)) == std::string_view::npos) return false;
  return true;
}

}  // namespace dll
