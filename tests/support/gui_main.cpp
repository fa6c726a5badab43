// GUI test entry point: one QApplication for all tests, on the offscreen
// platform with a desktop-sized screen unless the environment names another.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" TESSARO_SOURCE_DIR "/tests/support/offscreen_screen.json");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
