// What the commit tests share: a main window started on a request with BW2E
// chosen, sequence number 7 and LumeoID 001, ready for OK; start-up and the
// press on OK are timed (processor time) for the tests that bound them.
#pragma once

#include "app/frm_main_harness.h"
#include "support/freeze_limit.h"

#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <string>

namespace tessaro::test {

class CommitFixture : public ::testing::Test {
protected:
    void StartReady(const IniValues& ini = {.shortCode = "ab"},
                    const std::string& requestBytes = Request("4711", "J\xFCrgen", "M\xFCller")) {
        h.WriteIni(ini);
        request = requestBytes;
        h.WriteRequest(request);
        Spit(h.dir.File("GDTcount.txt"), "6");
        const ProcessorStopwatch startUp;
        ASSERT_TRUE(h.Start());
        startMs = startUp.Elapsed().count();
        ASSERT_TRUE(h.ends.empty());
        ASSERT_EQ(h.form->SequenceNumber(), 7);
        QTest::mousePress(h.Find("cmdQB(6)"), Qt::LeftButton);
        ASSERT_EQ(h.form->SelectionCode(), "BW2E");
        iniBefore = Slurp(h.iniPath());
    }
    void StartReady(const std::string& requestBytes) {
        StartReady({.shortCode = "ab"}, requestBytes);
    }

    void PressOk() {
        ASSERT_TRUE(h.Find("cmdOK")->isEnabled());
        const ProcessorStopwatch commit;
        QTest::mouseClick(h.Find("cmdOK"), Qt::LeftButton);
        commitMs = commit.Elapsed().count();
    }

    std::string Final() const { return h.dir.File("outbox/001.7.gdt"); }
    std::string Temporary() const { return h.dir.File("outbox/001.7.zzz"); }
    // The request byte for byte, then the examination line.
    std::string Expected() const { return request + GdtLine("8411", h.form->SelectionCode()); }

    FormHarness h;
    std::string request;
    std::string iniBefore;
    long long startMs = 0;
    long long commitMs = 0;
};

} // namespace tessaro::test
