#pragma once

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "wrd/vout_buffer.h"

using Bytes = std::vector<uint8_t>;

inline Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) {
    out.insert(out.end(), part.begin(), part.end());
  }
  return out;
}

inline Bytes Payload(const VOutBuffer& buffer) {
  return Bytes(buffer.Data(), buffer.Data() + buffer.Length());
}

inline const Bytes kHeader = {'V', 'a', 'r', 'n', 'e', 'l', ' ', 'W', 'R', 'D', 0, 0, 1, 0, 0, 0};
