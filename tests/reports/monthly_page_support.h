#pragma once

// Patients and look-ups shared by the logbook and summary tests.
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
    reports::ReportData Data(const UserSettings& settings, const Date& selected) const {
        return reports::MakeReportData(list_, settings, RunSettings{}, selected, selected);
    }
    const ReadingList& list() const { return list_; }

  private:
    ReadingList list_;
};

// June 2011, one row per day with a value in every group, the evening meal
// only on even days, nothing on the 15th, a control reading on the 20th:
//   02:00 60+d   06:00 100+d   09:00 150+d   11:30 90+d   14:00 130+d
//   16:00 170+d  18:00 210+d (even days)     20:00 200+d
inline Patient JunePatient() {
    Patient p;
    for (int d = 1; d <= 30; ++d) {
        if (d == 15)
            continue;
        p.Add(2011, 6, d, 2, 0, 60 + d).Add(2011, 6, d, 6, 0, 100 + d);
        p.Add(2011, 6, d, 9, 0, 150 + d).Add(2011, 6, d, 11, 30, 90 + d);
        p.Add(2011, 6, d, 14, 0, 130 + d).Add(2011, 6, d, 20, 0, 200 + d);
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

// One line per mark, stable enough to keep as a reference file.
inline std::string Dump(const reports::RecordingSurface& page) {
    using Kind = reports::RecordingSurface::Kind;
    std::ostringstream out;
    const auto rgb = [](reports::Color c) {
        return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
    };
    for (const auto& op : page.ops()) {
        const auto& r = op.rect;
        const std::string box = std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                                std::to_string(r.right) + "," + std::to_string(r.bottom);
        if (op.kind == Kind::Rectangle) {
            out << "rect " << box << " fill " << (op.brush.hollow ? "none" : rgb(op.brush.color))
                << "\n";
        } else if (op.kind == Kind::Line) {
            out << "line " << box << "\n";
        } else if (op.kind == Kind::Text) {
            std::string text = op.text;
            for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at))
                text.replace(at, 1, "\\n");
            out << "text " << box << " " << op.font.face << " " << op.font.height << " "
                << rgb(op.textColor) << " flags " << op.flags << " \"" << text << "\"\n";
        }
    }
    return out.str();
}

// Compares a dump with its reference file in tests/data. After an intended
// change of a page, regenerate the file by running the test with
// DORVEL_UPDATE_REFERENCE=1 and review the difference before committing it.
inline ::testing::AssertionResult MatchesReference(const std::string& dump,
                                                   const std::string& name) {
    const std::string path = std::string(DORVEL_TEST_DATA) + "/" + name;
    if (std::getenv("DORVEL_UPDATE_REFERENCE") != nullptr) {
        std::ofstream(path, std::ios::binary) << dump;
        return ::testing::AssertionSuccess();
    }
    std::ifstream in(path, std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (expected == dump)
        return ::testing::AssertionSuccess();
    std::istringstream a(expected), b(dump);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, la));
        const bool moreB = static_cast<bool>(std::getline(b, lb));
        if (!moreA && !moreB)
            break;
        if (la != lb || moreA != moreB)
            return ::testing::AssertionFailure()
                   << path << " line " << line << ": expected\n  " << (moreA ? la : "<end>")
                   << "\nbut drew\n  " << (moreB ? lb : "<end>");
    }
    return ::testing::AssertionFailure() << path << " differs";
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
