#pragma once
// The predictor of one interleaved audio channel, shared by the unpacker and the packer. Each
// byte is predicted from the channel's last byte and last four deltas plus the delta of the
// previous byte of any channel; the packed symbol is the prediction error. Every 32 bytes the
// weight whose change would have given the smallest summed error is nudged by one.
//
// Eight of the eleven error sums are kept in two four-lane vectors, so each byte adds them
// without a branch; the sums restart every 32 bytes and stay far below 2^31, so lanes may be
// signed.
#include <cstdint>

class AudioChannel {
 public:
  // The prediction (0..255) of the channel's next byte; advances the delta history, so it is
  // called once per byte and followed by update. channelDelta is shared by all channels.
  int predict(int channelDelta) {
    ++byteCount;
    d4 = d3;
    d3 = d2;
    d2 = lastDelta - d1;
    d1 = lastDelta;
    const int predicted = 8 * lastByte + k1 * d1 + k2 * d2 + k3 * d3 + k4 * d4 + k5 * channelDelta;
    return (predicted >> 3) & 0xFF;
  }

  // Takes in the byte that came out (`value`, the prediction minus `symbol`, before the low
  // eight bits are kept) with the packed symbol, and sets the shared delta.
  void update(int symbol, int value, int& channelDelta) {
    const int error = static_cast<std::int8_t>(static_cast<std::uint8_t>(symbol)) * 8;
    // Lanes of `minus` hold the sums 1, 3, 5, 7 (|error - D1..D4|), lanes of `plus` the sums
    // 2, 4, 6, 8 (|error + D1..D4|); sums 0, 9 and 10 are plain integers.
    const Lanes e = {error, error, error, error};
    const Lanes d = {d1, d2, d3, d4};
    minus += absolute(e - d);
    plus += absolute(e + d);
    dif0 += static_cast<std::uint32_t>(error < 0 ? -error : error);
    const int low = error - channelDelta;
    const int high = error + channelDelta;
    dif9 += static_cast<std::uint32_t>(low < 0 ? -low : low);
    dif10 += static_cast<std::uint32_t>(high < 0 ? -high : high);

    channelDelta = lastDelta =
        static_cast<std::int8_t>(static_cast<std::uint8_t>(value - lastByte));
    lastByte = value;
    if ((byteCount & 31) == 0) adjustWeights();
  }

  // Decodes one packed symbol (0..255): predict, then update.
  std::uint8_t decode(int symbol, int& channelDelta) {
    const int value = predict(channelDelta) - symbol;
    update(symbol, value, channelDelta);
    return static_cast<std::uint8_t>(value & 0xFF);
  }

 private:
  typedef int Lanes __attribute__((vector_size(16)));
  static Lanes absolute(Lanes v) {
    const Lanes sign = v >> 31;
    return (v ^ sign) - sign;
  }
  // Inline, so that a predictor held in a local stays in registers across the loop.
  void adjustWeights() {
    const std::uint32_t dif[11] = {dif0,
                                   static_cast<std::uint32_t>(minus[0]),
                                   static_cast<std::uint32_t>(plus[0]),
                                   static_cast<std::uint32_t>(minus[1]),
                                   static_cast<std::uint32_t>(plus[1]),
                                   static_cast<std::uint32_t>(minus[2]),
                                   static_cast<std::uint32_t>(plus[2]),
                                   static_cast<std::uint32_t>(minus[3]),
                                   static_cast<std::uint32_t>(plus[3]),
                                   dif9,
                                   dif10};
    int best = 0;
    for (int i = 1; i < 11; ++i)
      if (dif[i] < dif[best]) best = i;
    minus = Lanes{};
    plus = Lanes{};
    dif0 = dif9 = dif10 = 0;
    // 1 lowers K1, 2 raises it, 3 and 4 do the same for K2, and so on; 0 changes nothing.
    // Weights stay within -17..16.
    if (best == 0) return;
    const bool down = best % 2 == 1;
    auto nudge = [down](int w) { return down ? (w >= -16 ? w - 1 : w) : (w < 16 ? w + 1 : w); };
    switch ((best - 1) / 2) {
      case 0:
        k1 = nudge(k1);
        break;
      case 1:
        k2 = nudge(k2);
        break;
      case 2:
        k3 = nudge(k3);
        break;
      case 3:
        k4 = nudge(k4);
        break;
      default:
        k5 = nudge(k5);
        break;
    }
  }

  int k1 = 0, k2 = 0, k3 = 0, k4 = 0, k5 = 0;
  int d1 = 0, d2 = 0, d3 = 0, d4 = 0;
  int lastDelta = 0;
  Lanes minus = {}, plus = {};
  std::uint32_t dif0 = 0, dif9 = 0, dif10 = 0;
  std::uint32_t byteCount = 0;
  int lastByte = 0;
};
