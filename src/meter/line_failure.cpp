#include "line_failure.h"

#include <grp.h>
#include <sys/stat.h>

#include <vector>

#include "messages.h"

namespace dorvel {

const char* LineFailureName(LineFailure failure) {
    switch (failure) {
        case LineFailure::None:
            return "none";
        case LineFailure::NoDevice:
            return "no device";
        case LineFailure::NoAccess:
            return "no access";
        case LineFailure::Io:
            return "I/O";
        case LineFailure::Timeout:
            return "time-out";
        case LineFailure::Protocol:
            return "protocol";
        case LineFailure::DataFormat:
            return "data format";
        case LineFailure::Cancelled:
            return "cancelled";
    }
    return "?";
}

std::string DeviceGroup(const std::string& device) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0)
        return {};
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::to_string(st.st_gid);
    return found->gr_name;
}

std::string AccessHint(const std::string& device) {
    std::string group = DeviceGroup(device);
    if (group.empty() || group == "root")
        group = messages::kSerialGroup;
    std::string hint = messages::kNoAccessPrefix;
    hint += device;
    hint += messages::kNoAccessGroup;
    hint += group;
    hint += messages::kNoAccessSuffix;
    return hint;
}

}  // namespace dorvel
