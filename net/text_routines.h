// Small text and file-name routines shared by the protocol clients.
#pragma once

#include <string>

namespace net {

// a.txt -> a_000.txt -> a_001.txt ...: the next free-name candidate for a file.
std::string NumberedFileName(const std::string& name);
// `count` letters picked at random from a-z and A-Z.
std::string RandomString(int count);
// File-name masks: "?" is one character, "*" any run of characters. Once the name is used up, what
// is left of the mask must be nothing or a single "*". With ignoreCase, ASCII letters match in
// either case.
bool MatchMask(const std::string& name, const std::string& mask, bool ignoreCase);
// The quoted string a text starts with (a doubled quote inside stands for one), or the text
// unchanged when it does not start with `quote`.
std::string DequoteText(const std::string& text, char quote);
std::string RemoveCommas(const std::string& text);
// Tabs, line feeds and carriage returns turned into blanks.
std::string BlanksForControls(const std::string& text);
// The path with a trailing "/"; an empty path gives "/" (or stays empty when mode is 1).
std::string EnsureTrailingDelimiter(const std::string& path, int mode = 0);
// Creates a new empty file in the temporary folder whose name starts with `prefix`; its full name.
std::string GetTempFile(const std::string& prefix);

}  // namespace net
