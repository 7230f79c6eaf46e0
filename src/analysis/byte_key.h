#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dorvel {

// Packs the first N bytes of a fixed-width text field into one integer whose
// order is the byte-wise order of the text, so dates and times of stored
// records compare as the records do. Missing bytes count as 0.
template <typename Key, size_t N>
Key PackedBytes(std::string_view text) {
    static_assert(N <= sizeof(Key));
    Key key = 0;
    for (size_t i = 0; i < N; ++i) {
        const auto byte = i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
        key = static_cast<Key>((key << 8) | byte);
    }
    return key;
}

}  // namespace dorvel
