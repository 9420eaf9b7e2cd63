#pragma once

// PNG files damaged on purpose, for the tests of unreadable pictures.

#include <QByteArray>
#include <cstdint>

namespace karuta::testing {

inline uint32_t Crc32(const QByteArray& bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (char byte : bytes) {
    crc ^= static_cast<uint8_t>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return ~crc;
}

inline QByteArray BigEndian(uint32_t value) {
  const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
  return QByteArray(bytes, 4);
}

// The PNG with its header saying 30000 x 30000, the header's CRC made right
// again: a reader believes the size and must refuse it. Empty when the bytes
// are no PNG.
inline QByteArray ClaimingHugeSize(const QByteArray& png) {
  if (png.size() < 33 || png.mid(12, 4) != "IHDR") return {};
  QByteArray bytes = png;
  bytes.replace(16, 4, BigEndian(30000));
  bytes.replace(20, 4, BigEndian(30000));
  bytes.replace(29, 4, BigEndian(Crc32(bytes.mid(12, 17))));
  return bytes;
}

}  // namespace karuta::testing
