#include "report_page_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "app/print/print_run.h"
#include "main_frame.h"
#include "prompter.h"
#include "qt_text.h"
#include "reports/painter_surface.h"
#include "reports/recording_surface.h"
#include "reports/report_pages.h"

namespace dorvel {
namespace {

QString Caption() {
    return QString::fromUtf8(reports::kMessageCaption.data(),
                             static_cast<qsizetype>(reports::kMessageCaption.size()));
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QAction* AddItem(QMenu& menu, const QString& text, int command, bool enabled) {
    QAction* action = menu.addAction(text);
    action->setData(command);
    action->setEnabled(enabled);
    return action;
}

}  // namespace

// ---- the common page ----

ReportPageView::ReportPageView(int pageIndex, CDorvelDoc& doc,
                               std::shared_ptr<PageServices> services, QWidget* parent)
    : DorvelPage(parent),
      doc_(doc),
      services_(std::move(services)),
      pageIndex_(pageIndex),
      scroll_(new QScrollBar(Qt::Vertical, this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);  // the paging keys scroll a long page
    scroll_->setSingleStep(17);       // a table row
    scroll_->hide();
    connect(scroll_, &QScrollBar::valueChanged, this, [this] { update(); });
}

QString ReportPageView::WindowTitle() const {
    return FromUtf8(reports::PageWindowTitle(pageIndex_));
}

bool ReportPageView::TransferActive() const {
    const auto* frame = qobject_cast<const CMainFrame*>(window());
    return frame && frame->SessionVisible();
}

void ReportPageView::Tell(const std::string& text) {
    services_->prompter.Message(window(), QString::fromStdString(text), Caption());
}

void ReportPageView::paintEvent(QPaintEvent* event) {
    // The page may have grown since the last look (a rebuilt patient list).
    UpdateScroll();
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int top = scrollTop();
    painter.translate(0, -top);
    reports::PainterSurface surface(painter);
    const QRect seen = event->rect().translated(0, top);
    surface.SetClipBox(reports::Rect{seen.left(), seen.top(), seen.right() + 1, seen.bottom() + 1});
    Draw(surface, reports::Growth{doc_.growthWidth, doc_.growthHeight});
}

int ReportPageView::scrollTop() const {
    return scroll_->isVisibleTo(this) ? scroll_->value() : 0;
}

void ReportPageView::UpdateScroll() {
    // Like a form view whose template is the page at its base size: what
    // the window cannot show of it, the rows of a long list included, is
    // reached by scrolling.
    const int hidden = std::max(0, reports::ReportScreenHeight(pageIndex_, Data()) - height());
    const int barWidth = scroll_->sizeHint().width();
    scroll_->setGeometry(width() - barWidth, 0, barWidth, height());
    scroll_->setRange(0, hidden);
    scroll_->setPageStep(std::max(1, height()));
    if (scroll_->isVisibleTo(this) != (hidden > 0)) {
        scroll_->setVisible(hidden > 0);
    }
}

void ReportPageView::wheelEvent(QWheelEvent* event) {
    if (!scroll_->isVisibleTo(this)) {
        DorvelPage::wheelEvent(event);
        return;
    }
    QApplication::sendEvent(scroll_, event);
}

void ReportPageView::keyPressEvent(QKeyEvent* event) {
    const std::pair<int, QAbstractSlider::SliderAction> keys[] = {
        {Qt::Key_Down, QAbstractSlider::SliderSingleStepAdd},
        {Qt::Key_Up, QAbstractSlider::SliderSingleStepSub},
        {Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd},
        {Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
        {Qt::Key_Home, QAbstractSlider::SliderToMinimum},
        {Qt::Key_End, QAbstractSlider::SliderToMaximum}};
    if (scroll_->isVisibleTo(this)) {
        for (const auto& [key, action] : keys) {
            if (event->key() == key && event->modifiers() == Qt::NoModifier) {
                scroll_->triggerAction(action);
                return;
            }
        }
    }
    DorvelPage::keyPressEvent(event);
}

reports::ReportData ReportPageView::Data() const {
    reports::ReportData report;
    report.readings = &doc_.readings;
    report.settings = doc_.settings;
    report.run = doc_.runSettings;
    report.today = doc_.clock().Today();
    report.selectedDate = doc_.selectedDate;
    report.stats = doc_.statistics;
    report.dataListStart = doc_.dataList.start;
    report.facts.profile = doc_.profile;
    report.facts.patientId = doc_.currentPatientId;
    report.facts.dateFormat = doc_.settings.dateFormat;
    report.patientList = doc_.patientList;
    return report;
}

void ReportPageView::Draw(reports::Surface& surface, reports::Growth growth) {
    reports::DrawReportScreen(pageIndex_, surface, Data(), growth);
}

void ReportPageView::UpdateGrowth() {
    // The base size comes from the start view's first resize; before it the
    // page has not grown. Hidden pages are resized with their stack's own
    // sizes now and then, and must not speak for the page on screen.
    if (!isVisible() || (doc_.baseWidth == 0 && doc_.baseHeight == 0)) {
        return;
    }
    const reports::Growth g =
        reports::GrowthFor(width(), height(), doc_.baseWidth, doc_.baseHeight);
    doc_.growthWidth = g.width;
    doc_.growthHeight = g.height;
}

void ReportPageView::resizeEvent(QResizeEvent* event) {
    DorvelPage::resizeEvent(event);
    UpdateGrowth();
    UpdateScroll();
}

void ReportPageView::showEvent(QShowEvent* event) {
    DorvelPage::showEvent(event);
    UpdateGrowth();
    if (event->spontaneous()) {
        return;  // the window came back from the task bar: the page was active already
    }
    const QString title = WindowTitle();
    if (!title.isEmpty()) {
        window()->setWindowTitle(title);
    }
    Activated();
}

QMenu* ReportPageView::MakePopupMenu() {
    if (TransferActive()) {
        return nullptr;
    }
    auto* menu = new QMenu(window());
    AddItem(*menu, "&Capture View", reports::kCaptureViewCommand, true);
    return menu;
}

void ReportPageView::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(MakePopupMenu());
    if (!menu) {
        return;
    }
    QAction* chosen = services_->execMenu ? services_->execMenu(*menu, event->globalPos())
                                          : menu->exec(event->globalPos());
    if (chosen && chosen->isEnabled()) {
        OnCommand(chosen->data().toInt());
    }
}

void ReportPageView::OnCommand(int command) {
    if (command == reports::kCaptureViewCommand) {
        CaptureView();
    }
}

reports::CaptureOutcome ReportPageView::CaptureView() {
    // The page as shown, without the scroll bar beside it.
    QRect page = rect();
    if (scroll_->isVisibleTo(this)) {
        page.setWidth(width() - scroll_->width());
    }
    const QImage shown = grab(page).toImage();
    reports::CaptureOutcome outcome = reports::CaptureView(doc_.dataFolder(), pageIndex_, shown);
    Tell(outcome.message);
    return outcome;
}

void ReportPageView::PrintPage() {
    RunPrint(false);
}

void ReportPageView::PrintPreview() {
    RunPrint(true);
}

void ReportPageView::RunPrint(bool preview) {
    if (TransferActive()) {
        return;
    }
    const reports::ReportData report = Data();
    const reports::JobSizes sizes = reports::JobSizesOf(report);
    print::CMyPrintDialog dialog(
        services_->printChoices, pageIndex_, sizes,
        services_->printers ? services_->printers() : print::SystemPrinters(), window());
    if (doc_.pageLayout) {
        dialog.setPageLayout(*doc_.pageLayout);
    }
    const auto exec = [this](QDialog& d) { return services_->prompter.Exec(d); };
    const QString proposed = QString::fromStdString(doc_.dataFolder() + "/") +
                             FromStored(doc_.currentPatientId) + ".pdf";
    const auto askFile = [&] { return print::AskPdfFile(window(), proposed, exec); };
    // A preview asks for the file only when it is printed.
    if (!preview) {
        dialog.setFileQuestion(askFile);
    }
    if (exec(dialog) != QDialog::Accepted) {
        return;  // nothing printed, no fonts made
    }
    reports::PrintJob job =
        reports::MakeReportPrintJob(report, pageIndex_, services_->printChoices);
    job.pageLayout = doc_.pageLayout;
    // A job that failed or was stopped is told or silent, never taken for printed.
    const auto printJob = [&](const reports::PrintJob& chosen) {
        print::PrintProgress progress(window(), services_->printProgressDelay);
        const print::PrintOutcome outcome = print::PrintChosen(dialog, chosen, progress.Callback());
        if (!outcome.message.empty()) {
            Tell(outcome.message);
        }
        return outcome.printed();
    };
    if (!preview) {
        printJob(job);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    print::PreparePrinter(printer, dialog, job);
    print::PreviewHooks hooks;
    hooks.progressDelay = services_->printProgressDelay;
    hooks.print = [&](const QPageLayout& shown) {
        if (dialog.printToFile() && dialog.outputFile().isEmpty()) {
            dialog.setOutputFile(askFile());
            if (dialog.outputFile().isEmpty()) {
                return false;
            }
        }
        // The paper the preview shows, set up there or before, is printed.
        dialog.setChosenLayout(shown);
        return printJob(job);
    };
    std::unique_ptr<QPrintPreviewDialog> shown(
        print::MakePrintPreview(printer, job, window(), std::move(hooks)));
    exec(*shown);
}

// ---- the data list page ----

CDorvelPage1::CDorvelPage1(CDorvelDoc& doc, std::shared_ptr<PageServices> services, QWidget* parent)
    : ReportPageView(kDataListPage, doc, std::move(services), parent) {}

reports::DataListView CDorvelPage1::View() const {
    return reports::MakeDataListView(doc_.readings, doc_.dataList.start, doc_.settings,
                                     doc_.runSettings);
}

void CDorvelPage1::Draw(reports::Surface& surface, reports::Growth growth) {
    reports::DrawDataListScreen(surface, View(), growth);
    if (band_) {
        surface.SetBrush(reports::Brush{reports::kWhite, true});
        surface.SetPen(reports::Pen{reports::kRed, 1, reports::PenStyle::Dot});
        surface.Rectangle(*band_);
    }
}

void CDorvelPage1::Activated() {
    selection_.Activate();
    band_.reset();
}

void CDorvelPage1::Redraw() {
    // A full repaint draws the grid anew; the band was only ever on screen.
    band_.reset();
    ReportPageView::Redraw();
}

void CDorvelPage1::resizeEvent(QResizeEvent* event) {
    ReportPageView::resizeEvent(event);
    StartRedrawTimer(reports::RepaintTimerId(kDataListPage));
}

void CDorvelPage1::SelectAt(int x, int y) {
    // The selection draws its own band changes; replaying them on the next
    // paint keeps the picture as the click left it.
    reports::RecordingSurface marks;
    selection_.RightButton(marks, x, y, doc_.growthWidth, View().dataListStart);
    band_.reset();
    for (const auto& op : marks.ops()) {
        if (op.kind == reports::RecordingSurface::Kind::Rectangle &&
            op.pen.color == reports::kRed) {
            band_ = op.rect;
        }
    }
    update();
}

void CDorvelPage1::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const QPoint at = event->position().toPoint();
        SelectAt(at.x(), at.y() + scrollTop());
    }
    ReportPageView::mousePressEvent(event);
}

QMenu* CDorvelPage1::MakePopupMenu() {
    if (!selection_.MenuOpens(View().dataListStart, doc_.currentPage)) {
        return nullptr;
    }
    auto* menu = new QMenu(window());
    for (const reports::MenuItem& item : reports::DataListMenu()) {
        if (item.text.empty()) {
            menu->addSeparator();
        } else {
            AddItem(*menu, FromUtf8(item.text), item.command, item.enabled);
        }
    }
    return menu;
}

void CDorvelPage1::OnCommand(int command) {
    switch (command) {
        case reports::kToggleUnitCommand:
            SaveToggle(reports::ToggleUnit);
            break;
        case reports::kToggleMealsCommand:
            SaveToggle(reports::ToggleSeparateMeals);
            break;
        case reports::kDeleteReadingCommand:
            DeleteSelected();
            break;
        case reports::kChangeDateFormatCommand:
        case reports::kChangeTimeFormatCommand:
            break;  // offered but never enabled
        default:
            ReportPageView::OnCommand(command);
            break;
    }
}

void CDorvelPage1::SaveToggle(reports::ToggleOutcome (*toggle)(UserSettings&,
                                                               const reports::SaveSettings&)) {
    const std::string id = doc_.currentPatientId;
    reports::SaveSettings save;
    if (!id.empty()) {
        save = [this, id](const UserSettings& settings) {
            return doc_.store().WriteProfile(doc_.dataFolder(), id, doc_.profile, settings);
        };
    }
    const reports::ToggleOutcome outcome = toggle(doc_.settings, save);
    // The unit changes the texts, the meal switch the statistics behind the
    // other pages: both take effect now, saved or not.
    doc_.Recompute();
    StartRedrawTimer(reports::RepaintTimerId(kDataListPage));
    if (!outcome.message.empty()) {
        Tell(outcome.message);
    }
}

void CDorvelPage1::DeleteSelected() {
    if (!services_->prompter.AskOkCancel(window(), FromUtf8(reports::kDeleteQuestion), Caption())) {
        return;
    }
    const reports::DeleteOutcome outcome = reports::DeleteSelectedReading(
        doc_.dataFolder(), doc_.currentPatientId, doc_.readings, View().dataListStart,
        selection_.selectedRow(), doc_.runSettings.controlDisplay == 1);
    if (!outcome.removed) {
        return;
    }
    // The other pages and the patient commands wait until the patient is loaded again.
    doc_.deletionPending = true;
    if (auto* frame = qobject_cast<CMainFrame*>(window())) {
        frame->UpdateCommands();
    }
    doc_.Recompute();
    StartRedrawTimer(reports::RepaintTimerId(kDataListPage));
    if (!outcome.message.empty()) {
        Tell(outcome.message);
    }
}

// ---- the factory ----

PageFactory MakeReportPageFactory(std::shared_ptr<PageServices> services) {
    return [services](int index, CDorvelDoc& doc, QWidget* parent) -> DorvelPage* {
        if (index == kDataListPage) {
            return new CDorvelPage1(doc, services, parent);
        }
        if (index > kDataListPage && index <= kGlucoseProfilePage) {
            return new ReportPageView(index, doc, services, parent);
        }
        return MakePlaceholderPage(index, doc, parent);
    };
}

PageFactory MakeReportPageFactory(Prompter& prompter) {
    return MakeReportPageFactory(std::make_shared<PageServices>(prompter));
}

}  // namespace dorvel
