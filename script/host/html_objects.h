// The script classes "HtmlParser" and "HtmlTag". An HtmlParser splits a text with the library's
// THtmlParser and hands out its tags by index, each as a new HtmlTag object whose bracket-written
// members are the tag's attributes and whose published `name` is the tag name.
//
// An attribute that is itself called "name" (<input name=q>) stays apart from the tag name: a
// bracket read tag["name"] gives the attribute, a dotted read tag.name the tag name, and toString
// writes the attribute instead of a second name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/html_parser.h"
#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJHtmlTagObject : public engine::TJObject {
  RT_CLASS(TJHtmlTagObject)
 public:
  // new HtmlTag: an empty tag, no attributes.
  TJHtmlTagObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  // Published, read-only.
  std::string TagName() const { return name_; }

  // Takes the library tag's name and attributes (in its key order), dropping what was there.
  void Assign(const net::THtmlTag& tag);

  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;
  // Only bracket writes store a member; dotted writes are ignored.
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;
  bool SetValue(std::string_view name, const engine::TJValue& value, engine::TJValueList* param) override;
  // The attributes, then `name` unless an attribute already answers to it.
  void GetPropertyList(std::vector<std::string>& names) override;
  // "<name attr="value" flag>": the attributes, then the tag name as `name` unless an attribute
  // holds that name.
  std::string ToString(const engine::TJValue* argument) override;

 private:
  std::string name_;
};

class TJHtmlParserObject : public engine::TJObject {
  RT_CLASS(TJHtmlParserObject)
 public:
  // new HtmlParser([html]) parses the text at once.
  TJHtmlParserObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  static bool IsIndexedClass() { return true; }

  // Published, read-only.
  std::string Html() const { return html_; }
  std::string Text() const { return parser_.PlainText; }
  int32_t Count() const { return parser_.Count(); }

  void RegistMethods() override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override { return parser_.Count(); }
  // A new HtmlTag for the tag at the index, or null.
  void GetItem(int32_t index, engine::TJValue& value) override;
  // A bracket read with an integer name is an item read.
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;
  std::string ToString(const engine::TJValue* argument) override { return html_; }

  void DoParse(engine::TJValueList* args, engine::TJValue& result);
  void DoParseFile(engine::TJValueList* args, engine::TJValue& result);
  void DoClear(engine::TJValueList* args, engine::TJValue& result);

 private:
  std::string html_;
  net::THtmlParser parser_;
};

}  // namespace host
