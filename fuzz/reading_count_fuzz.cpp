// Any bytes as a patient data file: counted straight from the file, as many
// readings as in the image the loader reads of it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "store/patient_data_file.h"
#include "store/patient_list.h"
#include "store/reading_count.h"

namespace {

// One scratch file for the whole run, removed at its end.
char scratch[] = "/tmp/fuzz_reading_count_XXXXXX";

const char* ScratchFile() {
    static const bool made = [] {
        const int fd = ::mkstemp(scratch);
        if (fd < 0)
            return false;
        ::close(fd);
        std::atexit([] { std::remove(scratch); });
        return true;
    }();
    return made ? scratch : nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace dorvel;
    const char* path = ScratchFile();
    std::FILE* file = path != nullptr ? std::fopen(path, "wb") : nullptr;
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    const FileReadingCount counted = CountFileReadings(path);
    if (counted.unreadable || counted.count != CountedReadings(ReadRecordFile(path).image))
        __builtin_trap();
    return 0;
}
