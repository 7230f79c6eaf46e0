#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace dorvel::test {

// The expected files live in tests/data/export. After an intended change of
// a layout, regenerate them by running the tests with
//   DORVEL_UPDATE_REFERENCES=1 ctest --test-dir build/ci -R export
// and look at `git diff tests/data` before committing.
inline void ExpectReference(const std::string& name, const std::string& actual) {
    const std::string path = std::string(DORVEL_TEST_DATA) + "/export/" + name;
    if (std::getenv("DORVEL_UPDATE_REFERENCES") != nullptr) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << actual;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing reference file " << path;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual, expected.str()) << "differs from " << path;
}

}  // namespace dorvel::test
