// One copy per user: while the lock is held, a second `kelvork` ends at once with exit code 0,
// before any start-up work (it creates no database).
#include "single_instance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kelvork::shell::SingleInstanceLock;

TEST(SingleInstance, SecondLockFailsAndFreesOnRelease)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    {
        SingleInstanceLock first("KelvorkTestLock");
        ASSERT_TRUE(first.acquired());
        EXPECT_TRUE(first.path().startsWith(runtime.path()));
        SingleInstanceLock second("KelvorkTestLock");
        EXPECT_FALSE(second.acquired());
    }
    SingleInstanceLock again("KelvorkTestLock");
    EXPECT_TRUE(again.acquired()) << "a lock left by an ended copy does not block the next start";
}

TEST(SingleInstance, SecondProgramExitsZeroBeforeStarting)
{
    QTemporaryDir runtime, home;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    SingleInstanceLock running;   // "Kelvork2003", as a running copy holds it
    ASSERT_TRUE(running.acquired());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(KELVORK_EXE), {"--home", home.path()});
    ASSERT_TRUE(second.waitForStarted(20000)) << second.errorString().toStdString();
    ASSERT_TRUE(second.waitForFinished(20000)) << "the second copy must end by itself";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty())
        << "nothing of the start-up ran";
}

TEST(SingleInstance, FirstProgramStartsOnAnEmptyFolder)
{
    QTemporaryDir runtime, home;
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("KELVORK_AUTOLOGIN", "Admin");
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(KELVORK_EXE), {"--home", home.path()});
    ASSERT_TRUE(first.waitForStarted(20000));
    bool created = false;
    for (int i = 0; i < 200 && !created; ++i) {
        created = QFile::exists(home.path() + "/Rud2003.db") && QDir(home.path() + "/Template").exists();
        if (!created)
            first.waitForFinished(100);
    }
    EXPECT_TRUE(created) << "the database and the template folder appear";
    EXPECT_FALSE(first.waitForFinished(1000)) << "the program keeps running";
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);
}
