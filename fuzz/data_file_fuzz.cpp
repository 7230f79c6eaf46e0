// Any bytes as a patient data file: loaded, written back and merged.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "meter/received_data.h"
#include "store/file_io.h"
#include "store/patient_data_file.h"

namespace {
const std::string& Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/dorvel-fuzz-XXXXXX";
        return std::string(::mkdtemp(pattern));
    }();
    return folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace dorvel;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = JoinPath(Folder(), "F.gdt");
    WriteFileAtomic(path, bytes);
    const ReadingList list = LoadReadings(Folder(), "F");
    std::string image;
    BuildRecordImage(list, image);
    if (image.size() != list.size() * 22)
        __builtin_trap();
    SaveReadings(Folder(), "F", list);
    WriteFileAtomic(path, bytes);
    ImportIntoPatient(Folder(), "F", std::string(bytes, 0, bytes.size() - bytes.size() % 22));
    return 0;
}
