#include "assets/archive/audio_channel.h"

namespace {

void lower(int& weight) {
  if (weight >= -16) --weight;
}

void raise(int& weight) {
  if (weight < 16) ++weight;
}

}  // namespace

void AudioChannel::adjustWeights() {
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
  int* weights[5] = {&k1, &k2, &k3, &k4, &k5};
  // 1 lowers K1, 2 raises it, 3 and 4 do the same for K2, and so on; 0 changes nothing.
  if (best != 0) {
    int& weight = *weights[(best - 1) / 2];
    if (best % 2 == 1)
      lower(weight);
    else
      raise(weight);
  }
}
