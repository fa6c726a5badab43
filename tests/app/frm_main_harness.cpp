#include "app/frm_main_harness.h"

#include <QApplication>
#include <QtTest/QTest>
#include <filesystem>

namespace tessaro::test {

std::string GdtLine(const std::string& field, const std::string& content) {
    const std::size_t length = 3 + field.size() + content.size() + 2;
    std::string digits = std::to_string(length);
    while (digits.size() < 3)
        digits = "0" + digits;
    return digits + field + content + "\r\n";
}

std::string Request(const std::string& id, const std::string& first, const std::string& last) {
    return GdtLine("8000", "6302") + GdtLine("3000", id) + GdtLine("3101", last) +
           GdtLine("3102", first) + GdtLine("3103", "01011970");
}

FormHarness::FormHarness() {
    std::filesystem::create_directory(inbox());
    std::filesystem::create_directory(outbox());
}

FormHarness::~FormHarness() {
    form.reset();
}

void FormHarness::WriteIni(const IniValues& v) {
    std::string ini = "[K\xFCrzel]\r\nK\xFCrzel=" + v.shortCode + "\r\n";
    ini += "[Modality]\r\nModality=" + v.modality + "\r\n";
    ini += "[GDT]\r\n";
    if (v.pathS)
        ini += "PathS=" + requestPath() + "\r\n";
    if (v.pathD)
        ini += "PathD=" + outbox() + "\r\n";
    ini += "LumeoID=" + v.lumeoId + "\r\n";
    ini += "Suffix=gdt\r\nManual=" + v.manual + "\r\n";
    ini += std::string("StudyDesc=") + (v.studyDesc ? "1" : "0") + "\r\n";
    Spit(iniPath(), ini);
}

void FormHarness::WriteRequest(const std::string& bytes) {
    Spit(requestPath(), bytes);
}

void FormHarness::WriteManualButtons(const std::string& bytes) {
    Spit(dir.File("Bodypart.dat"), bytes);
}

bool FormHarness::Start() {
    form = std::make_unique<app::FrmMain>(app::Environment{dir.path(), messages, folders, record,
                                                           [this](int s) { ends.push_back(s); }});
    const bool loaded = form->Form_Load();
    if (loaded && ends.empty()) {
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowExposed(form.get());
    }
    return loaded;
}

} // namespace tessaro::test
