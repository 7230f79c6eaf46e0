// stats: every statistic of a patient for the month that ends on a date.
#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "analysis/glucose_profile.h"
#include "analysis/statistics.h"
#include "cli.h"
#include "store/calendar.h"
#include "store/data_folder.h"
#include "store/patient_data_file.h"
#include "store/profile_file.h"
#include "store/user_settings.h"

namespace dorvel::cli {

namespace {

// Just enough JSON for one flat object of numbers, texts and number tables,
// one member per line.
class JsonObject {
  public:
    explicit JsonObject(std::ostream& out) : out_(out) { out_ << '{'; }
    ~JsonObject() { out_ << "\n}\n"; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    void Member(std::string_view name, int64_t value) {
        Name(name);
        out_ << value;
    }
    void Member(std::string_view name, std::string_view text) {
        Name(name);
        String(text);
    }
    template <typename T, size_t N>
    void Member(std::string_view name, const std::array<T, N>& values) {
        Name(name);
        Array(values);
    }
    // A member whose value is already written as JSON.
    void RawMember(std::string_view name, std::string_view json) {
        Name(name);
        out_ << json;
    }

  private:
    void Name(std::string_view name) {
        out_ << (first_ ? "\n  " : ",\n  ");
        first_ = false;
        String(name);
        out_ << ": ";
    }
    void String(std::string_view text) {
        out_ << '"';
        for (const char c : text) {
            if (c == '"' || c == '\\') {
                out_ << '\\' << c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                out_ << "\\u00" << kHex[(c >> 4) & 0xF] << kHex[c & 0xF];
            } else {
                out_ << c;
            }
        }
        out_ << '"';
    }
    void Array(int64_t value) { out_ << value; }
    template <typename T, size_t N>
    void Array(const std::array<T, N>& values) {
        out_ << '[';
        for (size_t i = 0; i < N; ++i) {
            if (i > 0)
                out_ << ", ";
            Array(values[i]);
        }
        out_ << ']';
    }

    std::ostream& out_;
    bool first_ = true;
};

// The patient's settings from the profile file; the defaults without one.
UserSettings PatientSettings(const Context& ctx, const std::string& id) {
    return ReadProfile(ctx.dataFolder, id).settings;
}

// A figure rounded half up to one decimal, as JSON writes the number;
// null where the figure does not exist.
std::string OneDecimalJson(std::optional<double> value) {
    if (!value)
        return "null";
    const int64_t tenths = TenthsHalfUp(*value);
    const int64_t magnitude = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." +
           std::to_string(magnitude % 10);
}

std::string WholeJson(std::optional<double> value) {
    return value ? std::to_string(RoundHalfUp(*value)) : "null";
}

// The hourly percentile `i` of the modal day: 24 integers, null for an hour
// without readings.
std::string HourlyPercentileJson(const GlucoseProfile& profile, size_t i) {
    std::string json = "[";
    for (size_t h = 0; h < profile.hours.size(); ++h) {
        const HourProfile& hour = profile.hours[h];
        json += h > 0 ? ", " : "";
        json += WholeJson(hour.count > 0 ? std::optional(hour.percentile[i]) : std::nullopt);
    }
    return json + "]";
}

void PrintGlucoseProfile(JsonObject& json, const GlucoseProfile& g) {
    static constexpr std::array<std::string_view, kConsensusRangeCount> kRangeNames = {
        "TirVeryLow", "TirLow", "TirTarget", "TirHigh", "TirVeryHigh"};
    for (size_t r = 0; r < kRangeNames.size(); ++r)
        json.Member(kRangeNames[r], g.rangeCount[r]);
    json.RawMember("ReadingsPerDay", OneDecimalJson(g.readingsPerDay));
    json.RawMember("PeriodCV", OneDecimalJson(g.cv));
    json.RawMember("Gmi", OneDecimalJson(g.gmi));
    json.RawMember("GmiMmolMol", WholeJson(g.GmiMmolPerMol()));
    std::array<int32_t, kHoursPerDay> counts{};
    for (size_t h = 0; h < counts.size(); ++h)
        counts[h] = g.hours[h].count;
    json.Member("HourlyCount", counts);
    static constexpr std::array<std::string_view, kProfilePercentiles.size()> kPercentileNames = {
        "HourlyP5", "HourlyP25", "HourlyP50", "HourlyP75", "HourlyP95"};
    for (size_t i = 0; i < kPercentileNames.size(); ++i)
        json.RawMember(kPercentileNames[i], HourlyPercentileJson(g, i));
}

void PrintStatistics(std::ostream& out, const Statistics& s, const GlucoseProfile& profile) {
    JsonObject json(out);
    json.Member("PeriodStart", FormatIsoDate(s.analysisPeriod.start));
    json.Member("PeriodEnd", FormatIsoDate(s.analysisPeriod.end));

    const OverallStats& o = s.overall;
    json.Member("ReadingCount", o.readingCount);
    json.Member("ControlCount", o.controlCount);
    json.Member("OverallMean", o.overallMean);
    json.Member("OverallMax", o.overallMax);
    json.Member("OverallMin", o.overallMin);
    json.Member("OverallSD", o.overallSD);
    json.Member("OverallDays", o.overallDays);
    json.Member("OverallDailyMean", o.overallDailyMean);
    json.Member("OverallLowCount", o.overallLowCount);
    json.Member("OverallTargetCount", o.overallTargetCount);
    json.Member("OverallHighCount", o.overallHighCount);
    json.Member("OverallSlotLowCount", o.overallSlotLowCount);
    json.Member("OverallSlotTargetCount", o.overallSlotTargetCount);
    json.Member("OverallSlotHighCount", o.overallSlotHighCount);

    const PeriodStats& p = s.period;
    json.Member("PeriodDays", p.periodDays);
    json.Member("PeriodReadingCount", p.periodReadingCount);
    json.Member("PeriodReadingDays", p.periodReadingDays);
    json.Member("PeriodMean", p.periodMean);
    json.Member("PeriodDailyMean", p.periodDailyMean);
    json.Member("PeriodSD", p.periodSD);
    json.Member("PeriodMax", p.periodMax);
    json.Member("PeriodMin", p.periodMin);
    json.Member("PeriodLowCount", p.periodLowCount);
    json.Member("PeriodTargetCount", p.periodTargetCount);
    json.Member("PeriodHighCount", p.periodHighCount);
    json.Member("PeriodSlotLowCount", p.periodSlotLowCount);
    json.Member("PeriodSlotTargetCount", p.periodSlotTargetCount);
    json.Member("PeriodSlotHighCount", p.periodSlotHighCount);

    const PerDayStats& d = s.perDay;
    json.Member("DayCount", d.dayCount);
    json.Member("DayMean", d.dayMean);
    json.Member("DayCombinedCount", d.dayCombinedCount);
    json.Member("DayCombinedMean", d.dayCombinedMean);
    json.Member("DaySeparateCount", d.daySeparateCount);
    json.Member("DaySeparateMean", d.daySeparateMean);

    const PerSlotStats& k = s.perSlot;
    json.Member("CombinedCount", k.combinedCount);
    json.Member("CombinedMean", k.combinedMean);
    json.Member("CombinedSD", k.combinedSD);
    json.Member("SeparateCount", k.separateCount);
    json.Member("SeparateMean", k.separateMean);
    json.Member("SeparateSD", k.separateSD);

    PrintGlucoseProfile(json, profile);
}

}  // namespace

int RunStats(Context& ctx, const Args& args) {
    std::string id;
    Date date = ctx.clock.Today();
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--date" && i + 1 < args.size()) {
            const auto parsed = ParseIsoDate(args[++i]);
            if (!parsed)
                return Fail(ctx, "--date: kein Datum (YYYY-MM-DD): " + args[i]);
            date = *parsed;
        } else if (id.empty() && !args[i].starts_with("--")) {
            id = args[i];
        } else {
            return UsageError(ctx, "stats");
        }
    }
    if (id.empty())
        return UsageError(ctx, "stats");
    if (!RequireKnownPatient(ctx, id))
        return kExitError;
    const RecordFile file = ReadRecordFile(PatientFilePath(ctx.dataFolder, id, kDataFileExtension));
    if (file.unreadable)
        return Fail(ctx, file.detail);
    const ReadingList readings = ReadingsFromImage(file.image);
    const Statistics stats = Recompute(readings, PatientSettings(ctx, id), date);
    PrintStatistics(ctx.out, stats, ComputeGlucoseProfile(readings, stats.analysisPeriod));
    return kExitOk;
}

}  // namespace dorvel::cli
