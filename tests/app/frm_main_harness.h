// A main window started in-process against a temporary program directory, with
// recorded messages and a recorded end of program instead of a real exit.
#pragma once

#include "app/frm_main.h"
#include "support/fake_folder_chooser.h"
#include "support/memory_record_store.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

#include <QObject>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace tessaro::test {

// One GDT line as the practice system writes it: length, field, content, CR LF.
std::string GdtLine(const std::string& field, const std::string& content);

// A request with patient number, first and last name (Windows-1252 bytes).
std::string Request(const std::string& id, const std::string& first, const std::string& last);

struct IniValues {
    std::string shortCode = "";
    std::string modality = "CR";
    bool pathS = true; // PathS names <dir>/inbox/anfrage.gdt, else stays out of the file
    bool pathD = true; // PathD names <dir>/outbox
    std::string lumeoId = "001";
    std::string manual = "0";
    bool studyDesc = false;
};

class FormHarness {
public:
    FormHarness();
    ~FormHarness();

    TempDir dir;
    RecordingMessageBox messages;
    FakeFolderChooser folders;
    MemoryRecordStore record;
    std::vector<int> ends; // statuses passed to the end-of-program hook
    std::unique_ptr<app::FrmMain> form;

    std::string inbox() const { return dir.File("inbox"); }
    std::string outbox() const { return dir.File("outbox"); }
    std::string requestPath() const { return dir.File("inbox/anfrage.gdt"); }
    std::string iniPath() const { return dir.File("Settings.ini"); }

    void WriteIni(const IniValues& v);
    void WriteRequest(const std::string& bytes);
    void WriteManualButtons(const std::string& bytes);
    // Constructs the window and runs start-up; shows it when start-up did not
    // end the program. Returns what Form_Load returned.
    bool Start();

    template <typename T = QWidget> T* Find(const char* name) const {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
};

} // namespace tessaro::test
