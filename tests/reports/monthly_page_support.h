#pragma once

// Patients and look-ups shared by the monthly report and graph tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "reports/recording_surface.h"
#include "reports/report_pages.h"
#include "support/records.h"

namespace dorvel::test {

// A patient's readings and the report data of the period ending on a date.
class Patient {
  public:
    Patient& Add(int year, int month, int day, int hour, int minute, int value, int marker = 0) {
        list_.push_back(
            ReadingFromRecord(StoredRecord(1, marker, year, month, day, hour, minute, value)));
        list_.Sort();
        return *this;
    }
    Patient& Add(const Date& d, int hour, int value) {
        return Add(d.year, d.month, d.day, hour, 0, value);
    }
    reports::ReportData Data(const UserSettings& s, const Date& selected) const {
        return reports::MakeReportData(list_, s, RunSettings{}, selected, selected);
    }
    reports::ReportData Data(const Date& selected) const { return Data(settings, selected); }

    UserSettings settings;  // those of the one-argument `Data`

  private:
    ReadingList list_;
};

// June 2011, a value in every group each day but the 15th, the evening meal
// on even days only, a control reading on the 20th:
//   02:00 60+d   06:00 100+d   09:00 150+d   11:30 90+d   14:00 130+d
//   16:00 170+d  18:00 210+d (even days)     20:00 200+d
inline Patient JunePatient() {
    Patient p;
    for (int d = 1; d <= 30; ++d) {
        if (d == 15)
            continue;
        static constexpr int kDaily[][3] = {{2, 0, 60},   {6, 0, 100},  {9, 0, 150},
                                            {11, 30, 90}, {14, 0, 130}, {20, 0, 200}};
        for (const auto& [hour, minute, base] : kDaily)
            p.Add(2011, 6, d, hour, minute, base + d);
        if (d % 2 == 0)
            p.Add(2011, 6, d, 16, 0, 170 + d).Add(2011, 6, d, 18, 0, 210 + d);
    }
    p.Add(2011, 6, 20, 8, 0, 100, 5);
    return p;
}
inline constexpr Date kJuneEnd{2011, 6, 30};

// The text drawn in exactly this box, or "<none>".
inline std::string TextIn(const reports::RecordingSurface& page, const reports::Rect& box) {
    for (const auto* op : page.Texts()) {
        if (op->rect == box)
            return op->text;
    }
    return "<none>";
}

// One line per mark: the reference form of a page.
inline std::string Dump(const reports::RecordingSurface& page) {
    std::ostringstream out;
    for (const auto& op : page.ops()) {
        const auto& r = op.rect;
        const reports::Color c =
            op.kind == reports::RecordingSurface::Kind::Text ? op.textColor : op.brush.color;
        out << static_cast<int>(op.kind) << " " << r.left << "," << r.top << " " << r.right << ","
            << r.bottom << " " << int{c.r} << "," << int{c.g} << "," << int{c.b};
        if (op.kind == reports::RecordingSurface::Kind::Text) {
            std::string text = op.text;
            for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at))
                text.replace(at, 1, "\\n");
            out << " " << op.font.height << " " << op.flags << " \"" << text << "\"";
        }
        out << "\n";
    }
    return out.str();
}

// The dump against its file in tests/data. After an intended change of the
// page, regenerate the file by running the test with DORVEL_UPDATE_REFERENCE=1
// and review its difference before committing it.
inline void ExpectReference(const std::string& dump, const std::string& name) {
    const std::string path = std::string(DORVEL_TEST_DATA) + "/" + name;
    if (std::getenv("DORVEL_UPDATE_REFERENCE") != nullptr)
        std::ofstream(path, std::ios::binary) << dump;
    std::ifstream in(path, std::ios::binary);
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(expected.str(), dump) << path;
}

// Runs of blanks as one, so lines of `pdftotext -layout` compare by their words.
inline std::string Words(const std::string& text) {
    std::string out;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            blank = !out.empty() && out.back() != '\n';
            continue;
        }
        if (blank && c != '\n')
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

}  // namespace dorvel::test
