#include "profile_file.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "data_folder.h"
#include "decimal.h"
#include "folder_lock.h"
#include "text_encoding.h"

namespace dorvel {

namespace {

namespace cap = profile_capacity;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A decimal number as "%d" reads it: leading blanks, an optional sign, at
// least one digit. Trailing bytes of the field are ignored.
std::optional<int> FieldNumber(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && IsBlank(field[i]))
        ++i;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        ++i;
    if (i >= field.size() || field[i] < '0' || field[i] > '9')
        return std::nullopt;
    return LeadingInt(field);
}

// Reads 1..maxDigits digits at `pos`.
std::optional<int> Digits(std::string_view text, size_t& pos, size_t maxDigits) {
    const size_t start = pos;
    int value = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start)
        return std::nullopt;
    return value;
}

// The profile's fields in file order. Reader and writer both walk this one
// list, so the two can never disagree about the layout.
template <class Visitor>
void VisitFields(PatientProfile& p, UserSettings& s, Visitor& v) {
    v.Text(p.name, cap::kName);
    v.Code(p.sex, 0, 1, 0);
    v.DateField(p.birthDate, Date{1900, 1, 1});
    v.Text(p.telephone, cap::kTelephone);
    v.Text(p.mobile, cap::kTelephone);
    v.Text(p.email, cap::kEmail);
    v.Text(p.fax, cap::kTelephone);
    v.Text(p.address, cap::kAddress);
    v.Text(p.careHome, cap::kCareHome);
    v.Text(p.remark, cap::kRemark);
    v.Text(p.room, cap::kRoom);
    v.Text(p.bed, cap::kRoom);
    v.Text(p.carer, cap::kCarer);
    v.Text(p.carerRemark, cap::kRemark);
    v.Text(p.physician, cap::kRoom);
    v.Text(p.hospital, cap::kRoom);
    v.Text(p.physicianTelephone, cap::kTelephone);
    v.Text(p.physicianMobile, cap::kTelephone);
    v.Text(p.physicianEmail, cap::kEmail);
    v.Text(p.physicianFax, cap::kTelephone);
    v.Code(p.diabetesType, 0, 3, 0);
    v.DateField(p.diagnosisDate, Date{2002, 1, 1});
    v.Text(p.complications, cap::kComplications);
    v.Text(p.diagnosisComments, cap::kRemark);
    v.Code(p.treatDiet, 0, 1, 0);
    v.Code(p.treatSport, 0, 1, 0);
    v.Code(p.treatInsulinInjection, 0, 1, 0);
    v.Code(p.treatInsulinPump, 0, 1, 0);
    v.Code(p.treatOral, 0, 1, 0);
    v.Code(p.treatOther, 0, 1, 0);
    v.Text(p.treatmentComments, cap::kRemark);
    v.Code(s.dateFormat, 0, 2, 2);
    v.Code(s.timeFormat, 0, 1, 0);
    v.Code(s.separateMeals, 0, 1, 1);
    v.DisplayFormatsRead(s);
    const UserSettings defaults;
    for (int i = 0; i < kSlotCount; ++i)
        v.TimeField(s.slotStart[i], defaults.slotStart[i]);
    v.Code(s.glucoseUnit, 0, 1, 0);
    v.Target(s.beforeMeal.low, defaults.beforeMeal.low);
    v.Target(s.beforeMeal.high, defaults.beforeMeal.high);
    v.Target(s.afterMeal.low, defaults.afterMeal.low);
    v.Target(s.afterMeal.high, defaults.afterMeal.high);
    v.Target(s.overall.low, defaults.overall.low);
    v.Target(s.overall.high, defaults.overall.high);
}

