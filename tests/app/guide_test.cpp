// The user's guide that the build makes from docs/guide, as the about box
// opens it.
#include <QFile>
#include <QPushButton>

#include "app/dialogs.h"
#include "app_fixture.h"

namespace dorvel::test {
namespace {

class GuideTest : public AppTest {};

TEST_F(GuideTest, HelpButtonOpensTheBuiltGermanGuide) {
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
}

}  // namespace
}  // namespace dorvel::test
