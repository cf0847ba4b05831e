// Saving a file whole: success replaces everything, every failure keeps the old file and says why.

#include "export/SaveCleanup.h"
#include "export/SaveFile.h"

#include "support/ChildProcess.h"

#include <QtTest>

#include <atomic>
#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string readFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Caps the size of files this process may write, so the disk seems full after `bytes`; writing
// past it fails with "File too large" instead of raising SIGXFSZ. Restored on destruction.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = saved_;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

// Everything in a folder, hidden temporaries included.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t permissionBits(const QString& path) {
    struct stat info {};
    if (::stat(path.toLocal8Bit().constData(), &info) != 0) return 0;
    return info.st_mode & 07777;
}

// Runs one test function of this program again as the unprivileged user "nobody" and checks that
// it passed: root may write anywhere, so refusals are only meaningful for an ordinary user.
void runAsNobody(const char* function) {
    const QString failure = orvek::test::failureAsNobody(function);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

}  // namespace

class TestSaveFile : public QObject {
    Q_OBJECT
private slots:
    // A library leaves the host's signal handling alone (a Python interpreter has its own): a save
    // changes no signal's disposition; a program that asks gets the clean-up on SIGHUP and SIGXFSZ
    // ignored. Run in a child process, whose dispositions start at the defaults.
    void signalsChangeOnlyWhenTheProgramAsks() {
        QTemporaryDir dir;
        const std::string path = (dir.path() + "/f.txt").toStdString();
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGHUP, SIG_DFL);
            std::signal(SIGXFSZ, SIG_DFL);
            const auto untouched = [](int s) {
                struct sigaction now {};
                return ::sigaction(s, nullptr, &now) == 0 && now.sa_handler == SIG_DFL;
            };
            const bool saved = orvek::saveFileAtomically(path, "text\n").ok();
            const bool leftAlone = untouched(SIGHUP) && untouched(SIGXFSZ);
            orvek::removeSaveTemporariesOnSignals();
            const bool asked = !untouched(SIGHUP) && !untouched(SIGXFSZ);
            ::_exit(saved && leftAlone && asked ? 0 : 1 + !saved * 2 + !leftAlone * 4 + !asked * 8);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    void savingReplacesTheWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("ORVEK_result.txt");
        QVERIFY(orvek::saveFileAtomically(path.toStdString(), std::string(5000, 'a')));
        QVERIFY(orvek::saveFileAtomically(path.toStdString(), "short\r\n"));
        QCOMPARE(QString::fromStdString(readFile(path)), QString("short\r\n"));
        QCOMPARE(entries(dir.path()), QStringList{"ORVEK_result.txt"});  // no temporary left
    }

    void failedSaveKeepsTheOldFile_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("message");
        QTest::newRow("directory in the file's place") << "target-directory"
                                                       << "Could not save ORVEK_result.txt: Is a directory";
        // The temporary file is made in the folder the path names; when that is a file or is
        // missing (also at the end of a link), nothing can be made.
        QTest::newRow("folder is a file") << "folder-is-a-file"
                                          << "Could not save ORVEK_result.txt: Not a directory";
        // A missing folder is named as the path gives it ({dir} stands for the test's folder).
        QTest::newRow("folder does not exist")
            << "missing-folder"
            << "Could not save ORVEK_result.txt: the folder {dir}/no-such-folder does not exist";
        QTest::newRow("link into a missing folder")
            << "dangling-link"
            << "Could not save ORVEK_result.txt: the folder {dir}/no-such-folder does not exist";
        // A disk that fills at once (one large write) or after part of the bytes were written.
        QTest::newRow("write fails") << "write-fails"
                                     << "Could not save ORVEK_result.txt: File too large";
        QTest::newRow("disk full part way") << "part-written"
                                            << "Could not save ORVEK_result.txt: File too large";
    }
    void failedSaveKeepsTheOldFile() {
        QFETCH(QString, obstacle);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString path = dir.filePath("ORVEK_result.txt");
        const std::string old = "old contents\r\n";
        QStringList before{"ORVEK_result.txt"};
        if (obstacle == "target-directory") {
            QVERIFY(QDir(dir.path()).mkdir("ORVEK_result.txt"));
        } else if (obstacle == "dangling-link") {
            QVERIFY(QFile::link("no-such-folder/result.txt", path));
        } else {
            QVERIFY(orvek::saveFileAtomically(path.toStdString(), old));
        }
        if (obstacle == "missing-folder") path = dir.filePath("no-such-folder/ORVEK_result.txt");
        if (obstacle == "folder-is-a-file") path = dir.filePath("ORVEK_result.txt/ORVEK_result.txt");
        std::string bytes = "new contents\r\n";
        orvek::Status saved;
        if (obstacle == "write-fails" || obstacle == "part-written") {
            bytes = std::string(obstacle == "write-fails" ? 100000 : 1500, 'n');
            FileSizeLimit full(obstacle == "write-fails" ? 0 : 1000);
            saved = orvek::saveFileAtomically(path.toStdString(), bytes);
        } else {
            saved = orvek::saveFileAtomically(path.toStdString(), bytes);
        }
        QVERIFY(!saved);
        QCOMPARE(QString::fromStdString(saved.error()), QString(message).replace("{dir}", dir.path()));
        if (obstacle == "target-directory") QVERIFY(QFileInfo(dir.filePath("ORVEK_result.txt")).isDir());
        else if (obstacle == "dangling-link")
            QCOMPARE(QFileInfo(dir.filePath("ORVEK_result.txt")).symLinkTarget().isEmpty(), false);
        else QCOMPARE(readFile(dir.filePath("ORVEK_result.txt")), old);
        // A failed save leaves no temporary file behind.
        QCOMPARE(entries(dir.path()), before);
    }

    // A folder the user may not write to. Root may write anywhere, so as root the check runs again
    // in a child process of this test as the unprivileged user "nobody".
    void readOnlyFolderRefusesTheSave() {
        if (geteuid() == 0) {
            runAsNobody("readOnlyFolderRefusesTheSave");
            return;
        }
        QTemporaryDir dir;
        QVERIFY2(dir.isValid(), "no temporary folder");
        const QString path = dir.filePath("ORVEK_result.txt");
        const std::string old = "old contents\r\n";
        QVERIFY(orvek::saveFileAtomically(path.toStdString(), old));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const orvek::Status saved = orvek::saveFileAtomically(path.toStdString(), "new contents\r\n");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!saved);
        QCOMPARE(QString::fromStdString(saved.error()), QString("Could not save ORVEK_result.txt: Permission denied"));
        QCOMPARE(readFile(path), old);
    }

    // Saves racing for the same file: every result is one save's bytes whole, never a mixture, and
    // no temporary file stays behind.
    void concurrentSavesNeverMix() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("ORVEK_result.txt").toStdString();
        // Different lengths, so that a mixture shows in the size as well as in the bytes.
        const std::string first(300000, 'a'), second(200000, 'b');
        int mixed = 0, failed = 0;
        for (int pair = 0; pair < 200; ++pair) {
            std::atomic<int> ready{0};
            auto save = [&](const std::string& bytes, bool& ok) {
                ++ready;
                while (ready.load() < 2) std::this_thread::yield();
                ok = orvek::saveFileAtomically(path, bytes).ok();
            };
            bool firstOk = false, secondOk = false;
            std::thread a(save, std::cref(first), std::ref(firstOk));
            std::thread b(save, std::cref(second), std::ref(secondOk));
            a.join();
            b.join();
            if (!firstOk || !secondOk) ++failed;
            const std::string now = readFile(QString::fromStdString(path));
            if (now != first && now != second) ++mixed;
        }
        QCOMPARE(mixed, 0);
        QCOMPARE(failed, 0);
        QCOMPARE(entries(dir.path()), QStringList{"ORVEK_result.txt"});
    }

    void permissionBitsAreKept_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("private 0600") << 0600;
        QTest::newRow("group-readable 0640") << 0640;
        QTest::newRow("executable 0755") << 0755;
        QTest::newRow("write for the group only 0060") << 0060;
    }
    void permissionBitsAreKept() {
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath("ORVEK_result.txt");
        QVERIFY(orvek::saveFileAtomically(path.toStdString(), "old\r\n"));
        QCOMPARE(::chmod(path.toLocal8Bit().constData(), static_cast<mode_t>(mode)), 0);
        const orvek::Status saved = orvek::saveFileAtomically(path.toStdString(), "new\r\n");
        // 0060 is not the owner's to write; root writes it, anyone else is refused.
        if (mode == 0060 && geteuid() != 0) {
            QVERIFY(!saved);
            QCOMPARE(permissionBits(path), mode_t(0060));
            return;
        }
        QVERIFY2(saved, saved ? "" : saved.error().c_str());
        QCOMPARE(permissionBits(path), static_cast<mode_t>(mode));
        QCOMPARE(readFile(path), std::string("new\r\n"));
    }

    // Root saving over another user's file keeps its owner and its setuid and setgid bits (a change
    // of owner clears them, so the owner is changed first).
    void setuidAndSetgidBitsAreKept_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("setuid 4755") << 04755;
        QTest::newRow("setgid 2775") << 02775;
    }
    void setuidAndSetgidBitsAreKept() {
        QFETCH(int, mode);
        if (geteuid() != 0) QSKIP("giving a file to another user needs root");
        QTemporaryDir dir;
        const QString path = dir.filePath("tool");
        const QByteArray native = path.toLocal8Bit();
        QVERIFY(orvek::saveFileAtomically(path.toStdString(), "old\n"));
        QCOMPARE(::chown(native.constData(), 65534, 65534), 0);
        QCOMPARE(::chmod(native.constData(), static_cast<mode_t>(mode)), 0);
        QVERIFY(orvek::saveFileAtomically(path.toStdString(), "new\n"));
        struct stat info {};
        QCOMPARE(::stat(native.constData(), &info), 0);
        QCOMPARE(info.st_uid, uid_t(65534));
        QCOMPARE(info.st_gid, gid_t(65534));
        QCOMPARE(permissionBits(path), static_cast<mode_t>(mode));
        QCOMPARE(readFile(path), std::string("new\n"));
    }

    // Every name the folder takes can be saved: the temporary name is shortened to fit.
    void longestNamesCanBeSaved_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("247 bytes") << 247;
        QTest::newRow("248 bytes") << 248;
        QTest::newRow("255 bytes") << 255;
    }
    void longestNamesCanBeSaved() {
        QFETCH(int, length);
        QTemporaryDir dir;
        const QString name(length, QChar('n'));
        const QString path = dir.filePath(name);
        QVERIFY(orvek::saveFileAtomically(path.toStdString(), "first\n"));
        const orvek::Status saved = orvek::saveFileAtomically(path.toStdString(), "second\n");
        QVERIFY2(saved, saved ? "" : saved.error().c_str());
        QCOMPARE(readFile(path), std::string("second\n"));
        QCOMPARE(entries(dir.path()), QStringList{name});
    }

    // A folder moved while its file is being saved: the file lands in the folder that was checked,
    // now under its new name, and a save given up removes its temporary file there as well.
    void folderMovedDuringTheSave_data() {
        QTest::addColumn<bool>("committed");
        QTest::newRow("committed") << true;
        QTest::newRow("given up") << false;
    }
    void folderMovedDuringTheSave() {
        QFETCH(bool, committed);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("before"));
        {
            orvek::Expected<std::unique_ptr<orvek::FileSave>> save =
                orvek::FileSave::begin(dir.filePath("before/ORVEK_result.txt").toStdString());
            QVERIFY(save);
            (*save)->write("new\r\n");
            QVERIFY(QDir(dir.path()).rename("before", "after"));
            if (committed) QVERIFY((*save)->commit());
        }
        QCOMPARE(entries(dir.filePath("after")), committed ? QStringList{"ORVEK_result.txt"} : QStringList());
        if (committed) QCOMPARE(readFile(dir.filePath("after/ORVEK_result.txt")), std::string("new\r\n"));
        QCOMPARE(entries(dir.path()), QStringList{"after"});
    }

    // A new file gets the usual permissions: read and write for all, less the creation mask.
    void newFileFollowsTheCreationMask() {
        QTemporaryDir dir;
        const QString path = dir.filePath("ORVEK_result.txt");
        const mode_t previous = ::umask(027);
        const orvek::Status saved = orvek::saveFileAtomically(path.toStdString(), "new\r\n");
        ::umask(previous);
        QVERIFY(saved);
        QCOMPARE(permissionBits(path), mode_t(0640));
    }

    void linkIsUpdatedThrough_data() {
        QTest::addColumn<bool>("absolute");
        QTest::newRow("relative link") << false;
        QTest::newRow("absolute link") << true;
    }
    void linkIsUpdatedThrough() {
        QFETCH(bool, absolute);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("cases"));
        const QString real = dir.filePath("cases/real.txt");
        QVERIFY(orvek::saveFileAtomically(real.toStdString(), "old\r\n"));
        QCOMPARE(::chmod(real.toLocal8Bit().constData(), 0600), 0);
        const QString link = dir.filePath("ORVEK_result.txt");
        QVERIFY(QFile::link(absolute ? real : QString("cases/real.txt"), link));
        QVERIFY(orvek::saveFileAtomically(link.toStdString(), "new\r\n"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readFile(real), std::string("new\r\n"));
        QCOMPARE(permissionBits(real), mode_t(0600));
        QCOMPARE(entries(dir.filePath("cases")), QStringList{"real.txt"});
    }

    // Targets that are not a regular file this user may write: refused with the reason, and the
    // target, its folder and any link to it stay exactly as they were.
    void refusedTargetsChangeNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("read-only file") << "read-only"
                                        << "Could not save ORVEK_result.txt: the file is read-only";
        QTest::newRow("device node") << "device"
                                     << "Could not save ORVEK_result.txt: it is a device, not a regular file";
        QTest::newRow("/dev/null through a link")
            << "device-link"
            << "Could not save ORVEK_result.txt: it is a device, not a regular file";
        QTest::newRow("FIFO") << "fifo"
                              << "Could not save ORVEK_result.txt: it is a pipe (FIFO), not a regular file";
        QTest::newRow("directory") << "directory"
                                   << "Could not save ORVEK_result.txt: Is a directory";
    }
    void refusedTargetsChangeNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("ORVEK_result.txt");
        const QByteArray native = path.toLocal8Bit();
        if (kind == "read-only") {
            QVERIFY(orvek::saveFileAtomically(path.toStdString(), "old\r\n"));
            QCOMPARE(::chmod(native.constData(), 0444), 0);
        } else if (kind == "device") {
            if (geteuid() != 0) QSKIP("making a device node needs root");
            QCOMPARE(::mknod(native.constData(), S_IFCHR | 0666, makedev(1, 7)), 0);  // like /dev/full
        } else if (kind == "device-link") {
            QVERIFY(QFile::link("/dev/null", path));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(native.constData(), 0666), 0);
        } else {
            QVERIFY(QDir(dir.path()).mkdir("ORVEK_result.txt"));
        }
        struct stat before {};
        QCOMPARE(::lstat(native.constData(), &before), 0);
        const orvek::Status saved = orvek::saveFileAtomically(path.toStdString(), "new\r\n");
        QVERIFY(!saved);
        QCOMPARE(QString::fromStdString(saved.error()), message);
        struct stat after {};
        QCOMPARE(::lstat(native.constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_rdev, before.st_rdev);
        if (kind == "read-only") QCOMPARE(readFile(path), std::string("old\r\n"));
        if (kind == "device-link") QCOMPARE(QFileInfo(path).symLinkTarget(), QString("/dev/null"));
        QCOMPARE(entries(dir.path()), QStringList{"ORVEK_result.txt"});
    }
    // The same refusals for an ordinary user (the tests may run as root).
    void refusedTargetsForAnOrdinaryUser() {
        if (geteuid() != 0) QSKIP("already an ordinary user: refusedTargetsChangeNothing covers it");
        runAsNobody("refusedTargetsChangeNothing");
    }

    void namesThatNameNoFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "Could not save: no file name was given.";
        QTest::newRow("folder name")
            << "adir/"
            << "Could not save adir/: the name ends with a folder separator, so it names a folder, not a file.";
    }
    void namesThatNameNoFile() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        const orvek::Status saved = orvek::saveFileAtomically(path.toStdString(), "new\r\n");
        QVERIFY(!saved);
        QCOMPARE(QString::fromStdString(saved.error()), message);
        QVERIFY(entries(dir.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSaveFile)
#include "test_savefile.moc"
