#include "print_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>

namespace dorvel::print {

namespace {

// Dialog units: a quarter of the dialog font's average letter width
// across, an eighth of its height down.
struct DialogUnits {
    int charWidth = 6;
    int charHeight = 13;
    QRect operator()(int x, int y, int w, int h) const {
        const auto px = [this](int dx) { return dx * charWidth / 4; };
        const auto py = [this](int dy) { return dy * charHeight / 8; };
        return QRect(px(x), py(y), px(w), py(h));
    }
};

template <typename W>
W* Place(W* widget, int id, QRect rect) {
    widget->setObjectName(QString::number(id));
    widget->setGeometry(rect);
    return widget;
}

QString StateText(QPrinter::PrinterState state) {
    switch (state) {
        case QPrinter::Idle:
            return QStringLiteral("Bereit");
        case QPrinter::Active:
            return QStringLiteral("Druckt");
        case QPrinter::Aborted:
            return QStringLiteral("Abgebrochen");
        case QPrinter::Error:
            return QStringLiteral("Fehler");
    }
    return {};
}

}  // namespace

QList<PrinterEntry> SystemPrinters() {
    QList<PrinterEntry> printers;
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
        PrinterEntry entry{info.printerName(), StateText(info.state()), info.makeAndModel(),
                           info.location(), info.description()};
        if (entry.name == defaultName)
            printers.prepend(entry);
        else
            printers.append(entry);
    }
    return printers;
}

CMyPrintDialog::~CMyPrintDialog() = default;

CMyPrintDialog::CMyPrintDialog(reports::PrintChoices& choices, int shownPageIndex,
                               const reports::JobSizes& sizes, QList<PrinterEntry> printers,
                               QWidget* parent)
    : QDialog(parent),
      choices_(choices),
      shownPageIndex_(shownPageIndex),
      sizes_(sizes),
      printers_(std::move(printers)) {
    setWindowTitle(QStringLiteral("Druck"));
    const QFontMetrics metrics(font());
    // The average over the letters, rounded, as dialog templates measure it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const DialogUnits Dlu{std::max((letters / 26 + 1) / 2, 1), std::max(metrics.height(), 1)};
    setFixedSize(Dlu(0, 0, 290, 161).size());

    Place(new QGroupBox(QStringLiteral(" Drucker "), this), control::kPrinterGroup,
          Dlu(5, 4, 278, 84));
    auto* nameLabel = Place(new QLabel(QStringLiteral("&Name(&N):"), this), control::kNameLabel,
                            Dlu(6, 20, 49, 8));
    printerList_ = Place(new QComboBox(this), control::kPrinterList, Dlu(55, 18, 152, 14));
    nameLabel->setBuddy(printerList_);
    auto* properties = Place(new QPushButton(QStringLiteral("&Eigenschaften(&P)"), this),
                             control::kProperties, Dlu(215, 17, 66, 14));
    Place(new QLabel(QStringLiteral("Status:"), this), control::kStatusLabel, Dlu(10, 36, 53, 10));
    status_ = Place(new QLabel(this), control::kStatusValue, Dlu(55, 36, 224, 10));
    Place(new QLabel(QStringLiteral("Typ:"), this), control::kTypeLabel, Dlu(10, 48, 53, 10));
    type_ = Place(new QLabel(this), control::kTypeValue, Dlu(55, 48, 143, 10));
    Place(new QLabel(QStringLiteral("Wo:"), this), control::kWhereLabel, Dlu(10, 60, 53, 10));
    where_ = Place(new QLabel(this), control::kWhereValue, Dlu(55, 60, 157, 10));
    Place(new QLabel(QStringLiteral("Bemerkungen:"), this), control::kCommentLabel,
          Dlu(10, 72, 53, 10));
    comment_ = Place(new QLabel(this), control::kCommentValue, Dlu(55, 72, 138, 10));
    toFile_ = Place(new QCheckBox(QStringLiteral("Als Datei &drucken"), this),
                    control::kPrintToFile, Dlu(195, 70, 84, 12));

    Place(new QGroupBox(QStringLiteral(" Datenbereich "), this), control::kRangeGroup,
          Dlu(5, 92, 156, 57));
    thisPage_ = Place(new QRadioButton(QStringLiteral("&diesen Datenbereich"), this),
                      control::kThisPage, Dlu(8, 107, 86, 10));
    marked_ = Place(new QRadioButton(QStringLiteral("&Markierung"), this), control::kMarked,
                    Dlu(96, 107, 62, 10));
    diagnosisDate_ = Place(new QCheckBox(QStringLiteral("&Datum der Diagnose drucken"), this),
                           control::kDiagnosisDate, Dlu(9, 124, 138, 10));

    Place(new QGroupBox(QStringLiteral(" Exemplare "), this), control::kCopiesGroup,
          Dlu(163, 92, 120, 36));
    auto* copiesLabel = Place(new QLabel(QStringLiteral("Anzahl der Exemplare:(&C):"), this),
                              control::kCopiesLabel, Dlu(170, 102, 105, 8));
    copies_ = Place(new QSpinBox(this), control::kCopies, Dlu(184, 113, 45, 12));
    copies_->setRange(1, 999);
    copiesLabel->setBuddy(copies_);

    ok_ = Place(new QPushButton(QStringLiteral("OK"), this), control::kOk, Dlu(183, 138, 48, 14));
    ok_->setDefault(true);
    auto* cancel = Place(new QPushButton(QStringLiteral("Abbrechen"), this), control::kCancel,
                         Dlu(235, 138, 48, 14));

    for (const PrinterEntry& p : printers_)
        printerList_->addItem(p.name);
    // Without a printer only a file can be printed.
    if (printers_.isEmpty())
        toFile_->setChecked(true);
    ShowPrinter(printerList_->currentIndex());

    // Every opening starts from "this page" without the diagnosis date and
    // marks the page shown.
    choices_.Open(shownPageIndex_);
    thisPage_->setChecked(true);
    diagnosisDate_->setChecked(false);
    marked_->setEnabled(reports::PrintChoices::CertificateAllowed(shownPageIndex_));
    Recount();

    connect(printerList_, &QComboBox::currentIndexChanged, this,
            [this](int index) { ShowPrinter(index); });
    connect(toFile_, &QCheckBox::toggled, this, [this] { UpdateOk(); });
    connect(thisPage_, &QRadioButton::clicked, this, [this] { RangeClicked(0); });
    connect(marked_, &QRadioButton::clicked, this, [this] { RangeClicked(1); });
    connect(diagnosisDate_, &QCheckBox::clicked, this,
            [this](bool checked) { choices_.printDiagnosisDate = checked; });
    connect(properties, &QPushButton::clicked, this, [this] {
        if (!setup_) {
            setup_ = std::make_unique<QPrinter>();
            if (startLayout_)
                setup_->setPageLayout(*startLayout_);
        }
        ConfigurePrinter(*setup_);
        QPageSetupDialog(setup_.get(), this).exec();
        chosen_ = setup_->pageLayout();
    });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdateOk();
}

