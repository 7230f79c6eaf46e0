// patients: rebuilds the patient list and prints it.
#include <ostream>

#include "cli.h"
#include "store/patient_list.h"
#include "store/text_encoding.h"

namespace dorvel::cli {

namespace {

// One field of a tab-separated line: UTF-8, with tabs and line breaks that a
// free text field may hold turned into blanks so a line stays one patient.
std::string LineField(std::string_view stored) {
    std::string text = Cp1252ToUtf8(stored);
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

}  // namespace

int RunPatients(Context& ctx, const Args& args) {
    if (!args.empty())
        return UsageError(ctx, "patients");
    const PatientListRebuild rebuild = RebuildPatientList(ctx.dataFolder);
    if (!rebuild.unreadable.empty()) {
        return Fail(ctx, "die Patientenliste kann nicht erstellt werden: " + rebuild.unreadable);
    }
    if (!rebuild.write.ok()) {
        return Fail(ctx, "die Patientenliste in " + ctx.dataFolder +
                             " kann nicht geschrieben werden: " + rebuild.write.detail);
    }
    for (const PatientListEntry& entry : WalkPatientList(rebuild.image.bytes)) {
        ctx.out << LineField(entry.id) << '\t' << LineField(entry.name) << '\t' << entry.count
                << '\t' << LineField(entry.carer) << '\n';
    }
    return kExitOk;
}

}  // namespace dorvel::cli
