// A small, forgiving HTML splitter for scripts that scrape pages: THtmlParser cuts a text into tags
// and plain text, THtmlTag reads one tag's name and attributes. There is no document tree and no
// entity decoding beyond "&amp;" and "&quot;"; nothing is validated, and the work is linear in the
// length of the text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/hash_table.h"

namespace net {

class THtmlTag {
 public:
  // TagText is the whole tag, "<" and ">" included.
  explicit THtmlTag(const std::string& tagText);

  // Trimmed and lower-cased: "a", "/a", "!--" and the like.
  std::string Name;
  // Attribute name (lower-cased) -> value; 53 buckets, letter case ignored.
  support::TStringHashTable Attributes{53, true};

  // The attribute names one per line, in the table's key order.
  std::string GetAttributeNames() const;
  // The value, empty when absent.
  std::string GetAttribute(const std::string& name) const;

 private:
  void Parse(const std::string& tagText);
};

class THtmlParser {
 public:
  explicit THtmlParser(const std::string& html = std::string());

  // Splits a new text: the tags and the plain text of an earlier one are dropped first.
  void Parse(const std::string& html);
  // Drops every tag.
  void Clear();
  int Count() const { return static_cast<int>(tags_.size()); }
  // The tag at Index, or null when there is none.
  const THtmlTag* GetTag(int index) const;

  // The text outside tags, a CR LF for each "<br>".
  std::string PlainText;

 private:
  std::vector<std::unique_ptr<THtmlTag>> tags_;
};

}  // namespace net