class FieldReader {
  public:
    explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}

    void Text(std::string& field, size_t capacity) {
        const auto raw = Next();
        if (!raw)
            return;
        if (raw->size() > capacity - 1) {
            overlong_ = true;
            field.assign(raw->substr(0, capacity - 1));
        } else {
            field.assign(*raw);
        }
    }
    void Code(int& field, int low, int high, int fallback) {
        const auto raw = Next();
        if (!raw)
            return;
        const auto value = FieldNumber(*raw);
        field = value && *value >= low && *value <= high ? *value : fallback;
    }
    void Target(int& field, int fallback) {
        const auto raw = Next();
        if (!raw)
            return;
        field = FieldNumber(*raw).value_or(fallback);
    }
    void DateField(Date& field, Date fallback) {
        const auto raw = Next();
        if (raw && !ParseProfileDate(*raw, &field))
            field = fallback;
    }
    void TimeField(TimeOfDay& field, TimeOfDay fallback) {
        const auto raw = Next();
        if (raw && !ParseProfileTime(*raw, &field))
            field = fallback;
    }
    // Whatever an existing profile holds, it is shown with day-first dates
    // and 24-hour times.
    void DisplayFormatsRead(UserSettings& s) {
        s.dateFormat = 2;
        s.timeFormat = 1;
    }

    int fieldsPresent() const { return fields_; }
    bool overlong() const { return overlong_; }

  private:
    // The next field up to its NUL (or the end of the file); nothing once
    // the file is used up, so that field keeps its default.
    std::optional<std::string_view> Next() {
        if (pos_ >= bytes_.size())
            return std::nullopt;
        size_t end = bytes_.find('\0', pos_);
        if (end == std::string_view::npos)
            end = bytes_.size();
        const std::string_view field = bytes_.substr(pos_, end - pos_);
        pos_ = end + 1;
        ++fields_;
        return field;
    }

    std::string_view bytes_;
    size_t pos_ = 0;
    int fields_ = 0;
    bool overlong_ = false;
};

class FieldWriter {
  public:
    void Text(const std::string& field, size_t capacity) {
        // A NUL would end the field early and shift every later one, and a
        // longer text would not read back whole: neither may reach the file.
        std::string_view text = field;
        text = text.substr(0, text.find('\0'));
        Put(text.substr(0, capacity - 1));
    }
    void Code(int field, int, int, int) { Put(std::to_string(field)); }
    void Target(int field, int) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%3d", field);
        Put(buffer);
    }
    void DateField(const Date& field, Date) {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", field.year, field.month, field.day);
        Put(buffer);
    }
    void TimeField(const TimeOfDay& field, TimeOfDay) {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", field.hour, field.minute,
                      field.second);
        Put(buffer);
    }
    void DisplayFormatsRead(const UserSettings&) {}

    std::string Finish() { return std::move(out_); }

  private:
    void Put(std::string_view text) {
        if (fields_ > 0)
            out_.push_back('\0');
        out_.append(text);
        ++fields_;
    }

    std::string out_;
    int fields_ = 0;
};

// Why an ID cannot be removed safely: it names several files that differ
// only in letter case. Empty when every file it reaches is its own.
std::string CaseClash(const std::string& dataFolder, std::string_view patientId) {
    std::string clashing;
    for (std::string_view extension : {kProfileExtension, kDataFileExtension}) {
        const std::vector<std::string> names = PatientFileNames(dataFolder, patientId, extension);
        if (names.size() < 2)
            continue;
        for (const std::string& name : names) {
            if (!clashing.empty())
                clashing += ", ";
            clashing += Cp1252ToUtf8(name);
        }
    }
    if (clashing.empty())
        return {};
    return "Zur Patienten-ID " + Cp1252ToUtf8(patientId) +
           " gibt es mehrere Dateien, die sich nur in der Groß-/Kleinschreibung "
           "unterscheiden: " +
           clashing +
           ". Es wurde nichts gelöscht; bitte die Dateien im Datenordner so umbenennen, "
           "dass jeder Patient eine eigene ID hat.";
}

}  // namespace

bool ParseProfileDate(std::string_view text, Date* date) {
    text = TrimBlanks(text);
    size_t pos = 0;
    Date d;
    const auto first = Digits(text, pos, 4);
    if (!first)
        return false;
    if (pos < text.size() && text[pos] == '-' && pos == 4) {
        ++pos;
        const auto month = Digits(text, pos, 2);
        if (!month || pos >= text.size() || text[pos] != '-')
            return false;
        ++pos;
        const auto day = Digits(text, pos, 2);
        if (!day)
            return false;
        d = {*first, *month, *day};
    } else if (pos < text.size() && text[pos] == '.' && pos <= 2) {
        ++pos;
        const auto month = Digits(text, pos, 2);
        if (!month || pos >= text.size() || text[pos] != '.')
            return false;
        ++pos;
        const size_t yearStart = pos;
        const auto year = Digits(text, pos, 4);
        if (!year || pos - yearStart != 4)
            return false;
        d = {*year, *month, *first};
    } else {
        return false;
    }
    if (pos != text.size() || d.year < 100 || !IsValidDate(d))
        return false;
    *date = d;
    return true;
}

