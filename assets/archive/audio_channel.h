#pragma once

#include <cstdint>

// The predictor state of one interleaved audio channel. Each byte is predicted from the
// channel's last byte and last four deltas plus the delta of the previous byte of any channel;
// the packed symbol is the prediction error. Every 32 bytes the weight whose change would have
// given the smallest summed error is nudged by one.
class AudioChannel {
public:
    virtual ~AudioChannel() = default;

    // Decodes one packed symbol (0..255). channelDelta is shared by all channels.
    std::uint8_t decode(int symbol, int& channelDelta);

    int k1 = 0, k2 = 0, k3 = 0, k4 = 0, k5 = 0;
    int d1 = 0, d2 = 0, d3 = 0, d4 = 0;
    int lastDelta = 0;
    std::uint32_t dif[11] = {};
    std::uint32_t byteCount = 0;
    int lastByte = 0;
};
