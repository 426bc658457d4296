#include "tools/art/art_image.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

ArtImage::ArtImage(int width, int height)
    : w(width > 0 ? width : 0), h(height > 0 ? height : 0), pixels(size_t(w) * size_t(h)) {}

void ArtImage::blend(int x, int y, ArtColour c, float a) {
  if (x < 0 || y < 0 || x >= w || y >= h) return;
  ArtColour& p = at(x, y);
  p = mix(p, c, a);
}

void ArtImage::add(int x, int y, ArtColour c) {
  if (x < 0 || y < 0 || x >= w || y >= h) return;
  at(x, y) = at(x, y) + c;
}

static unsigned char toByte(float v) {
  if (!(v > 0)) return 0;  // also catches NaN
  if (v >= 1) return 255;
  return (unsigned char)std::lround(v * 255.0f);
}

std::vector<unsigned char> ArtImage::toRgb8() const {
  std::vector<unsigned char> out(pixels.size() * 3);
  for (size_t i = 0; i < pixels.size(); ++i) {
    out[3 * i] = toByte(pixels[i].r);
    out[3 * i + 1] = toByte(pixels[i].g);
    out[3 * i + 2] = toByte(pixels[i].b);
  }
  return out;
}

namespace {

// libjpeg's default error exit ends the process; ours jumps back to the encoder.
struct JpegErrorTrap {
  jpeg_error_mgr mgr;
  jmp_buf back;
  char message[JMSG_LENGTH_MAX];
};

void trapError(j_common_ptr cinfo) {
  auto* trap = reinterpret_cast<JpegErrorTrap*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, trap->message);
  longjmp(trap->back, 1);
}

void quietOutput(j_common_ptr) {}

// Kept free of C++ objects with destructors: a longjmp out of libjpeg must skip nothing.
bool compress(const unsigned char* rgb, int width, int height, int quality, bool fullChroma,
              unsigned char** out, unsigned long* outSize, char* message) {
  jpeg_compress_struct cinfo;
  JpegErrorTrap trap;
  cinfo.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = trapError;
  trap.mgr.output_message = quietOutput;
  trap.message[0] = 0;
  if (setjmp(trap.back)) {
    jpeg_destroy_compress(&cinfo);
    snprintf(message, JMSG_LENGTH_MAX, "%s", trap.message);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, outSize);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = TRUE;
  if (fullChroma) {
    for (int c = 0; c < 3; ++c) {
      cinfo.comp_info[c].h_samp_factor = 1;
      cinfo.comp_info[c].v_samp_factor = 1;
    }
  }
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(rgb + size_t(cinfo.next_scanline) * width * 3);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

std::vector<unsigned char> encodeJpeg(const ArtImage& image, int quality, bool fullChroma,
                                      std::string& error) {
  if (image.width() <= 0 || image.height() <= 0) {
    error = "cannot encode an empty picture";
    return {};
  }
  std::vector<unsigned char> rgb = image.toRgb8();
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  char message[JMSG_LENGTH_MAX] = {0};
  bool ok = compress(rgb.data(), image.width(), image.height(), std::clamp(quality, 1, 100),
                     fullChroma, &out, &outSize, message);
  std::vector<unsigned char> bytes;
  if (ok && out) bytes.assign(out, out + outSize);
  free(out);  // jpeg_mem_dest allocates with malloc and leaves the buffer to us
  if (!ok || bytes.empty()) error = std::string("JPEG encoding failed: ") + message;
  return bytes;
}
