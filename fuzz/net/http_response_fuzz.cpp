// Feeds arbitrary bytes to the HTTP client as a server's answer: status line, header lines, cookies
// and body. Whatever arrives, the client either reads it or raises one of its own exceptions.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "net/http.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 100000) return 0;  // the answer must fit the socket buffer: it is written before reading
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return 0;
  int big = 1 << 20;
  setsockopt(ends[0], SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
  size_t written = 0;
  while (written < size) {
    ssize_t n = write(ends[0], data + written, size - written);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  close(ends[0]);

  net::TgHTTP http(4096);
  http.Handle = ends[1];
  http.Connected = true;
  http.Timeout = 1;
  http.SliceMilliseconds = 1;
  http.LogLevel = net::kLogDetail;
  http.OnStatus = [](net::TgSocket&, const std::string&) {};
  http.RequestURL = "http://h/dir/page.cgi?x=1";
  try {
    http.ReadResponse();
    std::string body;
    http.ReceiveToString(body, -1);
    std::string cookieText = http.ResponseHeader.Cookie.GetText() + http.ResponseHeader.Cookie.GetCookieHeader();
    (void)cookieText;
  } catch (const net::EgSocket&) {
  }
  return 0;
}
