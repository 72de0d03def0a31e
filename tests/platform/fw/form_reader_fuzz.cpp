// Fuzz entry for the form reader: any bytes, as form text and as binary form data, through the
// converters and the component reader. Malformed input must end in an exception of the runtime's
// base class, never in a crash, a hang or a leak.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/fw/component.h"
#include "platform/fw/form_text.h"
#include "platform/fw/reader.h"
#include "platform/fw/registration.h"
#include "platform/fw/stream.h"

static void ReadInto(const std::string& binary) {
  auto* root = new fw::TComponent(nullptr);
  try {
    fw::TStringStream s(binary);
    fw::TReader r(s);
    r.ReadRootComponent(root);
  } catch (const rt::Exception&) {
  }
  root->Free();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool registered = (fw::RegisterFrameworkClasses(), true);
  (void)registered;
  std::string input(reinterpret_cast<const char*>(data), size);
  try {
    std::string binary = fw::ObjectTextToBinary(input);
    std::string text = fw::ObjectBinaryToText(binary);
    if (fw::ObjectTextToBinary(text) != binary) __builtin_trap();  // the writer's text must read back
    ReadInto(binary);
  } catch (const rt::Exception&) {
  }
  try {
    fw::ObjectBinaryToText(input);
  } catch (const rt::Exception&) {
  }
  ReadInto(input);
  return 0;
}
