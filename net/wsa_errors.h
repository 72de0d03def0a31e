// Socket error numbers. Scripts see the Winsock numbers (10061 for a refused connection, 11001 for an
// unknown host) in error events and messages, so every system error is translated to that scheme
// once, here.
#pragma once

#include <string>

namespace net {

constexpr int WSAEINTR = 10004;
constexpr int WSAEBADF = 10009;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAHOST_NOT_FOUND = 11001;
constexpr int WSATRY_AGAIN = 11002;
constexpr int WSANO_RECOVERY = 11003;
constexpr int WSANO_DATA = 11004;

// The Winsock name of an error number; "UNKNOWN ERROR" for any number outside the table.
std::string WSAErrorName(int code);

// The Winsock number of a system errno value; a value without counterpart is returned unchanged.
int WsaErrorFromErrno(int err);
// The Winsock number of a getaddrinfo() result code.
int WsaErrorFromResolver(int gaiCode);
// WsaErrorFromErrno(errno).
int WSAGetLastError();

}  // namespace net
