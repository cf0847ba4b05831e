// Saving a file whole: success replaces everything, every failure keeps the old file and says why.

#include "export/SaveFile.h"

#include <QtTest>

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
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

}  // namespace

class TestSaveFile : public QObject {
    Q_OBJECT
private slots:
    void savingReplacesTheWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("ORVEK_result.txt");
        QVERIFY(orvek::saveFileAtomically(path.toStdString(), std::string(5000, 'a')));
        QVERIFY(orvek::saveFileAtomically(path.toStdString(), "short\r\n"));
        QCOMPARE(QString::fromStdString(readFile(path)), QString("short\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ORVEK_result.txt"});  // no temporary left
    }

    void failedSaveKeepsTheOldFile_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("message");
        QTest::newRow("directory in the file's place") << "target-directory" << "Could not save ORVEK_result.txt: Is a directory";
        QTest::newRow("temporary cannot be created") << "temporary-directory" << "Could not save ORVEK_result.txt: Is a directory";
        QTest::newRow("folder does not exist") << "missing-folder" << "Could not save ORVEK_result.txt: No such file or directory";
        // A disk that fills while the bytes are written (more than the write buffer) or while the
        // buffered rest is flushed at closing.
        QTest::newRow("write fails") << "write-fails" << "Could not save ORVEK_result.txt: File too large";
        QTest::newRow("close fails") << "close-fails" << "Could not save ORVEK_result.txt: File too large";
    }
    void failedSaveKeepsTheOldFile() {
        QFETCH(QString, obstacle);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString path = dir.filePath("ORVEK_result.txt");
        const std::string old = "old contents\r\n";
        if (obstacle == "target-directory") {
            QVERIFY(QDir(dir.path()).mkdir("ORVEK_result.txt"));
        } else {
            QVERIFY(orvek::saveFileAtomically(path.toStdString(), old));
        }
        if (obstacle == "temporary-directory") QVERIFY(QDir(dir.path()).mkdir("ORVEK_result.txt.saving"));
        if (obstacle == "missing-folder") path = dir.filePath("no-such-folder/ORVEK_result.txt");
        std::string bytes = "new contents\r\n";
        orvek::Status saved;
        if (obstacle == "write-fails" || obstacle == "close-fails") {
            bytes = std::string(obstacle == "write-fails" ? 100000 : 2000, 'n');
            FileSizeLimit full(1000);
            saved = orvek::saveFileAtomically(path.toStdString(), bytes);
        } else {
            saved = orvek::saveFileAtomically(path.toStdString(), bytes);
        }
        QVERIFY(!saved);
        QCOMPARE(QString::fromStdString(saved.error()), message);
        if (obstacle == "target-directory") QVERIFY(QFileInfo(path).isDir());
        else if (obstacle != "missing-folder") QCOMPARE(readFile(dir.filePath("ORVEK_result.txt")), old);
        // A failed save leaves no temporary file behind.
        QStringList expected{"ORVEK_result.txt"};
        if (obstacle == "temporary-directory") expected.append("ORVEK_result.txt.saving");
        if (obstacle != "missing-folder") QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), expected);
    }

    // A folder the user may not write to. Root may write anywhere, so as root the check runs again
    // in a child process of this test as the unprivileged user "nobody".
    void readOnlyFolderRefusesTheSave() {
        if (geteuid() == 0) {
            QProcess child;
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                    QCoreApplication::applicationFilePath(), "readOnlyFolderRefusesTheSave"});
            QVERIFY2(child.waitForFinished(60000), "setpriv did not finish");
            const QByteArray output = child.readAll();
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
            QVERIFY2(output.contains("PASS   : TestSaveFile::readOnlyFolderRefusesTheSave()"), output.constData());
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
};

QTEST_GUILESS_MAIN(TestSaveFile)
#include "test_savefile.moc"
