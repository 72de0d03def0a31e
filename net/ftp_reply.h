// Readers of the FTP server's answers that open a data connection: "227 Entering Passive Mode
// (h1,h2,h3,h4,p1,p2)" and "229 Entering Extended Passive Mode (|||port|)".
#pragma once

#include <cstdint>
#include <string>

namespace net {

// The six numbers between the first "(" and the next ")" (each 0..255, blanks allowed around
// them); the address is h1.h2.h3.h4 in network byte order, the port p1 * 256 + p2 (never 0).
bool ParsePasvReply(const std::string& text, uint32_t& address, uint16_t& port);
// The port between the delimiters of "(|||port|)" (any printable delimiter, used four times alike).
bool ParseEpsvReply(const std::string& text, uint16_t& port);

}  // namespace net
