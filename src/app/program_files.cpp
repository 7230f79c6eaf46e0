#include "program_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace dorvel {

namespace {

constexpr const char* kGuideName = "Merovan Communication Program User's guide.pdf";
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The installed data folder (share/) seen from the installed program.
QString InstalledData(const QString& programDir) {
    return QDir::cleanPath(programDir + "/" DORVEL_DATA_FROM_BIN);
}

// The icon theme's sizes below a hicolor folder; null when it holds none.
QIcon IconIn(const QString& hicolor) {
    QIcon icon;
    for (const int size : kIconSizes) {
        const QString file = QString("%1/%2x%2/apps/dorvel.png").arg(hicolor).arg(size);
        if (QFile::exists(file)) {
            icon.addFile(file, QSize(size, size));
        }
    }
    return icon;
}

}  // namespace

QString ProgramDir() {
    return QCoreApplication::applicationDirPath();
}

QString UserGuidePath(const QString& programDir) {
    const QString installed = InstalledData(programDir) + "/dorvel/" + kGuideName;
    const QString candidates[] = {
        QDir(programDir).filePath(kGuideName),
        installed,
        // Run from the build tree (tests, scripts/run): the guide the build made.
        DORVEL_GUIDE_PDF,
    };
    for (const QString& path : candidates) {
        if (QFile::exists(path)) {
            return path;
        }
    }
    // None at all: the about box names the place the package puts it.
    return installed;
}

QIcon ProgramIcon(const QString& programDir) {
    const QIcon installed = IconIn(InstalledData(programDir) + "/icons/hicolor");
    return installed.isNull() ? IconIn(DORVEL_BUILD_ICONS) : installed;
}

}  // namespace dorvel