bool ParseProfileTime(std::string_view text, TimeOfDay* time) {
    text = TrimBlanks(text);
    size_t pos = 0;
    const auto hour = Digits(text, pos, 2);
    if (!hour || pos >= text.size() || text[pos] != ':')
        return false;
    ++pos;
    size_t start = pos;
    const auto minute = Digits(text, pos, 2);
    if (!minute || pos - start != 2)
        return false;
    int second = 0;
    if (pos < text.size()) {
        if (text[pos] != ':')
            return false;
        ++pos;
        start = pos;
        const auto s = Digits(text, pos, 2);
        if (!s || pos - start != 2 || pos != text.size())
            return false;
        second = *s;
    }
    const TimeOfDay t{*hour, *minute, second};
    if (!IsValidTime(t))
        return false;
    *time = t;
    return true;
}

ProfileRead ParseProfile(std::string_view bytes) {
    ProfileRead read;
    read.found = true;
    FieldReader reader(bytes);
    VisitFields(read.profile, read.settings, reader);
    read.fieldsPresent = reader.fieldsPresent();
    read.overlong = reader.overlong();
    return read;
}

std::string FormatProfile(const PatientProfile& profile, const UserSettings& settings) {
    // The visitor takes mutable references for the reader's sake; the
    // writer only looks.
    PatientProfile p = profile;
    UserSettings s = settings;
    FieldWriter writer;
    VisitFields(p, s, writer);
    return writer.Finish();
}

ProfileRead ReadProfile(const std::string& dataFolder, std::string_view patientId) {
    if (auto problem = PatientIdProblem(patientId)) {
        ProfileRead read;
        read.problem = std::move(*problem);
        return read;
    }
    const ReadResult file =
        ReadWholeFile(PatientFilePath(dataFolder, patientId, kProfileExtension));
    if (file.status == ReadStatus::Missing)
        return {};
    if (file.status == ReadStatus::Failed) {
        ProfileRead read;
        read.found = true;
        read.unreadable = true;
        read.problem = file.detail;
        return read;
    }
    return ParseProfile(file.bytes);
}

WriteResult WriteProfile(const std::string& dataFolder, std::string_view patientId,
                         const PatientProfile& profile, const UserSettings& settings) {
    if (auto problem = PatientIdProblem(patientId))
        return {WriteStatus::Failed, *problem};
    if (!EnsureDataFolder(dataFolder))
        return {WriteStatus::Failed, dataFolder + ": cannot create"};
    DataFolderLock lock(dataFolder);
    if (!lock.locked())
        return {WriteStatus::Failed, lock.problem()};
    return WriteFileAtomic(PatientFilePath(dataFolder, patientId, kProfileExtension),
                           FormatProfile(profile, settings));
}

WriteResult RemovePatientFiles(const std::string& dataFolder, std::string_view patientId) {
    if (auto problem = PatientIdProblem(patientId))
        return {WriteStatus::Failed, *problem};
    DataFolderLock lock(dataFolder);
    if (!lock.locked())
        return {WriteStatus::Failed, lock.problem()};
    // The path lookup would pick one of several files at random: removing
    // it could take another patient's profile or readings.
    if (std::string clash = CaseClash(dataFolder, patientId); !clash.empty())
        return {WriteStatus::Failed, std::move(clash)};
    const std::string profile = PatientFilePath(dataFolder, patientId, kProfileExtension);
    if (!FileExists(profile))
        return {};
    const std::string data = PatientFilePath(dataFolder, patientId, kDataFileExtension);
    // A write-protected file stands for a read-only one, which is not deleted either.
    if (IsReadOnlyFile(profile) || IsReadOnlyFile(data))
        return {WriteStatus::ReadOnly, {}};
    if (!RemoveFile(data))
        return {WriteStatus::Failed, data + ": kann nicht gelöscht werden"};
    if (!RemoveFile(profile))
        return {WriteStatus::Failed, profile + ": kann nicht gelöscht werden"};
    return {};
}

}  // namespace dorvel
