#include "net/html_parser.h"

#include "net/text_routines.h"
#include "platform/rt/utf8.h"

namespace net {

namespace {

bool IsBlank(char c) { return c == ' '; }

std::string Trim(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

// Every occurrence of `from`, matched with ASCII letter case ignored, replaced by `to`.
std::string ReplaceIgnoreCase(const std::string& text, const std::string& from, const std::string& to) {
  std::string lowered = rt::lowerCase(text);
  std::string out;
  size_t at = 0;
  for (size_t hit = lowered.find(from); hit != std::string::npos; hit = lowered.find(from, at)) {
    out.append(text, at, hit - at);
    out += to;
    at = hit + from.size();
  }
  out.append(text, at, std::string::npos);
  return out;
}

std::string Unquote(const std::string& text) { return ReplaceIgnoreCase(text, "&quot;", "\""); }

}  // namespace

// --- THtmlTag ---

THtmlTag::THtmlTag(const std::string& tagText) { Parse(tagText); }

std::string THtmlTag::GetAttributeNames() const {
  std::string text;
  for (const std::string& key : Attributes.KeyList()) text += key + "\r\n";
  return text;
}

std::string THtmlTag::GetAttribute(const std::string& name) const { return Attributes.GetString(name); }

void THtmlTag::Parse(const std::string& tagText) {
  const std::string text = ReplaceIgnoreCase(BlanksForControls(tagText), "&amp;", "&");
  enum class State { Outside, TagName, AttributeName, AttributeValue } state = State::Outside;
  std::string collected, attribute;
  char closer = 0;  // what closes the value being read: a quote, a blank, or 0 before its first character

  for (char c : text) {
    switch (state) {
      case State::Outside:
        if (c == '<') {
          state = State::TagName;
          collected.clear();
        }
        break;
      case State::TagName:
        if (collected.empty() && IsBlank(c)) break;
        if (IsBlank(c) || c == '>') {
          Name = rt::lowerCase(Unquote(Trim(collected)));
          collected.clear();
          state = State::AttributeName;
        } else {
          collected += c;
        }
        break;
      case State::AttributeName:
        if (collected.empty() && IsBlank(c)) break;
        if (c == '=' || c == '>') {
          // A name ended by ">" starts a value that the end of the text drops: it is not stored.
          attribute = rt::lowerCase(Unquote(Trim(collected)));
          collected.clear();
          closer = 0;
          state = State::AttributeValue;
        } else {
          collected += c;
        }
        break;
      case State::AttributeValue: {
        if (closer == 0) {
          if (IsBlank(c)) break;
          if (c == '"' || c == '\'') {
            closer = c;
            break;
          }
          closer = ' ';
          if (c != '>') {
            collected += c;
            break;
          }
        }
        if (c == closer || c == '>') {
          Attributes.Put(attribute, Unquote(Trim(collected)));
          collected.clear();
          attribute.clear();
          state = State::AttributeName;
        } else {
          collected += c;
        }
        break;
      }
    }
  }
}

// --- THtmlParser ---

THtmlParser::THtmlParser(const std::string& html) { Parse(html); }

void THtmlParser::Clear() { tags_.clear(); }

const THtmlTag* THtmlParser::GetTag(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return tags_[static_cast<size_t>(index)].get();
}

// The plain text starts afresh with each text, so it always belongs to the tags beside it. A ">"
// outside any tag is text like any other character.
void THtmlParser::Parse(const std::string& html) {
  Clear();
  PlainText.clear();
  bool inTag = false;
  std::string tagText;
  for (char c : html) {
    if (c == '<') {
      inTag = true;
      tagText = "<";
    } else if (c == '>' && inTag) {
      inTag = false;
      tagText += '>';
      if (rt::lowerCase(tagText) == "<br>")
        PlainText += "\r\n";
      else
        tags_.push_back(std::make_unique<THtmlTag>(tagText));
      tagText.clear();
    } else if (inTag) {
      tagText += c;
    } else {
      PlainText += c;
    }
  }
}

}  // namespace net
