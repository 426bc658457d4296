#pragma once

#include <string>
#include <vector>

// A floating-point RGB picture being painted by the texture generators. Row 0 is the
// top of the picture, as JPEG stores it; values are linear 0..1 (clamped on output).
struct ArtColour {
  float r = 0, g = 0, b = 0;
};

inline ArtColour operator+(ArtColour a, ArtColour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline ArtColour operator*(ArtColour a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline ArtColour operator*(ArtColour a, ArtColour b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline ArtColour mix(ArtColour a, ArtColour b, float t) { return a * (1 - t) + b * t; }

class ArtImage {
 public:
  ArtImage(int width, int height);
  virtual ~ArtImage() = default;

  int width() const { return w; }
  int height() const { return h; }
  ArtColour& at(int x, int y) { return pixels[size_t(y) * w + x]; }
  const ArtColour& at(int x, int y) const { return pixels[size_t(y) * w + x]; }

  // Alpha-blends c over the pixel (coverage a in 0..1); out-of-range pixels are ignored.
  void blend(int x, int y, ArtColour c, float a);
  // Adds c to the pixel; out-of-range pixels are ignored.
  void add(int x, int y, ArtColour c);

  // 8-bit interleaved RGB, rows top to bottom, values clamped to 0..255.
  std::vector<unsigned char> toRgb8() const;

 private:
  int w, h;
  std::vector<ArtColour> pixels;
};

// Encodes an RGB picture as a baseline colour JPEG (three components even for grey
// artwork: the texture upload reads red, green and blue). An empty result means failure;
// `error` then says why.
std::vector<unsigned char> encodeJpeg(const ArtImage& image, int quality, bool fullChroma,
                                      std::string& error);
