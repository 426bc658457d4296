#include <cstdlib>

#include "assets/tools/pack_state.h"

int encodeAudioByte(AudioState& state, int channels, std::uint8_t byte) {
  AudioChannelState& v = state.channel[state.currentChannel];
  ++v.byteCount;
  v.d[3] = v.d[2];
  v.d[2] = v.d[1];
  v.d[1] = v.lastDelta - v.d[0];
  v.d[0] = v.lastDelta;
  int p = 8 * v.lastByte + v.k[0] * v.d[0] + v.k[1] * v.d[1] + v.k[2] * v.d[2] +
          v.k[3] * v.d[3] + v.k[4] * state.channelDelta;
  p = (p >> 3) & 0xFF;
  int delta = (p - int(byte)) & 0xFF;

  int ch = p - delta;
  int e = int(std::int8_t(std::uint8_t(delta))) * 8;
  const int d1 = v.d[0], d2 = v.d[1], d3 = v.d[2], d4 = v.d[3], cd = state.channelDelta;
  v.dif[0] += std::uint32_t(std::abs(e));
  v.dif[1] += std::uint32_t(std::abs(e - d1));
  v.dif[2] += std::uint32_t(std::abs(e + d1));
  v.dif[3] += std::uint32_t(std::abs(e - d2));
  v.dif[4] += std::uint32_t(std::abs(e + d2));
  v.dif[5] += std::uint32_t(std::abs(e - d3));
  v.dif[6] += std::uint32_t(std::abs(e + d3));
  v.dif[7] += std::uint32_t(std::abs(e - d4));
  v.dif[8] += std::uint32_t(std::abs(e + d4));
  v.dif[9] += std::uint32_t(std::abs(e - cd));
  v.dif[10] += std::uint32_t(std::abs(e + cd));
  state.channelDelta = v.lastDelta = int(std::int8_t(std::uint8_t(ch - v.lastByte)));
  v.lastByte = ch;

  if ((v.byteCount & 0x1F) == 0) {
    int m = 0;
    std::uint32_t least = v.dif[0];
    for (int i = 1; i < 11; ++i)
      if (v.dif[i] < least) {
        least = v.dif[i];
        m = i;
      }
    for (std::uint32_t& x : v.dif) x = 0;
    if (m > 0) {
      int& w = v.k[(m - 1) / 2];
      if (m & 1) {
        if (w >= -16) --w;
      } else {
        if (w < 16) ++w;
      }
    }
  }
  if (++state.currentChannel == channels) state.currentChannel = 0;
  return delta;
}
