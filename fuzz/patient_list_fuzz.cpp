// Any bytes as a patient list image: the walk yields whole entries whose
// fields, put back together, are the start of the image (the last field
// may end at the end of the image).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/patient_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace dorvel;
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    std::string rebuilt;
    for (const PatientListEntry& entry : WalkPatientList(image)) {
        for (const std::string* field : {&entry.id, &entry.name, &entry.count, &entry.carer}) {
            if (field->find('\0') != std::string::npos)
                __builtin_trap();
            rebuilt += *field;
            rebuilt.push_back('\0');
        }
    }
    // The last field may end at the end of the image instead of a NUL.
    if (rebuilt.size() == image.size() + 1)
        rebuilt.pop_back();
    if (image.substr(0, rebuilt.size()) != rebuilt)
        __builtin_trap();
    const int counted = CountedReadings(image);
    if (counted < 0 || static_cast<size_t>(counted) > size / 22)
        __builtin_trap();
    return 0;
}
