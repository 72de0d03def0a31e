#include "net/host_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/wsa_errors.h"

namespace net {

uint32_t ResolveHost(const std::string& host, int* error) {
  if (error) *error = 0;
  if (host.empty()) {
    if (error) *error = WSAHOST_NOT_FOUND;
    return kNoAddress;
  }
  in_addr_t dotted = inet_addr(host.c_str());
  if (dotted != INADDR_NONE) return dotted;

  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (rc != 0 || found == nullptr) {
    if (error) *error = rc != 0 ? WsaErrorFromResolver(rc) : WSANO_DATA;
    if (found) freeaddrinfo(found);
    return kNoAddress;
  }
  uint32_t address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  freeaddrinfo(found);
  return address;
}

std::string IPToStr(uint32_t address) {
  const auto* b = reinterpret_cast<const unsigned char*>(&address);
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
         std::to_string(b[3]);
}

std::string GetSocketLocalAddress(int socket) {
  sockaddr_in local{};
  socklen_t length = sizeof local;
  if (getsockname(socket, reinterpret_cast<sockaddr*>(&local), &length) != 0 || local.sin_family != AF_INET) {
    return {};
  }
  return IPToStr(local.sin_addr.s_addr);
}

uint32_t GetLocalIP() {
  char name[256] = {};
  if (gethostname(name, 255) == 0) {
    uint32_t address = ResolveHost(name);
    if (address != kNoAddress) return address;
  }
  return htonl(INADDR_LOOPBACK);
}

}  // namespace net
