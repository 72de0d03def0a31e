// The call signature of a declared foreign function: "i=" argument letters, "f=" flag letters
// and "r=" the result letter, each given as one text in any order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dll {

struct CallSignature {
  std::string args;    // one letter per argument
  std::string flags;   // flag letters
  std::string result;  // the result letter (its first character counts)
};

// Each text lower-cased; "i=", "f=" and "r=" give the rest of the text to args, flags and result;
// other texts are ignored; a later text of one kind replaces an earlier one.
CallSignature ParseCallSignature(const std::vector<std::string>& texts);

// The flag sum: empty gives 32; otherwise b 1, c 16, s 32, 4 256, 8 512 (other letters nothing).
int32_t CallSignatureFlags(const std::string& flags);
inline constexpr int32_t kFlagHiddenResult = 1, kFlagCallerCleans = 16, kFlagCalleeCleans = 32,
                         kFlagFloatResult = 256, kFlagDoubleResult = 512;

// Whether every argument letter is one a call can convert ("c1t2bhlpu4i8swfdak").
bool ValidArgumentLetters(const std::string& args);

}  // namespace dll
