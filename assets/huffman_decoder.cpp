#include "assets/huffman_decoder.h"

#include "assets/bit_input.h"

void HuffmanDecoder::build(const std::uint8_t* lengths, int count)
{
    if (count > maxSymbols)
        count = maxSymbols;
    alphabetSize_ = count;
    std::array<std::uint32_t, 16> lengthCount{};
    for (int i = 0; i < count; ++i)
        ++lengthCount[lengths[i] & 15];
    lengthCount[0] = 0;

    std::uint32_t code = 0;
    limit_[0] = 0;
    position_[0] = 0;
    for (int length = 1; length < 16; ++length) {
        code = 2 * (code + lengthCount[length]);
        std::uint32_t limit = code << (15 - length);
        limit_[length] = limit > 0xFFFF ? 0xFFFF : limit;
        position_[length] = position_[length - 1] + lengthCount[length - 1];
    }

    symbols_.fill(0);
    std::array<std::uint32_t, 16> next = position_;
    for (int symbol = 0; symbol < count; ++symbol) {
        int length = lengths[symbol] & 15;
        if (length != 0)
            symbols_[next[length]++] = static_cast<std::uint16_t>(symbol);
    }
}

int HuffmanDecoder::decode(BitInput& input) const
{
    std::uint32_t bits = input.peek() & 0xFFFE;
    int length = 1;
    while (length < 15 && bits >= limit_[length])
        ++length;
    input.skip(length);
    std::uint32_t index = position_[length] + ((bits - limit_[length - 1]) >> (16 - length));
    if (index >= static_cast<std::uint32_t>(alphabetSize_))
        index = 0;
    return symbols_[index];
}
