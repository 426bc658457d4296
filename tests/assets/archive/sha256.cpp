#include "tests/assets/archive/sha256.h"

#include <openssl/sha.h>

#include <cstdio>

std::string sha256Hex(const std::uint8_t* bytes, std::size_t size) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(bytes, size, digest);
  std::string hex;
  char pair[3];
  for (unsigned char b : digest) {
    std::snprintf(pair, sizeof pair, "%02x", b);
    hex += pair;
  }
  return hex;
}
