// Builds the user's guide PDF from its HTML source at build time:
//   dorvel-guide-pdf SOURCE.html OUTPUT.pdf
// The text is laid out by Qt's rich-text engine and written as vectors and
// real text, so the guide stays searchable and sharp at any zoom.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: dorvel-guide-pdf SOURCE.html OUTPUT.pdf\n");
        return 1;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "dorvel-guide-pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString html = QString::fromUtf8(in.readAll());

    QTextDocument document;
    // Pictures are named relative to the source file.
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + "/"));
    QFont font("DejaVu Sans");
    font.setPointSize(10);
    document.setDefaultFont(font);
    document.setHtml(html);

    // A half-written guide must never stand in for the old one.
    QSaveFile out(output);
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "dorvel-guide-pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    {
        QPdfWriter pdf(&out);
        // Screen resolution, so picture widths in the source mean what they say.
        pdf.setResolution(96);
        pdf.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        pdf.setCreator("Dorvel");
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
        const QRectF page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        document.documentLayout()->setPaintDevice(&pdf);
        document.setPageSize(page.size());
        const int pages = document.pageCount();
        QPainter painter(&pdf);
        for (int i = 0; i < pages; ++i) {
            if (i > 0) {
                pdf.newPage();
            }
            painter.save();
            painter.translate(0, -i * page.height());
            document.drawContents(&painter,
                                  QRectF(0, i * page.height(), page.width(), page.height()));
            painter.restore();
        }
    }
    if (!out.commit()) {
        std::fprintf(stderr, "dorvel-guide-pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
