// The real program twice in one program directory: the second start ends at
// once with status 0 and neither reads nor writes anything there.
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tessaro {
namespace {

namespace fsys = std::filesystem;

// The executable built beside the tests (build/src/tessaro next to build/tests).
QString BuiltProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../src/tessaro");
}

bool WaitFor(const std::function<bool()>& condition, int ms) {
    for (int waited = 0; waited < ms; waited += 50) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

TEST(SecondInstance, EndsAtOnceWithoutTouchingTheProgramDirectory) {
    if (!QFileInfo::exists(BuiltProgram()))
        GTEST_SKIP() << "program not built";
    test::TempDir dir;
    const std::string program = dir.File("tessaro");
    fsys::copy_file(BuiltProgram().toStdString(), program);

    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    first.setProcessEnvironment(env);
    first.start(QString::fromStdString(program), {});
    ASSERT_TRUE(first.waitForStarted(10000));
    // The first instance has drawn its number once the counter file exists.
    const std::string counter = dir.File("GDTcount.txt");
    ASSERT_TRUE(WaitFor([&] { return test::Slurp(counter) == "1"; }, 20000));
    const auto entriesBefore = std::distance(fsys::directory_iterator(dir.path()), {});

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QString::fromStdString(program), {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(test::Slurp(counter), "1");
    EXPECT_FALSE(fsys::exists(dir.File("Settings.ini")));
    EXPECT_EQ(std::distance(fsys::directory_iterator(dir.path()), {}), entriesBefore);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished(10000);
}

} // namespace
} // namespace tessaro
