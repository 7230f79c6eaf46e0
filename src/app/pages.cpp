#include "pages.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>

#include "texts.h"

namespace dorvel {

DorvelPage::DorvelPage(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, [this] {
        ++redrawCount_;
        Redraw();
    });
}

void DorvelPage::StartRedrawTimer(int timerId) {
    lastTimerId_ = timerId;
    timer_->start();
}

PlaceholderPage::PlaceholderPage(QString title, QWidget* parent)
    : DorvelPage(parent), title_(std::move(title)) {
    setAutoFillBackground(true);
}

void PlaceholderPage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    QFont f = font();
    f.setPointSize(18);
    p.setFont(f);
    p.drawText(rect(), Qt::AlignCenter, title_);
}

CDorvelView::CDorvelView(CDorvelDoc& doc, QWidget* parent) : DorvelPage(parent), doc_(doc) {}

QString CDorvelView::PicturePath() const {
    return QString::fromStdString(doc_.dataFolder()) + "/AureviaPro.JPG";
}

void CDorvelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (firstSize_) {
        firstSize_ = false;
        doc_.baseWidth = event->size().width();
        doc_.baseHeight = event->size().height();
        doc_.growthWidth = 0;
        doc_.growthHeight = 0;
    } else {
        doc_.growthWidth = event->size().width() - doc_.baseWidth;
        doc_.growthHeight = event->size().height() - doc_.baseHeight;
        StartRedrawTimer(2000);
    }
}

void CDorvelView::paintEvent(QPaintEvent*) {
    if (doc_.currentPage != kStartPage) {
        return;
    }
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QString path = PicturePath();
    if (QFile::exists(path)) {
        QImage picture(path);
        if (picture.isNull()) {
            return;  // a picture that cannot be decoded leaves the view empty
        }
        if (doc_.growthWidth < 0 || doc_.growthHeight < 0) {
            doc_.growthWidth = std::max(doc_.growthWidth, 0);
            doc_.growthHeight = std::max(doc_.growthHeight, 0);
        }
        p.drawImage(QRect(1, 1, doc_.growthWidth + 805, doc_.growthHeight + 568), picture);
        return;
    }
    QRect box(0, 0, doc_.growthWidth + 810, doc_.growthHeight + 650);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
    QFont f("Arial");
    f.setPixelSize(30);
    p.setFont(f);
    p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, texts::kStartHint);
}

QString PageTitle(int index) {
    switch (index) {
        case kDataListPage:
            return "Daten";
        case kLogbookPage:
            return "Tagebuch";
        case kSummaryPage:
            return "Zusammenfassung";
        case kDayGraphPage:
            return "Grafik Tag";
        case kMealGraphPage:
            return "Grafik Mahlzeiten";
        case kRangeBarPage:
            return "Balkendiagramm nach Zielwert";
        case kMealBarPage:
            return "Durchschnittswerte nach Mahlzeit";
        case kPatientListPage:
            return "Patienten";
        case kGlucoseProfilePage:
            return "Glukoseprofil";
        default:
            return {};
    }
}

DorvelPage* MakePlaceholderPage(int index, CDorvelDoc&, QWidget* parent) {
    return new PlaceholderPage(PageTitle(index), parent);
}

}  // namespace dorvel
