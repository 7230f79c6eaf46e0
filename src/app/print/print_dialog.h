#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "reports/print_layout.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace dorvel::print {

// Control ids of the dialog; each control carries its id as object name.
namespace control {
inline constexpr int kPrinterGroup = 1091;
inline constexpr int kNameLabel = 1093;
inline constexpr int kPrinterList = 1139;
inline constexpr int kProperties = 1025;
inline constexpr int kStatusLabel = 1095;
inline constexpr int kStatusValue = 1099;
inline constexpr int kTypeLabel = 1094;
inline constexpr int kTypeValue = 1098;
inline constexpr int kWhereLabel = 1097;
inline constexpr int kWhereValue = 1101;
inline constexpr int kCommentLabel = 1096;
inline constexpr int kCommentValue = 1100;
inline constexpr int kPrintToFile = 1040;
inline constexpr int kRangeGroup = 1102;
inline constexpr int kThisPage = 1124;
inline constexpr int kMarked = 1125;
inline constexpr int kDiagnosisDate = 1001;
inline constexpr int kCopiesGroup = 1073;
inline constexpr int kCopiesLabel = 1092;
inline constexpr int kCopies = 1154;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
}  // namespace control

// One installed printer as the dialog shows it.
struct PrinterEntry {
    QString name;
    QString status;
    QString type;
    QString location;
    QString comment;
};

// The system's printers, the default one first.
QList<PrinterEntry> SystemPrinters();

// Asks for the PDF file to print into, proposing `proposed`, through `exec`
// (which runs the modal file dialog). Empty when the user cancelled; a name
// without the ending gets ".pdf".
QString AskPdfFile(QWidget* parent, const QString& proposed,
                   const std::function<int(QDialog&)>& exec);

// The print dialog of the report pages: the usual printer, copies and
// print-to-file controls plus the print range and the diagnosis date box.
// It works on the program's PrintChoices, which outlive it: opening marks
// the report of the page shown, and the marks only ever grow.
class CMyPrintDialog : public QDialog {
  public:
    ~CMyPrintDialog() override;
    CMyPrintDialog(reports::PrintChoices& choices, int shownPageIndex,
                   const reports::JobSizes& sizes, QList<PrinterEntry> printers = SystemPrinters(),
                   QWidget* parent = nullptr);

    // The control with the given id (see `control`), for the page and tests.
    QWidget* Control(int id) const;

    const reports::PageCount& pageCount() const { return count_; }
    int minPage() const { return 1; }
    int fromPage() const { return 1; }
    int maxPage() const { return count_.pages; }
    int toPage() const { return count_.pages; }

    QString printerName() const;
    int copies() const;
    bool printToFile() const;
    // The PDF written when printing to a file.
    QString outputFile() const { return outputFile_; }
    void setOutputFile(const QString& path) { outputFile_ = path; }
    // Asks for the PDF on OK when it is still unknown; the answer is the
    // file, or empty when the user declined (the dialog then stays open).
    // Without a question OK leaves the file open, as before a preview.
    void setFileQuestion(std::function<QString()> ask) { askFile_ = std::move(ask); }

    // The paper "Eigenschaften" starts from: the print setup's, when there is one.
    void setPageLayout(const QPageLayout& layout) { startLayout_ = layout; }

    // The chosen printer and copies on a printer about to print.
    void ConfigurePrinter(QPrinter& printer) const;
    // The paper last chosen here ("Eigenschaften") or in the preview; it wins
    // over the print setup's.
    std::optional<QPageLayout> chosenLayout() const { return chosen_; }
    void setChosenLayout(const QPageLayout& layout) { chosen_ = layout; }

    void accept() override;

  private:
    void ShowPrinter(int index);
    void RangeClicked(int range);
    void Recount();
    void UpdateOk();

    reports::PrintChoices& choices_;
    int shownPageIndex_;
    reports::JobSizes sizes_;
    QList<PrinterEntry> printers_;
    reports::PageCount count_;
    QString outputFile_;
    std::function<QString()> askFile_;
    std::unique_ptr<QPrinter> setup_;  // the printer "Eigenschaften" works on
    std::optional<QPageLayout> chosen_;
    std::optional<QPageLayout> startLayout_;

    QComboBox* printerList_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* type_ = nullptr;
    QLabel* where_ = nullptr;
    QLabel* comment_ = nullptr;
    QCheckBox* toFile_ = nullptr;
    QRadioButton* thisPage_ = nullptr;
    QRadioButton* marked_ = nullptr;
    QCheckBox* diagnosisDate_ = nullptr;
    QSpinBox* copies_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace dorvel::print
