#pragma once
// The predictor of one interleaved audio channel, shared by the unpacker and the packer. Each
// byte is predicted from the channel's last byte and last four deltas plus the delta of the
// previous byte of any channel; the packed symbol is the prediction error. Every 32 bytes the
// weight whose change would have given the smallest summed error is nudged by one.
#include <cstdint>

class AudioChannel {
 public:
  // The prediction (0..255) of the channel's next byte; advances the delta history, so it is
  // called once per byte and followed by update. channelDelta is shared by all channels.
  int predict(int channelDelta);
  // Takes in the byte that came out (`value`, the prediction minus `symbol`, before the low
  // eight bits are kept) with the packed symbol, and sets the shared delta.
  void update(int symbol, int value, int& channelDelta);

  // Decodes one packed symbol (0..255): predict, then update.
  std::uint8_t decode(int symbol, int& channelDelta);

 private:
  int k1 = 0, k2 = 0, k3 = 0, k4 = 0, k5 = 0;
  int d1 = 0, d2 = 0, d3 = 0, d4 = 0;
  int lastDelta = 0;
  std::uint32_t dif[11] = {};
  std::uint32_t byteCount = 0;
  int lastByte = 0;
};
