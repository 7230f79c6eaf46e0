// decode, import and readings: the meter's received data and a patient's file.
#include <ostream>

#include "cli.h"
#include "meter/messages.h"
#include "meter/protocol.h"
#include "meter/received_data.h"
#include "store/data_folder.h"
#include "store/file_io.h"
#include "store/patient_data_file.h"

namespace dorvel::cli {

int ReportReply(Context& ctx, const std::string& reply) {
    const ReplyVerdict verdict = ParseReply(reply);
    switch (verdict.kind) {
        case ReplyVerdict::Kind::Incomplete:
            ctx.err << "dorvel-cli: die Antwort des Messgeräts ist unvollständig\n";
            return kExitIncomplete;
        case ReplyVerdict::Kind::NoData:
            ctx.out << messages::kNoData << '\n';
            return kExitNoData;
        case ReplyVerdict::Kind::EraseAcknowledged:
            ctx.out << messages::kErased << '\n';
            return kExitErased;
        case ReplyVerdict::Kind::Complete:
            break;
    }
    const DecodeOutcome outcome = RecordDecoder(verdict.payload, verdict.count, ctx.dataFolder);
    if (outcome.kind == DecodeOutcome::Kind::CheckFailed) {
        ctx.out << kCheckFailedMessage << '\n';
        return kExitRejected;
    }
    if (outcome.kind == DecodeOutcome::Kind::WriteFailed)
        return Fail(ctx, outcome.detail);
    const std::string path = JoinPath(ctx.dataFolder, kDataFileName);
    const ReadResult data = ReadWholeFile(path);
    if (!data.ok())
        return Fail(ctx, "kann " + path + " nicht lesen: " + data.detail);
    for (const ReceivedUser& user : ListReceivedUsers(data.bytes)) {
        ctx.out << UserLabel(user.number) << '\t' << user.count << '\n';
    }
    return kExitOk;
}

int RunDecode(Context& ctx, const Args& args) {
    if (args.size() != 1)
        return UsageError(ctx, "decode");
    const ReadResult reply = ReadWholeFile(args[0]);
    if (!reply.ok())
        return Fail(ctx, "kann " + args[0] + " nicht lesen: " + reply.detail);
    return ReportReply(ctx, reply.bytes);
}

int RunImport(Context& ctx, const Args& args) {
    if (args.size() != 2)
        return UsageError(ctx, "import");
    const std::string& id = args[0];
    if (!RequireValidPatientId(ctx, id))
        return kExitError;
    const std::string& user = args[1];
    if (user != "GUEST" &&
        (user.size() != 3 || user.find_first_not_of("0123456789") != std::string::npos)) {
        return Fail(ctx, "Messgerät-Benutzer '" + user + "': drei Ziffern oder GUEST erwartet");
    }
    const std::string path = JoinPath(ctx.dataFolder, kDataFileName);
    const ReadResult data = ReadWholeFile(path);
    if (!data.ok())
        return Fail(ctx, "kann " + path + " nicht lesen: " + data.detail);
    const ImportOutcome outcome =
        ImportIntoPatient(ctx.dataFolder, id, SelectUserRecords(data.bytes, user));
    if (outcome.unsynced())
        return Fail(ctx, std::string(kImportUnsyncedMessage) + " (" + outcome.write.detail + ")");
    if (!outcome.ok()) {
        return Fail(ctx, "die Messwerte wurden nicht gespeichert: " + outcome.write.detail);
    }
    ctx.out << outcome.readingCount << '\n';
    return kExitOk;
}

int RunReadings(Context& ctx, const Args& args) {
    if (args.size() != 1)
        return UsageError(ctx, "readings");
    if (!RequireKnownPatient(ctx, args[0]))
        return kExitError;
    const RecordFile file =
        ReadRecordFile(PatientFilePath(ctx.dataFolder, args[0], kDataFileExtension));
    if (file.unreadable)
        return Fail(ctx, file.detail);
    for (const Reading& r : ReadingsFromImage(file.image)) {
        ctx.out << RecordFromReading(r) << '\n';
    }
    return kExitOk;
}

}  // namespace dorvel::cli
