// Splitting texts at the matches of a regular expression: the pieces between the matches, the
// text before the first and the rest after the last (the whole text when nothing matches).
#pragma once

#include <string>
#include <vector>

namespace net {

std::vector<std::string> SplitByPattern(const std::string& pattern, const std::string& text);

}  // namespace net
