#include "script/host/html_objects.h"

#include "platform/rt/persistent.h"
#include "platform/rt/utf8.h"
#include "script/core/value_list.h"
#include "support/regular_file.h"

namespace host {

using namespace engine;

// --- HtmlTag ---

const rt::ClassInfo& TJHtmlTagObject::StaticClassInfo() {
  using T = TJHtmlTagObject;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TJHtmlTagObject", &TJObject::StaticClassInfo()).property("name", &T::TagName).build();
  return info;
}

TJHtmlTagObject::TJHtmlTagObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("HtmlTag");
}

void TJHtmlTagObject::Assign(const net::THtmlTag& tag) {
  Clear();
  name_ = tag.Name;
  for (const std::string& key : tag.Attributes.KeyList())
    PutMember(key, TJValue::String(tag.GetAttribute(key)), true, nullptr);
}

void TJHtmlTagObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  // The attribute first for a bracket read: the published name would hide an attribute "name".
  if (bracketAccess && FindStoredMember(name, value)) return;
  TJObject::GetMember(name, bracketAccess, param, value);
}

void TJHtmlTagObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList*) {
  if (bracketAccess) RegistProperty(name, value);
}

// Dotted writes (and every other write by name) leave the tag alone.
bool TJHtmlTagObject::SetValue(std::string_view, const TJValue&, TJValueList*) { return true; }

void TJHtmlTagObject::GetPropertyList(std::vector<std::string>& names) {
  GetMemberNames(names, 0, TypeBit(vtFunction));
  for (const std::string& key : names)
    if (rt::lowerCase(key) == "name") return;
  names.push_back("name");
}

std::string TJHtmlTagObject::ToString(const TJValue*) {
  std::vector<std::string> names;
  GetMemberNames(names, 0, TypeBit(vtFunction));
  bool hasNameAttribute = false;
  std::string attributes;
  auto write = [&attributes](const std::string& key, const std::string& text) {
    attributes += key;
    if (!text.empty()) attributes += "=\"" + text + "\"";
    attributes += ' ';
  };
  for (const std::string& key : names) {
    TJValue v;
    FindStoredMember(key, v);
    if (rt::lowerCase(key) == "name") hasNameAttribute = true;
    write(key, AsString(&v));
  }
  if (!hasNameAttribute) write("name", name_);
  while (!attributes.empty() && attributes.back() == ' ') attributes.pop_back();
  return "<" + name_ + " " + attributes + ">";
}

// --- HtmlParser ---

const rt::ClassInfo& TJHtmlParserObject::StaticClassInfo() {
  using T = TJHtmlParserObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJHtmlParserObject", &TJObject::StaticClassInfo())
                                         .property("html", &T::Html)
                                         .property("text", &T::Text)
                                         .property("count", &T::Count)
                                         .property("length", &T::Count)
                                         .build();
  return info;
}

TJHtmlParserObject::TJHtmlParserObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("HtmlParser");
  if (IsParam1(param)) {
    html_ = AsString(&(*param)[0]);
    parser_.Parse(html_);
  }
}

void TJHtmlParserObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("parse", &TJHtmlParserObject::DoParse);
  RegistMethod("parseFile", &TJHtmlParserObject::DoParseFile);
  RegistMethod("clear", &TJHtmlParserObject::DoClear);
}

void TJHtmlParserObject::GetItem(int32_t index, TJValue& value) {
  const net::THtmlTag* tag = parser_.GetTag(index);
  if (!tag || !Engine()) {
    value.SetNull();
    return;
  }
  auto* object = TJObject::Create<TJHtmlTagObject>(Engine());
  value.SetObject(object);
  object->Assign(*tag);
}

void TJHtmlParserObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  int32_t index;
  if (bracketAccess && TextToInteger(name, index)) {
    GetItem(index, value);
    return;
  }
  TJObject::GetMember(name, bracketAccess, param, value);
}

void TJHtmlParserObject::DoParse(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam1(args)) return;
  html_ = AsString(&(*args)[0]);
  parser_.Parse(html_);
}

// The file's lines, each followed by CR LF whatever line ends it had. A file that cannot be read
// changes nothing: a missing one, a folder, a pipe or device (only a regular file is read whole),
// or a name the file system cannot be given.
void TJHtmlParserObject::DoParseFile(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  if (!IsParam1(args)) return;
  std::string raw;
  if (!support::ReadRegularFile(AsString(&(*args)[0]), raw)) return;
  std::string text;
  text.reserve(raw.size() + raw.size() / 16);
  for (size_t i = 0; i < raw.size();) {
    size_t end = raw.find_first_of("\r\n", i);
    if (end == std::string::npos) end = raw.size();
    text.append(raw, i, end - i);
    text += "\r\n";
    if (end < raw.size() && raw[end] == '\r' && end + 1 < raw.size() && raw[end + 1] == '\n') ++end;
    i = end + 1;
  }
  html_ = std::move(text);
  parser_.Parse(html_);
}

void TJHtmlParserObject::DoClear(TJValueList*, TJValue& result) {
  result.SetObject(this);
  parser_.Clear();
}

}  // namespace host
