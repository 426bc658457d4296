#pragma once

#include <string>
#include <vector>

// Decodes a JPEG from memory with libjpeg, as the saver's loader will: rows top to bottom,
// `components` bytes per pixel. False on any decoding error.
struct ProbedImage {
    int width = 0, height = 0, components = 0;
    std::vector<unsigned char> pixels;
    float value(int x, int y, int c) const {
        return pixels[(size_t(y) * width + x) * components + c] / 255.0f;
    }
    float luma(int x, int y) const {
        return components == 3 ? (0.299f * value(x, y, 0) + 0.587f * value(x, y, 1) +
                                  0.114f * value(x, y, 2))
                               : value(x, y, 0);
    }
};

bool probeJpeg(const std::vector<unsigned char>& bytes, ProbedImage& out);
