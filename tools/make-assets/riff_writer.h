// Little-endian byte buffers for the binary file formats the tool writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

class Bytes {
 public:
  void u8(uint32_t v) { data_.push_back(static_cast<uint8_t>(v)); }
  void u16le(uint32_t v) { u8(v); u8(v >> 8); }
  void u32le(uint32_t v) { u16le(v); u16le(v >> 16); }
  void u16be(uint32_t v) { u8(v >> 8); u8(v); }
  void u32be(uint32_t v) { u16be(v >> 16); u16be(v); }
  void text(const std::string& s) {
    for (char c : s) data_.push_back(static_cast<uint8_t>(c));
  }
  void append(const Bytes& other) { data_.insert(data_.end(), other.data_.begin(), other.data_.end()); }
  // A MIDI variable-length quantity: seven bits per byte, high bit set on all but the last.
  void varLen(uint32_t v);

  size_t size() const { return data_.size(); }
  const std::vector<uint8_t>& data() const { return data_; }

 private:
  std::vector<uint8_t> data_;
};

// Writes the bytes to `path`; throws std::runtime_error naming the file on failure.
void writeFile(const std::string& path, const Bytes& bytes);

}  // namespace assets
