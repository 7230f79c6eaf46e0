#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace dorvel::test {

// One 22-character meter record as the meter sends it.
std::string MeterRecord(int user, int marker, int yy, int month, int day, int hour, int minute,
                        int value, int temperature = 235, std::string_view tail = "00");

// One 22-character stored record.
std::string StoredRecord(int user, int marker, int year, int month, int day, int hour, int minute,
                         int value, int temperature = 235);

// A complete download reply in the 'S' header form (or the CR LF form).
std::string DownloadReply(const std::string& records, bool crlfHeader = false);

// `count` plausible meter records of a few users spread over the years
// before 2026, in the meter's order; duplicates possible when `seed` repeats.
std::string RandomMeterRecords(size_t count, uint32_t seed, int users = 2);

// `count` distinct stored records of one user, spread over `years` years up to 2026.
std::string RandomStoredRecords(size_t count, uint32_t seed, int user = 1, int years = 12);

}  // namespace dorvel::test
