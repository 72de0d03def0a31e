// %-escaping: the routines behind the script functions escape, unescape, encodeURI,
// encodeURIComponent, decodeURI and decodeURIComponent. They work byte by byte, so a multi-byte
// character is escaped as its UTF-8 bytes.
#pragma once

#include <string>

namespace net {

// Safe bytes (! ' ( ) * - . 0-9 A-Z _ a-z and those of extraSafe) are copied; a blank becomes "+"
// with spaceAsPlus; every other byte becomes "%" and two lower-case hexadecimal digits. The text
// ends at its first NUL.
std::string UrlEncode(const std::string& text, const std::string& extraSafe, bool spaceAsPlus);
// A text without any %xx escape is returned unchanged; otherwise "%%" gives "%", "%" and two
// characters give the byte they spell (0 when they are not hexadecimal) and "+" a blank with
// plusAsSpace. A "%" too near the end to carry two characters is kept.
std::string UrlDecode(const std::string& text, bool plusAsSpace);
// The text holds a "%" followed by two hexadecimal digits somewhere.
bool IsUrlEncoded(const std::string& text);

std::string Escape(const std::string& text);
std::string Unescape(const std::string& text);
std::string EncodeURI(const std::string& text);
std::string EncodeURIComponent(const std::string& text);
std::string DecodeURI(const std::string& text);
std::string DecodeURIComponent(const std::string& text);

}  // namespace net
