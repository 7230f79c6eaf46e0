#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace dorvel::test {

// A fresh folder and dorvel-cli run against it, its output (stdout and
// stderr together) kept in `out`. The test program must define DORVEL_CLI.
class CliTest : public testing::Test {
  protected:
    TempFolder dir;
    std::string out;

    // Runs `dorvel-cli --data <folder> args`; the folder defaults to `dir` itself.
    int Cli(const std::string& args, const std::string& dataFolder = {}) {
        return RunCommand(std::string(DORVEL_CLI) + " --data " +
                              (dataFolder.empty() ? dir.path() : dataFolder) + " " + args + " 2>&1",
                          &out);
    }
};

// The text of a PDF as pdftotext gives it; empty when it cannot be read.
inline std::string PdfText(const std::string& path, bool layout = false) {
    std::string text;
    if (RunCommand(std::string("pdftotext ") + (layout ? "-layout '" : "'") + path + "' -",
                   &text) != 0)
        return {};
    return text;
}

}  // namespace dorvel::test
