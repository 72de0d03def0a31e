// IPv4 host lookup and address texts. Addresses are 32-bit values in network byte order; the
// value 0xFFFFFFFF stands for "no address".
#pragma once

#include <cstdint>
#include <string>

namespace net {

constexpr uint32_t kNoAddress = 0xFFFFFFFFu;

// A dotted address is taken as it is (inet_addr rules); any other text is looked up and its first
// IPv4 address answered. kNoAddress for an empty text or a failed lookup; `error` (when given)
// receives the Winsock number of the failure.
uint32_t ResolveHost(const std::string& host, int* error = nullptr);

// Dotted decimal a.b.c.d.
std::string IPToStr(uint32_t address);

// The local address of a socket in dotted form (empty when the socket has none).
std::string GetSocketLocalAddress(int socket);

// The first IPv4 address of this machine's own name; 127.0.0.1 when the name does not resolve.
uint32_t GetLocalIP();

}  // namespace net
