#pragma once

#include <string>

namespace dorvel::test {

// The straightforward exchange sort the record files were first written
// with: quadratic, duplicates overwritten with a record of 22 'S', the result
// cut at the first 'S' or 'Z'. Kept as the reference the fast sort must match
// and as the baseline of the benchmarks.
std::string ExchangeSortRecords(std::string image);

}  // namespace dorvel::test
