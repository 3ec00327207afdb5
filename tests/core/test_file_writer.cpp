#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <thread>

#include "base/file_writer.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

const std::string kOld = "old content\r\nsecond line\r\n";
const std::string kNew = "new content, longer than the old one\r\nand more\r\nand more\r\n";

QByteArray bytes(const std::string& s) { return QByteArray::fromStdString(s); }

// Every name in a folder, hidden ones too: a temporary file left behind shows here.
QStringList names(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

struct stat info(const QString& path, bool follow = true) {
    struct stat s {};
    const QByteArray p = path.toLocal8Bit();
    (follow ? ::stat(p.constData(), &s) : ::lstat(p.constData(), &s));
    return s;
}

std::string text(int error) { return std::strerror(error); }

// A folder in which no temporary file may be made: what a read-only folder is to anyone but
// the superuser, who runs these tests.
struct ReadOnlyFolder : FileFault {
    ReadOnlyFolder(const QString& folder, FileStep step, int error, int skip, bool lasting)
        : FileFault(step, error, skip, lasting), folder_(folder.toStdString() + "/") {}
    int createTemp(char* pattern) override {
        if (std::string_view(pattern).starts_with(folder_)) {
            errno = EACCES;
            return -1;
        }
        return FileFault::createTemp(pattern);
    }
    std::string folder_;
};

}  // namespace

class TestFileWriter : public QObject {
    Q_OBJECT

    QTemporaryDir cache_;
    QString backups() const { return cache_.filePath("Vortak"); }

private slots:
    void initTestCase() {
        // Backups of files rewritten in place go to the user's cache folder.
        qputenv("XDG_CACHE_HOME", cache_.path().toUtf8());
    }

    // Whichever step fails, the old file keeps every byte, no temporary file or backup is
    // left and the caller gets the system's reason. A file with a second name is rewritten in
    // place (and keeps both names), as is a file in a folder that refuses temporary files:
    // when nothing fails (error 0), every name sees the new content, longer, shorter or
    // empty, and it stays the same file.
    void rewriteOrKeepTheOldFile_data() {
        columns<QString, int, int, bool, int, QByteArray>("mode", "step", "skip", "lasting",
                                                          "error", "content");
        const auto row = [](const char* mode, const char* what, FileStep step, int skip,
                            bool lasting, int error, const QByteArray& content = bytes(kNew)) {
            QTest::addRow("%s, %s", mode, what)
                << QString(mode) << int(step) << skip << lasting << error << content;
        };
        row("replace", "temporary file", FileStep::CreateTemp, 0, false, ENOSPC);
        row("replace", "owner", FileStep::ChangeOwner, 0, false, EIO);
        row("replace", "mode", FileStep::ChangeMode, 0, false, EIO);
        row("replace", "write", FileStep::Write, 0, false, ENOSPC);
        row("replace", "flush", FileStep::Flush, 0, false, EIO);
        row("replace", "close", FileStep::Close, 0, false, EDQUOT);
        row("replace", "rename", FileStep::Rename, 0, false, EXDEV);
        for (const char* mode : {"hard link", "read-only folder"}) {
            row(mode, "open", FileStep::Open, 0, false, EACCES);
            row(mode, "read", FileStep::Read, 0, false, EIO);
            row(mode, "backup file", FileStep::CreateTemp, 0, true, ENOSPC);
            row(mode, "backup write", FileStep::Write, 0, true, ENOSPC);
            row(mode, "backup flush", FileStep::Flush, 0, true, EIO);
            row(mode, "backup close", FileStep::Close, 0, true, EIO);
            row(mode, "write", FileStep::Write, 1, false, ENOSPC);
            row(mode, "truncate", FileStep::Truncate, 0, false, EFBIG);
            row(mode, "flush", FileStep::Flush, 1, false, EIO);
            row(mode, "close", FileStep::Close, 1, false, EIO);
            row(mode, "longer", FileStep::Open, 99, false, 0);
            row(mode, "shorter", FileStep::Open, 99, false, 0, "x");
            row(mode, "empty", FileStep::Open, 99, false, 0, "");
        }
    }
    void rewriteOrKeepTheOldFile() {
        const auto [mode, step, skip, lasting, error, content] =
            fetch<QString, int, int, bool, int, QByteArray>("mode", "step", "skip", "lasting",
                                                            "error", "content");
        QTemporaryDir dir;
        const QString path = dir.filePath("model.vok"), other = dir.filePath("other name.vok");
        put(path, bytes(kOld));
        if (mode == "hard link") {
            QCOMPARE(::link(path.toLocal8Bit().constData(), other.toLocal8Bit().constData()), 0);
        }
        const ino_t inode = info(path).st_ino;
        const QStringList before = names(dir.path());
        std::optional<std::string> result;
        {
            ReadOnlyFolder fault(mode == "read-only folder" ? dir.path() : "/nowhere",
                                 FileStep(step), error, skip, lasting);
            result = writeFileAtomically(path.toStdString(), content.toStdString());
            if (error != 0) QVERIFY(fault.calls(FileStep(step)) > skip);  // the step was reached
        }
        const QByteArray now = error != 0 ? bytes(kOld) : content;
        QCOMPARE(result, error != 0 ? std::optional(text(error)) : std::nullopt);
        QCOMPARE(contents(path), now);
        QCOMPARE(info(path).st_ino, inode);
        QCOMPARE(names(dir.path()), before);
        QCOMPARE(names(backups()), QStringList());
        if (mode == "hard link") {
            QCOMPARE(contents(other), now);
            QCOMPARE(info(path).st_nlink, nlink_t(2));
        }
    }

