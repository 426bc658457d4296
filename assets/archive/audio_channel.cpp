#include "assets/archive/audio_channel.h"

#include <cstdlib>

namespace {

void lower(int& weight) {
  if (weight >= -16) --weight;
}

void raise(int& weight) {
  if (weight < 16) ++weight;
}

}  // namespace

int AudioChannel::predict(int channelDelta) {
  ++byteCount;
  d4 = d3;
  d3 = d2;
  d2 = lastDelta - d1;
  d1 = lastDelta;

  const int predicted = 8 * lastByte + k1 * d1 + k2 * d2 + k3 * d3 + k4 * d4 + k5 * channelDelta;
  return (predicted >> 3) & 0xFF;
}

void AudioChannel::update(int symbol, int value, int& channelDelta) {
  int error = static_cast<std::int8_t>(static_cast<std::uint8_t>(symbol)) * 8;
  dif[0] += static_cast<std::uint32_t>(std::abs(error));
  dif[1] += static_cast<std::uint32_t>(std::abs(error - d1));
  dif[2] += static_cast<std::uint32_t>(std::abs(error + d1));
  dif[3] += static_cast<std::uint32_t>(std::abs(error - d2));
  dif[4] += static_cast<std::uint32_t>(std::abs(error + d2));
  dif[5] += static_cast<std::uint32_t>(std::abs(error - d3));
  dif[6] += static_cast<std::uint32_t>(std::abs(error + d3));
  dif[7] += static_cast<std::uint32_t>(std::abs(error - d4));
  dif[8] += static_cast<std::uint32_t>(std::abs(error + d4));
  dif[9] += static_cast<std::uint32_t>(std::abs(error - channelDelta));
  dif[10] += static_cast<std::uint32_t>(std::abs(error + channelDelta));

  channelDelta = lastDelta = static_cast<std::int8_t>(static_cast<std::uint8_t>(value - lastByte));
  lastByte = value;

  if (byteCount % 32 == 0) {
    int best = 0;
    for (int i = 1; i < 11; ++i)
      if (dif[i] < dif[best]) best = i;
    for (std::uint32_t& sum : dif) sum = 0;
    switch (best) {
      case 1:
        lower(k1);
        break;
      case 2:
        raise(k1);
        break;
      case 3:
        lower(k2);
        break;
      case 4:
        raise(k2);
        break;
      case 5:
        lower(k3);
        break;
      case 6:
        raise(k3);
        break;
      case 7:
        lower(k4);
        break;
      case 8:
        raise(k4);
        break;
      case 9:
        lower(k5);
        break;
      case 10:
        raise(k5);
        break;
      default:
        break;
    }
  }
}

std::uint8_t AudioChannel::decode(int symbol, int& channelDelta) {
  const int value = predict(channelDelta) - symbol;
  update(symbol, value, channelDelta);
  return static_cast<std::uint8_t>(value & 0xFF);
}
