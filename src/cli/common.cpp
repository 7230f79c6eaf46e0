#include <ostream>

#include "cli.h"
#include "store/data_folder.h"
#include "store/file_io.h"

namespace dorvel::cli {

int Fail(Context& ctx, const std::string& message) {
    ctx.err << "dorvel-cli: " << message << '\n';
    return kExitError;
}

bool RequireValidPatientId(Context& ctx, const std::string& id) {
    if (auto problem = PatientIdProblem(id)) {
        Fail(ctx, "'" + id + "': " + *problem);
        return false;
    }
    return true;
}

bool RequireKnownPatient(Context& ctx, const std::string& id) {
    if (!RequireValidPatientId(ctx, id))
        return false;
    if (FileExists(PatientFilePath(ctx.dataFolder, id, kProfileExtension)) ||
        FileExists(PatientFilePath(ctx.dataFolder, id, kDataFileExtension))) {
        return true;
    }
    // A folder that cannot be read hides every patient; say so rather than
    // call the patient unknown.
    if (auto problem = FolderProblem(ctx.dataFolder)) {
        Fail(ctx, *problem);
        return false;
    }
    Fail(ctx, "unbekannter Patient '" + id + "' in " + ctx.dataFolder);
    return false;
}

}  // namespace dorvel::cli
