// Any bytes as a patient data file: loaded, written back and merged.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
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
    const std::string before = ReadRecordFile(path).image;
    if (!ImportIntoPatient(Folder(), "F", std::string(bytes, 0, bytes.size() - bytes.size() % 22))
             .ok())
        return 0;
    // No stored record disappears through an import, whatever it holds.
    const std::string after = ReadRecordFile(path).image;
    std::set<std::string_view> kept;
    for (size_t pos = 0; pos + 22 <= after.size(); pos += 22)
        kept.insert(std::string_view(after).substr(pos, 22));
    for (size_t pos = 0; pos + 22 <= before.size(); pos += 22) {
        if (kept.count(std::string_view(before).substr(pos, 22)) == 0)
            __builtin_trap();
    }
    return 0;
}
