#include "app_fixture.h"

#include <QtTest/QTest>
#include <filesystem>

#include "meter/received_data.h"
#include "store/data_folder.h"
#include "store/file_io.h"

namespace dorvel::test {

void AppTest::AddPatient(const std::string& id, const std::string& name,
                         const std::string& records) {
    std::filesystem::create_directories(data());
    PatientProfile p;
    p.name = name;
    TestStore().WriteProfile(data(), id, p, UserSettings{});
    if (!records.empty()) {
        WriteFileAtomic(PatientFilePath(data(), id, kDataFileExtension), records);
    }
}

void AppTest::WriteReceived(const std::string& grData) {
    WriteFileAtomic(JoinPath(data(), kDataFileName), grData);
}

void AppTest::Start(const std::function<PageFactory(Prompter&)>& pages) {
    auto p = std::make_unique<ScriptedPrompter>();
    auto l = std::make_unique<FakeSessionLink>();
    auto s = std::make_unique<TestStore>();
    prompter = p.get();
    link = l.get();
    store = s.get();
    if (!storedId.empty()) {
        store->id = storedId;
    }
    PageFactory factory = pages ? pages(*prompter) : PageFactory{};
    app = std::make_unique<CDorvelApp>(work.path(), std::move(s), std::move(p), std::move(l),
                                       std::move(factory));
}

void AppTest::Show() {
    frame().show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame()));
}

}  // namespace dorvel::test
