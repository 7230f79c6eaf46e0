// The user's guide that the build makes from docs/guide, as the about box
// opens it.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>

#include "app/dialogs.h"
#include "app/program_files.h"
#include "app_fixture.h"

namespace dorvel::test {
namespace {

class GuideTest : public AppTest {};

TEST_F(GuideTest, HelpButtonOpensTheBuiltGermanGuideOrSaysWhereItLies) {
    AddPatient("ANNA", "Anna Meier");
    Start();
    prompter->onDialog = [](QDialog& d) {
        if (auto* about = dynamic_cast<CAboutDlg*>(&d)) {
            about->helpButton()->click();
        }
        return static_cast<int>(QDialog::Accepted);
    };
    frame().Run(kCmdAbout);
    ASSERT_EQ(prompter->opened.size(), 1u);
    const QString guide = prompter->opened[0];
    ASSERT_TRUE(QFile::exists(guide)) << guide.toStdString();

    std::string text;
    ASSERT_EQ(RunCommand("pdftotext \"" + guide.toStdString() + "\" -", &text), 0);
    for (const char* expected :
         {"Merovan Communication Program", "Benutzerhandbuch", "Messwerte abrufen und zuordnen",
          "Diesen Messwert wirklich löschen?"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    std::string info;
    ASSERT_EQ(RunCommand("pdfinfo \"" + guide.toStdString() + "\"", &info), 0);
    EXPECT_NE(info.find("Benutzerhandbuch"), std::string::npos);
    EXPECT_TRUE(prompter->messages.empty());

    // Without a program for PDF files the user learns where the guide lies.
    prompter->openSucceeds = false;
    frame().Run(kCmdAbout);
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_TRUE(prompter->messages[0].text.contains("kein Programm"));
    EXPECT_TRUE(prompter->messages[0].text.endsWith(guide))
        << prompter->messages[0].text.toStdString();
}

// Installed, the program finds its guide and icon below the data folder
// next to its own folder; elsewhere it takes those of the build.
TEST(ProgramFiles, FoundWhereThePackageInstallsThem) {
    TempFolder root;
    const QString bin = QString::fromStdString(root.path()) + "/usr/bin";
    const QString share = QDir::cleanPath(bin + "/" DORVEL_DATA_FROM_BIN);
    const QString guide = share + "/dorvel/Merovan Communication Program User's guide.pdf";
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share + "/dorvel") &&
                QDir().mkpath(share + "/icons/hicolor/48x48/apps"));
    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QImage icon(48, 48, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    ASSERT_TRUE(icon.save(share + "/icons/hicolor/48x48/apps/dorvel.png"));

    EXPECT_EQ(UserGuidePath(bin), guide);
    EXPECT_EQ(ProgramIcon(bin).availableSizes(), QList<QSize>{QSize(48, 48)});

    const QString elsewhere = QString::fromStdString(root.path());
    EXPECT_NE(UserGuidePath(elsewhere), guide);
    EXPECT_TRUE(QFile::exists(UserGuidePath(elsewhere)));
    EXPECT_EQ(ProgramIcon(elsewhere).availableSizes().size(), 8);
}

}  // namespace
}  // namespace dorvel::test
