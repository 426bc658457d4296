// Opening an Ogg Vorbis stream from any bytes, and its first decodes around a loop.
#include <cstddef>
#include <cstdint>

#include "audio/module/vorbis_loop_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  VorbisLoopStream stream;
  if (!stream.open(data, size)) return 0;
  stream.looping = true;
  static std::int16_t out[2 * 4096];
  volatile std::size_t frames = 0;
  for (int i = 0; i < 16 && !stream.ended(); ++i) frames = frames + stream.render(out, 4096, 50);
  return 0;
}
