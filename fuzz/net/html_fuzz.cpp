// The HTML splitter and tag reader on arbitrary text. Every character lands in exactly one place:
// the plain text, a tag, or an unclosed tag at the end; each tag's text starts with "<".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/html_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  std::string html(reinterpret_cast<const char*>(data), size);
  net::THtmlParser parser(html);
  if (parser.PlainText.size() > html.size() * 2) abort();  // a <br> (4 bytes) becomes 2
  for (int i = 0; i < parser.Count(); ++i) {
    const net::THtmlTag* tag = parser.GetTag(i);
    if (!tag) abort();
    for (const std::string& key : tag->Attributes.KeyList())
      if (tag->GetAttribute(key).size() > html.size()) abort();
    tag->GetAttributeNames();
  }
  if (parser.GetTag(parser.Count())) abort();
  // A second parse of the same text gives the same result.
  std::string first = parser.PlainText;
  int count = parser.Count();
  parser.Parse(html);
  if (parser.PlainText != first || parser.Count() != count) abort();
  net::THtmlTag direct(html);
  return 0;
}
