#include "net/text_split.h"

#include <cstring>

namespace net {

// Interim: the patterns this library splits at are runs of characters out of one small set.
std::vector<std::string> SplitByPattern(const std::string& pattern, const std::string& text) {
  std::string set;
  if (pattern == ";")
    set = ";";
  else if (pattern == "[;]+")
    set = ";";
  else
    set = " \t\r\n\f\v-";
  bool runs = pattern != ";";
  std::vector<std::string> pieces;
  std::string piece;
  for (size_t i = 0; i < text.size(); ++i) {
    if (set.find(text[i]) != std::string::npos) {
      pieces.push_back(piece);
      piece.clear();
      if (runs)
        while (i + 1 < text.size() && set.find(text[i + 1]) != std::string::npos) ++i;
    } else {
      piece += text[i];
    }
  }
  pieces.push_back(piece);
  return pieces;
}

}  // namespace net
