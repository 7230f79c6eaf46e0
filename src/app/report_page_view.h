#pragma once

#include <QList>
#include <QPoint>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "app/print/print_dialog.h"
#include "app/print/print_run.h"
#include "pages.h"
#include "reports/bmp_writer.h"
#include "reports/data_list_page.h"
#include "reports/print_job.h"
#include "reports/print_layout.h"
#include "reports/report_data.h"

class QAction;
class QMenu;
class QScrollBar;

namespace dorvel {

class Prompter;

// What the report pages share beyond the document: the questions to the
// user, the print choices that outlive every print dialog, and the two
// places where a window would wait on the user (the popup menu and the
// printer list), so tests can answer them.
struct PageServices {
    explicit PageServices(Prompter& p) : prompter(p) {}
    Prompter& prompter;
    reports::PrintChoices printChoices;
    // Shows the popup menu at a screen point and returns the chosen item.
    std::function<QAction*(QMenu& menu, const QPoint& at)> execMenu;
    std::function<QList<print::PrinterEntry>()> printers;
    // How long a print or preview runs before its progress is shown.
    std::chrono::milliseconds printProgressDelay = print::kProgressDelay;
};

// The window of a report page: draws the page through the vector surface,
// follows the growth of the client area, sets the frame's title when it
// becomes active, offers its popup menu and saves itself as a picture.
class ReportPageView : public DorvelPage {
    Q_OBJECT
  public:
    ReportPageView(int pageIndex, CDorvelDoc& doc, std::shared_ptr<PageServices> services,
                   QWidget* parent = nullptr);

    int pageIndex() const { return pageIndex_; }
    QString Title() const override { return PageTitle(pageIndex_); }
    // The frame's title while this page is active; empty when the page leaves it alone.
    QString WindowTitle() const;

    // The page's popup menu, or null when none may open now. The caller owns it.
    virtual QMenu* MakePopupMenu();
    // A command of the popup menu.
    virtual void OnCommand(int command);
    // Grabs the page as shown and writes its picture into the data folder.
    reports::CaptureOutcome CaptureView();
    void PrintPage() override;
    void PrintPreview() override;

    // A page taller than the window scrolls: how far down it is shown, in
    // pixels (0 while it fits), and the bar that moves it.
    int scrollTop() const;
    QScrollBar* verticalScrollBar() const { return scroll_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

    // The screen drawing of the page, in pixels.
    virtual void Draw(reports::Surface& surface, reports::Growth growth);
    virtual void Activated() {}
    // What the page draws from: the document's patient, period and statistics.
    reports::ReportData Data() const;
    // A meter transfer is running: the frame's progress window is up.
    bool TransferActive() const;
    void Tell(const std::string& text);

    CDorvelDoc& doc_;
    std::shared_ptr<PageServices> services_;

  private:
    void UpdateGrowth();
    // Fits the scroll bar to the page's height (reports::ReportScreenHeight)
    // and the window's.
    void UpdateScroll();
    // The print cycle: the print dialog, then the job on the printer (or its
    // file) or on a preview of that printer.
    void RunPrint(bool preview);
    int pageIndex_;
    QScrollBar* scroll_;
};

// The data list page: 30 readings to a screen page, the selection band, the
// unit and separate-meals switches and deletion of a single reading.
class CDorvelPage1 : public ReportPageView {
    Q_OBJECT
  public:
    CDorvelPage1(CDorvelDoc& doc, std::shared_ptr<PageServices> services,
                 QWidget* parent = nullptr);

    int selectedRow() const { return selection_.selectedRow(); }
    // The red band of the selected row while it is shown, in pixels.
    std::optional<reports::Rect> band() const { return band_; }
    // What the page shows now (the document's list at its cursor).
    reports::DataListView View() const;

    QMenu* MakePopupMenu() override;
    void OnCommand(int command) override;

  protected:
    void mousePressEvent(QMouseEvent*) override;
    void Draw(reports::Surface& surface, reports::Growth growth) override;
    void Activated() override;
    void Redraw() override;
    void resizeEvent(QResizeEvent*) override;

  private:
    void SelectAt(int x, int y);
    void SaveToggle(reports::ToggleOutcome (*toggle)(UserSettings&, const reports::SaveSettings&));
    void DeleteSelected();

    reports::DataListSelection selection_;
    std::optional<reports::Rect> band_;
};

// The page factory of the program: the data list page and the other report
// pages, the glucose profile among them.
PageFactory MakeReportPageFactory(std::shared_ptr<PageServices> services);
PageFactory MakeReportPageFactory(Prompter& prompter);

}  // namespace dorvel
