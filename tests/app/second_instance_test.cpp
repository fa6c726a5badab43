// The real program twice in one program directory: the second start ends at
// once with status 0 and neither reads nor writes anything there, whatever
// its environment, working directory or user.
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

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

TEST(SecondInstanceTest, EndsAtOnceWithoutTouchingTheProgramDirectory) {
    if (!QFileInfo::exists(BuiltProgram()))
        GTEST_SKIP() << "program not built";
    test::TempDir dir;
    fsys::permissions(dir.path(), fsys::perms::owner_all | fsys::perms::group_read |
                                      fsys::perms::group_exec | fsys::perms::others_read |
                                      fsys::perms::others_exec);
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

    // The lock belongs to the program directory: a start from a service
    // without XDG_RUNTIME_DIR, from another folder, or by another user of the
    // same installation sees it all the same.
    test::TempDir otherRuntime;
    struct Start {
        const char* what;
        QProcessEnvironment env;
        QString workingDirectory;
        bool otherUser;
    };
    QProcessEnvironment withoutRuntime = env;
    withoutRuntime.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcessEnvironment otherRuntimeEnv = env;
    otherRuntimeEnv.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           QString::fromStdString(otherRuntime.path()));
    const Start starts[] = {
        {"the same environment", env, QString(), false},
        {"another runtime folder and working directory", otherRuntimeEnv, QStringLiteral("/"),
         false},
        {"no runtime folder", withoutRuntime, QString(), false},
        {"another user", withoutRuntime, QStringLiteral("/"), ::geteuid() == 0},
    };
    for (const Start& s : starts) {
        SCOPED_TRACE(s.what);
        QProcess second;
        second.setProcessEnvironment(s.env);
        if (!s.workingDirectory.isEmpty())
            second.setWorkingDirectory(s.workingDirectory);
        if (s.otherUser)
            second.setChildProcessModifier([] {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(99);
            });
        second.start(QString::fromStdString(program), {});
        const bool ended = second.waitForFinished(10000);
        if (!ended) {
            second.kill();
            second.waitForFinished(10000);
        }
        EXPECT_TRUE(ended) << "a second instance ran";
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(test::Slurp(counter), "1");
        EXPECT_FALSE(fsys::exists(dir.File("Settings.ini")));
        EXPECT_EQ(std::distance(fsys::directory_iterator(dir.path()), {}), entriesBefore);
    }
    EXPECT_TRUE(fsys::is_empty(otherRuntime.path()));
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished(10000);
}

} // namespace
} // namespace tessaro
