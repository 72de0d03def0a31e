#include "script/host/header_text.h"

#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

using namespace engine;

std::string HeaderFieldsText(TJObject& headers, std::string text) {
  if (!text.empty()) text += "\r\n";
  std::vector<std::string> names;
  headers.GetMemberNames(names, TypeBit(vtString), 0);
  for (const std::string& name : names) {
    TJValue value;
    headers.FindMember(name, value);
    text += name + ": " + AsString(&value) + "\r\n";
  }
  // Trailing white space goes, the last line break with it.
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
  return text;
}

}  // namespace host
