// Any bytes as a patient data file: loaded, written back and merged.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "meter/received_data.h"
#include "store/file_io.h"
#include "store/patient_data_file.h"

namespace {
// A plain array, so the exit handler still finds it after the strings are gone.
char g_folder[] = "/tmp/dorvel-fuzz-XXXXXX";

const std::string& Folder() {
    static const std::string folder = [] {
        if (::mkdtemp(g_folder) == nullptr)
            std::abort();
        // The fuzzer ends through exit(); leave no folder behind.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(g_folder, ignored);
        });
        return std::string(g_folder);
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
