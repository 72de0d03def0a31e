// The stand-in ranking server (ranking_server.py), started once per test program on 127.0.0.1 and
// stopped with it. It records every POST it receives and answers every request with "ok".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hosttest {

class RankingServer {
 public:
  // Starts the server on first use; throws std::runtime_error with the reason when it cannot.
  static RankingServer& Get();

  uint16_t port() const { return port_; }
  std::string url(const std::string& path) const;
  // The POSTs received so far, one "METHOD PATH<tab>type<tab>body" line each (body escaped).
  std::vector<std::string> Requests() const;

 private:
  RankingServer() = default;
  std::string folder_;
  std::string log_;
  uint16_t port_ = 0;
};

}  // namespace hosttest
