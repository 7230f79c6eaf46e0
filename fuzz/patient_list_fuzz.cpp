// Any bytes as a patient list image: the walk yields one entry per four NUL
// bytes, whose fields, put back together, are the start of the image; a
// data file image counts no more readings than it has whole records.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/patient_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace dorvel;
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    std::string rebuilt;
    const auto entries = WalkPatientList(image);
    if (entries.size() != static_cast<size_t>(std::count(image.begin(), image.end(), '\0')) / 4)
        __builtin_trap();
    for (const PatientListEntry& entry : entries) {
        for (const std::string* field : {&entry.id, &entry.name, &entry.count, &entry.carer}) {
            if (field->find('\0') != std::string::npos)
                __builtin_trap();
            rebuilt += *field;
            rebuilt.push_back('\0');
        }
    }
    if (image.substr(0, rebuilt.size()) != rebuilt)
        __builtin_trap();
    const int counted = CountedReadings(image);
    if (counted < 0 || static_cast<size_t>(counted) > size / 22)
        __builtin_trap();
    return 0;
}
