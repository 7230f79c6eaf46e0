#include "support/exchange_sort.h"

#include <cstring>

namespace dorvel::test {

std::string ExchangeSortRecords(std::string image) {
    constexpr size_t kSize = 22;
    const size_t n = image.size() / kSize;
    image.resize(n * kSize);
    char* base = image.data();
    for (size_t i = 0; i + 1 < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            char* a = base + i * kSize;
            char* b = base + j * kSize;
            const int order = std::memcmp(a, b, kSize);
            if (order > 0) {
                char temp[kSize];
                std::memcpy(temp, a, kSize);
                std::memcpy(a, b, kSize);
                std::memcpy(b, temp, kSize);
            } else if (order == 0) {
                std::memset(b, 'S', kSize);
            }
        }
    }
    const size_t cut = image.find_first_of("SZ");
    if (cut != std::string::npos)
        image.resize(cut);
    return image;
}

}  // namespace dorvel::test
