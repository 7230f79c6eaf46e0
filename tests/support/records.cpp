#include "support/records.h"

#include <cstdio>
#include <set>

namespace dorvel::test {

std::string MeterRecord(int user, int marker, int yy, int month, int day, int hour, int minute,
                        int value, int temperature, std::string_view tail) {
    char text[64];
    std::snprintf(text, sizeof text, "%03d%d%02d%02d%02d%02d%02d%03d%03d", user, marker, yy, month,
                  day, hour, minute, value, temperature);
    return std::string(text) + std::string(tail);
}

std::string StoredRecord(int user, int marker, int year, int month, int day, int hour, int minute,
                         int value, int temperature) {
    char text[64];
    std::snprintf(text, sizeof text, "%03d%d%04d%02d%02d%02d%02d%03d%03d", user, marker, year,
                  month, day, hour, minute, value, temperature);
    return text;
}

std::string DownloadReply(const std::string& records, bool crlfHeader) {
    char header[32];
    const size_t count = records.size() / 22;
    if (crlfHeader) {
        std::snprintf(header, sizeof header, "%zu\r\n", count);
    } else {
        std::snprintf(header, sizeof header, "S%03zu\r\n", count);
    }
    return header + records;
}

std::string RandomMeterRecords(size_t count, uint32_t seed, int users) {
    std::mt19937 rng(seed);
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        const int user = static_cast<int>(rng() % static_cast<uint32_t>(users)) + 1;
        out += MeterRecord(user == users && users > 1 ? 121 : user, static_cast<int>(rng() % 6),
                           static_cast<int>(14 + rng() % 12), static_cast<int>(1 + rng() % 12),
                           static_cast<int>(1 + rng() % 28), static_cast<int>(rng() % 24),
                           static_cast<int>(rng() % 60), static_cast<int>(20 + rng() % 560),
                           static_cast<int>(150 + rng() % 200));
    }
    return out;
}

std::string RandomStoredRecords(size_t count, uint32_t seed, int user, int years) {
    std::mt19937 rng(seed);
    std::set<std::string> seen;
    std::string out;
    while (seen.size() < count) {
        std::string r =
            StoredRecord(user, static_cast<int>(rng() % 5),
                         2026 - static_cast<int>(rng() % static_cast<uint32_t>(years)),
                         static_cast<int>(1 + rng() % 12), static_cast<int>(1 + rng() % 28),
                         static_cast<int>(rng() % 24), static_cast<int>(rng() % 60),
                         static_cast<int>(40 + rng() % 300), 0);
        if (seen.insert(r).second)
            out += r;
    }
    return out;
}

}  // namespace dorvel::test