    // The rewrite fails half-way and so does putting the old content back: the message says
    // where the old content is, and it is there.
    void halfWrittenFileNamesItsBackup() {
        QTemporaryDir dir;
        const QString path = dir.filePath("model.vok");
        put(path, bytes(kOld));
        QCOMPARE(
            ::link(path.toLocal8Bit().constData(), dir.filePath("b").toLocal8Bit().constData()), 0);
        std::optional<std::string> result;
        {
            FileFault fault(FileStep::Write, ENOSPC, 1, true);  // the backup is written first
            result = writeFileAtomically(path.toStdString(), kNew);
        }
        const QStringList kept = names(backups());
        QCOMPARE(kept.size(), 1);
        QVERIFY(kept[0].startsWith("model.vok.backup-"));
        const QString backup = backups() + "/" + kept[0];
        QCOMPARE(result,
                 text(ENOSPC) + " (the previous content is kept in " + backup.toStdString() + ")");
        QCOMPARE(contents(backup), bytes(kOld));
        QFile::remove(backup);
    }

    // The folder is flushed after the rename. Its failure is reported although the new file
    // is in place; a file system that cannot flush folders (EINVAL) is no failure. Without
    // `flush` nothing is flushed at all.
    void flushesTheFolder_data() {
        columns<int, bool, QString>("error", "flush", "expected");
        QTest::newRow("input/output error") << EIO << true << QString::fromStdString(text(EIO));
        QTest::newRow("not supported") << EINVAL << true << QString();
        QTest::newRow("no flush asked") << EIO << false << QString();
    }
    void flushesTheFolder() {
        const auto [error, flush, expected] =
            fetch<int, bool, QString>("error", "flush", "expected");
        QTemporaryDir dir;
        const QString path = dir.filePath("m.vok");
        put(path, bytes(kOld));
        FileFault fault(FileStep::FlushFolder, error);
        const auto result = writeFileAtomically(path.toStdString(), kNew, flush);
        QCOMPARE(QString::fromStdString(result.value_or("")), expected);
        QCOMPARE(contents(path), bytes(kNew));
        QCOMPARE(names(dir.path()), QStringList{"m.vok"});
        QCOMPARE(fault.calls(FileStep::FlushFolder), flush ? 1 : 0);
        QCOMPARE(fault.calls(FileStep::Flush), flush ? 1 : 0);
    }