QWidget* CMyPrintDialog::Control(int id) const {
    return findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void CMyPrintDialog::ShowPrinter(int index) {
    const bool known = index >= 0 && index < printers_.size();
    const PrinterEntry none;
    const PrinterEntry& p = known ? printers_[index] : none;
    status_->setText(p.status);
    type_->setText(p.type);
    where_->setText(p.location);
    comment_->setText(p.comment);
    UpdateOk();
}

void CMyPrintDialog::RangeClicked(int range) {
    choices_.ChooseRange(range, shownPageIndex_);
    // The patient list's range stays on this page whatever was clicked.
    thisPage_->setChecked(choices_.printRange == 0);
    marked_->setChecked(choices_.printRange == 1);
    Recount();
}

void CMyPrintDialog::Recount() {
    count_ = reports::CountPages(choices_, shownPageIndex_, sizes_);
}

void CMyPrintDialog::UpdateOk() {
    if (ok_ != nullptr)
        ok_->setEnabled(toFile_->isChecked() || !printerName().isEmpty());
}

QString CMyPrintDialog::printerName() const {
    const int index = printerList_->currentIndex();
    return index >= 0 && index < printers_.size() ? printers_[index].name : QString();
}

int CMyPrintDialog::copies() const {
    return copies_->value();
}

bool CMyPrintDialog::printToFile() const {
    return toFile_->isChecked();
}

void CMyPrintDialog::ConfigurePrinter(QPrinter& printer) const {
    if (chosen_ && &printer != setup_.get())
        printer.setPageLayout(*chosen_);
    if (!printerName().isEmpty())
        printer.setPrinterName(printerName());
    printer.setCopyCount(copies());
}

void CMyPrintDialog::accept() {
    if (printToFile() && outputFile_.isEmpty() && askFile_) {
        outputFile_ = askFile_();
        if (outputFile_.isEmpty())
            return;  // no file chosen: the dialog stays open
    }
    QDialog::accept();
}

QString AskPdfFile(QWidget* parent, const QString& proposed,
                   const std::function<int(QDialog&)>& exec) {
    QFileDialog dialog(parent, QStringLiteral("Druck"), QString(), QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(proposed);
    if (exec(dialog) != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    QString file = chosen.isEmpty() ? QString() : chosen.front();
    if (!file.isEmpty() && !file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    return file;
}

}  // namespace dorvel::print
