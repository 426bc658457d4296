#pragma once
// The C++ source that carries the built-in pictures into the executable: one byte array per
// picture and the table of host/builtin_art_data.h.
#include <string>
#include <vector>

struct EmbeddedPicture {
  int id = 0;
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // rows top-down, RGB8
};

// The source text. Pictures keep the order given (the table groups them by id as given).
// Returns an empty text when a picture's bytes do not match its size.
std::string embedSource(const std::vector<EmbeddedPicture>& pictures);
