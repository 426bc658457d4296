#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Lower-case hex SHA-256 of a byte range, to compare against the test data's manifest.
std::string sha256Hex(const std::uint8_t* bytes, std::size_t size);