    // Through a symbolic link the link's target is replaced, with its temporary file beside
    // it; the link stays the same link. A link to nothing yet makes its target.
    void writesThroughLinks_data() {
        // links: "name=target" made in turn, "@" standing for the test folder
        columns<QStringList, QString, bool>("links", "file", "exists");
        QTest::newRow("relative") << QStringList{"link.vok=sub/real.vok"} << "sub/real.vok" << true;
        QTest::newRow("absolute") << QStringList{"link.vok=@/sub/real.vok"} << "sub/real.vok"
                                  << true;
        QTest::newRow("to a link") << QStringList{"link.vok=chain.vok", "chain.vok=sub/real.vok"}
                                   << "sub/real.vok" << true;
        QTest::newRow("to nothing yet")
            << QStringList{"link.vok=sub/new.vok"} << "sub/new.vok" << false;
    }
    void writesThroughLinks() {
        const auto [links, file, exists] =
            fetch<QStringList, QString, bool>("links", "file", "exists");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("sub"));
        if (exists) put(dir.filePath(file), bytes(kOld));
        std::map<QString, QByteArray> made;
        for (const QString& pair : links) {
            const QString name = pair.section('=', 0, 0);
            const QByteArray to = pair.section('=', 1).replace('@', dir.path()).toLocal8Bit();
            QCOMPARE(::symlink(to.constData(), dir.filePath(name).toLocal8Bit().constData()), 0);
            made[name] = to;
        }
        const QStringList top = names(dir.path());
        QCOMPARE(writeFileAtomically(dir.filePath("link.vok").toStdString(), kNew), std::nullopt);
        for (const auto& [name, to] : made) {
            char target[4096] = {};
            QVERIFY(::readlink(dir.filePath(name).toLocal8Bit().constData(), target, 4095) > 0);
            QCOMPARE(QByteArray(target), to);
        }
        QVERIFY(S_ISREG(info(dir.filePath(file), false).st_mode));
        QCOMPARE(contents(dir.filePath(file)), bytes(kNew));
        QCOMPARE(names(dir.path()), top);
        QCOMPARE(names(dir.filePath("sub")), QStringList{QFileInfo(file).fileName()});
    }

    // What is not a regular file is written, never replaced: a FIFO, devices, the program's
    // own standard output.
    void writesDevicesDirectly() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        std::string heard;
        std::thread reader([&] {
            const int fd = ::open(fifo.toLocal8Bit().constData(), O_RDONLY);
            char buffer[256];
            for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) heard.append(buffer, n);
            ::close(fd);
        });
        QCOMPARE(writeFileAtomically(fifo.toStdString(), kNew), std::nullopt);
        reader.join();
        QCOMPARE(heard, kNew);
        QVERIFY(S_ISFIFO(info(fifo).st_mode));

        // Standard output sent to a file: the content is added after what is there, and the
        // file and /dev/stdout stay what they were.
        const QString out = dir.filePath("out.txt");
        put(out, "before\n");
        const int saved = ::dup(1);
        const int file = ::open(out.toLocal8Bit().constData(), O_WRONLY);
        ::dup2(file, 1);
        ::close(file);
        const ino_t inode = info(out).st_ino;
        const auto result = writeFileAtomically("/dev/stdout", "report\n");
        ::dup2(saved, 1);
        ::close(saved);
        QCOMPARE(result, std::nullopt);
        QCOMPARE(contents(out), QByteArray("before\nreport\n"));
        QCOMPARE(info(out).st_ino, inode);
        QVERIFY(S_ISLNK(info("/dev/stdout", false).st_mode));
        QCOMPARE(names(dir.path()), (QStringList{"fifo", "out.txt"}));
    }

    // Character devices made for the test (copies of /dev/null and /dev/full) stay devices;
    // the full one reports the real "No space left on device". A link to the real full device
    // stays that link.
    void writesCharacterDevices_data() {
        columns<int, QString>("minor", "expected");
        QTest::newRow("null") << 3 << QString();
        QTest::newRow("full") << 7 << QString::fromStdString(text(ENOSPC));
        QTest::newRow("link to /dev/full") << -1 << QString::fromStdString(text(ENOSPC));
    }
    void writesCharacterDevices() {
        const auto [minor, expected] = fetch<int, QString>("minor", "expected");
        QTemporaryDir dir;
        const QString device = dir.filePath("device");
        const QByteArray name = device.toLocal8Bit();
        if (minor < 0) {
            QCOMPARE(::symlink("/dev/full", name.constData()), 0);
        } else if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, minor)) != 0) {
            QSKIP("making a device node needs the superuser");
        }
        const auto result = writeFileAtomically(device.toStdString(), kNew);
        QCOMPARE(QString::fromStdString(result.value_or("")), expected);
        QCOMPARE(QFile::symLinkTarget(device), minor < 0 ? "/dev/full" : "");
        QVERIFY(S_ISCHR(info(device).st_mode));
        QCOMPARE(info(device).st_rdev, makedev(1, minor < 0 ? 7 : minor));
        QCOMPARE(names(dir.path()), QStringList{"device"});
    }

    // A file system with no room left: replacing and rewriting in place (a second name, or
    // no room for even a temporary file's first block) both leave the old file whole.
    void fullFileSystem_data() {
        columns<bool>("hardLink");
        QTest::newRow("replace") << false;
        QTest::newRow("in place") << true;
    }
    void fullFileSystem() {
        const auto [hardLink] = fetch<bool>("hardLink");
        QTemporaryDir dir;
        const QByteArray old(6000, 'o');
        SmallDisk disk(dir.filePath("disk"), "size=64k");
        if (!disk.mounted) QSKIP("mounting a small file system needs the superuser");
        const QString path = disk.path + "/old.vok";
        put(path, old);
        disk.fill();
        if (hardLink) {
            QCOMPARE(::link(path.toLocal8Bit().constData(),
                            (disk.path + "/twin").toLocal8Bit().constData()),
                     0);
        }
        const QStringList before = names(disk.path);
        QCOMPARE(writeFileAtomically(path.toStdString(), std::string(20000, 'n')), text(ENOSPC));
        QCOMPARE(contents(path), old);
        QCOMPARE(names(disk.path), before);
        QCOMPARE(names(backups()), QStringList());
    }

    // The old file's owner, group and permission bits (set-user-ID too) carry over; where
    // the owner may not be given away (EPERM), the save still goes ahead.
    void keepsOwnerAndMode_data() {
        columns<int, int>("mode", "ownerError");
        QTest::newRow("0640") << 0640 << 0;
        QTest::newRow("set-user-ID 04754") << 04754 << 0;
        QTest::newRow("owner refused") << 0604 << EPERM;
    }
    void keepsOwnerAndMode() {
        const auto [mode, ownerError] = fetch<int, int>("mode", "ownerError");
        if (::geteuid() != 0) QSKIP("giving a file to another user needs the superuser");
        QTemporaryDir dir;
        const QString path = dir.filePath("m.vok");
        put(path, bytes(kOld));
        const QByteArray p = path.toLocal8Bit();
        QCOMPARE(::chown(p.constData(), 12345, 23456), 0);
        QCOMPARE(::chmod(p.constData(), mode_t(mode)), 0);
        FileFault fault(FileStep::ChangeOwner, ownerError == 0 ? EIO : ownerError,
                        ownerError ? 0 : 9);
        QCOMPARE(writeFileAtomically(path.toStdString(), kNew), std::nullopt);
        const struct stat s = info(path);
        QCOMPARE(contents(path), bytes(kNew));
        QCOMPARE(int(s.st_mode & 07777), mode);
        QCOMPARE(s.st_uid, uid_t(ownerError ? 0 : 12345));
        QCOMPARE(s.st_gid, gid_t(ownerError ? 0 : 23456));
    }

    // A real read-only folder, for a user other than the superuser: the file is rewritten in
    // place.
    void readOnlyFolderForReal() {
        if (::geteuid() == 0) QSKIP("the superuser writes into read-only folders");
        QTemporaryDir dir;
        const QString path = dir.filePath("m.vok");
        put(path, bytes(kOld));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const auto result = writeFileAtomically(path.toStdString(), kNew);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(result, std::nullopt);
        QCOMPARE(contents(path), bytes(kNew));
        QCOMPARE(names(dir.path()), QStringList{"m.vok"});
    }

    // Folders are refused before anything is made; a missing folder is the system's error.
    void refusesWhatCannotBeAFile_data() {
        columns<QString, int>("target", "error");
        QTest::newRow("folder") << "sub" << EISDIR;
        QTest::newRow("trailing slash") << "m.vok/" << EISDIR;
        QTest::newRow("link to a folder") << "to-sub" << EISDIR;
        QTest::newRow("missing folder") << "none/m.vok" << ENOENT;
    }
    void refusesWhatCannotBeAFile() {
        const auto [target, error] = fetch<QString, int>("target", "error");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("sub"));
        QCOMPARE(::symlink("sub", dir.filePath("to-sub").toLocal8Bit().constData()), 0);
        const QStringList before = names(dir.path());
        QCOMPARE(writeFileAtomically(dir.filePath(target).toStdString(), kNew), text(error));
        QCOMPARE(names(dir.path()), before);
        QCOMPARE(names(dir.filePath("sub")), QStringList());
    }
};

QTEST_APPLESS_MAIN(TestFileWriter)
#include "test_file_writer.moc"
