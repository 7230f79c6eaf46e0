#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "store/user_settings.h"
#include "surface.h"

namespace dorvel::reports {

// Page indexes as the main frame numbers its pages.
inline constexpr int kStartViewIndex = 0;
inline constexpr int kDataListIndex = 1;
inline constexpr int kLogbookIndex = 2;
inline constexpr int kSummaryIndex = 3;
inline constexpr int kDayGraphIndex = 4;
inline constexpr int kMealtimeGraphIndex = 5;
inline constexpr int kRangeBarIndex = 6;
inline constexpr int kMealtimeBarIndex = 7;
inline constexpr int kPatientListIndex = 8;
inline constexpr int kGlucoseProfileIndex = 9;  // our own page: the glucose profile

// Repaint timer id of each report page (index 1..9); 0 for a page without one.
int RepaintTimerId(int pageIndex);
inline constexpr int kRepaintDelayMs = 100;

// Window title that the page sets when it becomes active.
std::string_view PageWindowTitle(int pageIndex);

// The file that "Capture View" writes in the data folder (page index 1..8).
std::string_view CaptureFileName(int pageIndex);
inline constexpr int kCaptureViewCommand = 32776;
inline constexpr std::string_view kMessageCaption = "Merovan";
std::string CaptureCompleteMessage(std::string_view fileName);
std::string CaptureFailedMessage(std::string_view fileName, std::string_view detail);

// Every page's white background at the base size: (0,0)-(810,650), grown
// by the window's growth.
inline constexpr int kBaseScreenWidth = 810;
inline constexpr int kBaseScreenHeight = 650;

// How much the page's client area exceeds the base size the start view recorded.
struct Growth {
    int width = 0;
    int height = 0;
};
inline Growth GrowthFor(int clientWidth, int clientHeight, int baseWidth, int baseHeight) {
    return {clientWidth - baseWidth, clientHeight - baseHeight};
}

// The white page of the screen, outlined in black, grown with the window.
void DrawScreenPage(Surface& surface, Growth growth);

// Kinds of the pages of a print job (1..10); 0 when a page number matches none.
inline constexpr int kCoverKind = 1;
inline constexpr int kDataListKind = 2;
inline constexpr int kPatientListKind = 9;
inline constexpr int kGlucoseProfileKind = 10;
std::string_view PageKindTitle(int kind);

// Paper in twips (1/1440 inch), y growing downwards from the top of the
// printable area. The page layouts give horizontal distances for an 11451
// twips wide reference page, scaled about the centre, and vertical positions
// in fortieths of the printable height.
struct PaperMetrics {
    int width = 0;   // W
    int height = 0;  // H
    float scale = 1.0f;

    static PaperMetrics FromMillimetres(double widthMm, double heightMm);
    static PaperMetrics FromTwips(int width, int height);

    int CentreX() const { return width / 2; }
    // cx plus a scaled reference distance (negative: to the left).
    int X(int referenceTwips) const;
    // k/40 of H from the top, computed in floating point and truncated.
    int Y(double fortieths) const;
    // 4/40 and 5/40 are computed in integers.
    int YInt(int fortieths) const { return fortieths * height / 40; }
};

struct PrintFonts {
    Font title;
    Font text;
    Font largeText;
    static PrintFonts ForScale(float scale);
};

// Character height in twips of a font given in whole points at a paper scale.
int PrintFontHeight(int points, float scale);

// The profile fields that header, footer and cover sheet print.
struct PatientFacts {
    PatientProfile profile;
    std::string patientId;  // Windows-1252, as stored
    int dateFormat = 2;
};

// The differences between the reports' printed frames; each page is framed
// in the style of its own report.
struct FrameStyle {
    bool fillPatientName = false;   // only the data list names the patient
    bool mobileWord = false;        // "Mobil" in place of "Handy"
    bool emptyFooterTexts = false;  // the logbook prints empty footer boxes
};
FrameStyle FrameStyleOf(int pageIndex);

void DrawHeader(Surface& surface, const PaperMetrics& paper, const PrintFonts& fonts, int kind,
                const PatientFacts& facts, const FrameStyle& style, bool printDiagnosisDate);
void DrawFooter(Surface& surface, const PaperMetrics& paper, const PrintFonts& fonts, int kind,
                const PatientFacts& facts, const FrameStyle& style);

}  // namespace dorvel::reports
