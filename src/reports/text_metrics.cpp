#include "text_metrics.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace dorvel::reports {

namespace {

// Measuring the same fonts over and over is the common case: every cell of
// a table uses one or two of them.
struct FontKey {
    std::string face;
    int height;
    int weight;
    bool operator<(const FontKey& o) const {
        return std::tie(face, height, weight) < std::tie(o.face, o.height, o.weight);
    }
};

struct Measures {
    QFontMetricsF metrics;
    double em;    // pixel size
    double line;  // ascent plus descent
};

const Measures& MeasuresFor(const Font& font) {
    // One entry per font: the last one asked for answers without a lookup,
    // since a page measures its cells in runs of the same font.
    static std::mutex lock;
    static std::map<FontKey, Measures> cache;
    thread_local const Measures* last = nullptr;
    thread_local Font lastFont;
    if (last != nullptr && lastFont == font)
        return *last;
    const std::lock_guard<std::mutex> guard(lock);
    const FontKey key{font.face, font.height, font.weight};
    auto it = cache.find(key);
    if (it == cache.end()) {
        const QFont q = QtFontFor(font);
        const QFontMetricsF m(q);
        it = cache
                 .emplace(key,
                          Measures{m, static_cast<double>(q.pixelSize()), m.ascent() + m.descent()})
                 .first;
    }
    last = &it->second;
    lastFont = font;
    return *last;
}

const QFontMetricsF& MetricsFor(const Font& font) {
    return MeasuresFor(font).metrics;
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString FaceFor(const std::string& face) {
    if (face == "Arial")
        return QStringLiteral("Liberation Sans");
    if (face == "Tahoma")
        return QStringLiteral("DejaVu Sans");
    return QString::fromStdString(face);
}

QFont QtFontFor(const Font& font) {
    QFont q(FaceFor(font.face));
    q.setWeight(
        static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
    q.setHintingPreference(QFont::PreferNoHinting);
    // Plain glyph runs as on the original devices: no ligatures, so "fi"
    // stays two letters for text extraction, and shaping costs nothing.
    q.setStyleStrategy(QFont::PreferNoShaping);
    if (font.height < 0) {
        q.setPixelSize(-font.height);
    } else if (font.height > 0) {
        // A positive height is the cell height: scale the em so that ascent
        // plus descent fill it.
        QFont probe = q;
        probe.setPixelSize(1000);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        const double em = cell > 0 ? font.height * 1000.0 / cell : font.height;
        q.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    } else {
        q.setPixelSize(std::max(1, q.pixelSize()));
    }
    return q;
}

bool CanMeasureText() {
    return QGuiApplication::instance() != nullptr;
}

std::string ElidedLine(std::string_view utf8, const Font& font, double width) {
    return MetricsFor(font).elidedText(FromUtf8(utf8), Qt::ElideRight, width).toStdString();
}

double EmHeight(const Font& font) {
    return MeasuresFor(font).em;
}

double LineHeight(const Font& font) {
    return MeasuresFor(font).line;
}

TextSize MeasureText(const Font& font, std::string_view utf8, double wrapWidth) {
    const QFontMetricsF& m = MetricsFor(font);
    TextSize size;
    if (wrapWidth > 0) {
        const QRectF bounds =
            m.boundingRect(QRectF(0, 0, wrapWidth, 1e9), Qt::TextWordWrap, FromUtf8(utf8));
        size.width = bounds.width();
        size.height = bounds.height();
        return size;
    }
    const QStringList lines = FromUtf8(utf8).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        size.width = std::max(size.width, m.horizontalAdvance(line));
    size.height = static_cast<double>(lines.size()) * (m.ascent() + m.descent());
    return size;
}

TextExtent ExtentOfText(const Rect& box, const Font& font, std::string_view utf8, unsigned flags) {
    TextSize size = MeasureText(font, utf8, (flags & kWordBreak) ? box.right - box.left : 0.0);
    if (!(flags & kWordBreak) && utf8.find('\n') == std::string_view::npos)
        size.height = EmHeight(font);
    TextExtent e;
    if (flags & kAlignHCenter)
        e.left = (box.left + box.right) / 2.0 - size.width / 2;
    else if (flags & kAlignRight)
        e.left = box.right - size.width;
    else
        e.left = box.left;
    if (flags & kAlignVCenter)
        e.top = (box.top + box.bottom) / 2.0 - size.height / 2;
    else if (flags & kAlignBottom)
        e.top = box.bottom - size.height;
    else
        e.top = box.top;
    e.right = e.left + size.width;
    e.bottom = e.top + size.height;
    return e;
}

}  // namespace dorvel::reports
