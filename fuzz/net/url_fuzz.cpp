// URL parsing, building and resolution, %-escaping, proxy settings, HTTP dates and file masks on
// arbitrary text. The input's first line is the main text, the second a relative reference, mask or
// proxy. Escaping must round-trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/http_date.h"
#include "net/text_routines.h"
#include "net/url.h"
#include "net/url_escape.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t newline = input.find('\n');
  std::string first = input.substr(0, newline);
  std::string second = newline == std::string::npos ? std::string() : input.substr(newline + 1);

  net::TUrlInfo info = net::ParseUrl(first);
  std::string built = net::BuildUrl(info);
  net::ParseUrl(built);
  net::CombineUrl(first, second);
  net::UrlHostPort(first);
  std::string path = second, host, port;
  net::ParseProxy(first, path, host, port);

  std::string plain = first.substr(0, first.find('\0'));
  if (net::DecodeURIComponent(net::EncodeURIComponent(first)) != plain) abort();
  if (net::Unescape(net::Escape(plain)) != plain && net::IsUrlEncoded(net::Escape(plain))) abort();
  net::UrlDecode(first, true);

  net::ParseHttpDate(first);
  net::MatchMask(first.substr(0, 200), second.substr(0, 50), true);
  net::NumberedFileName(first);
  net::DequoteText(first, '"');
  return 0;
}
