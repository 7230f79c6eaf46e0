// Any bytes as a profile file. Whatever is read must survive a write and a
// second read unchanged: the reader never yields a value the writer cannot store.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace dorvel;
    const ProfileRead first =
        ParseProfile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (first.fieldsPresent > kProfileFieldCount || first.settings.dateFormat != 2)
        __builtin_trap();
    const ProfileRead second = ParseProfile(FormatProfile(first.profile, first.settings));
    if (second.fieldsPresent != kProfileFieldCount || second.overlong ||
        !(second.profile == first.profile) || !(second.settings == first.settings)) {
        __builtin_trap();
    }
    return 0;
}
