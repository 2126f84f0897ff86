#include "safefile.h"
#include "testlog.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(FileFault)

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool isFifo(const QString &path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// Makes what a row names at path: "new" (nothing), "file", "link" (to a file
// beside it), "fifo", "folder", "link to fifo", "zero" (a link to /dev/zero),
// "in a missing folder". The path, or empty when it could not be made.
QString prepare(const QTemporaryDir &dir, const QString &kind)
{
    QString path = dir.filePath(QStringLiteral("out.txt"));
    const QString target = dir.filePath(QStringLiteral("target.txt"));
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    bool made = true;
    if (kind == QLatin1String("file"))
        made = writeTestFile(path, "old");
    else if (kind == QLatin1String("link"))
        made = writeTestFile(target, "old") && QFile::link(target, path);
    else if (kind == QLatin1String("fifo"))
        made = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    else if (kind == QLatin1String("folder"))
        made = QDir().mkdir(path);
    else if (kind == QLatin1String("link to fifo"))
        made = ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0 && QFile::link(fifo, path);
    else if (kind == QLatin1String("zero"))
        made = QFile::link(QStringLiteral("/dev/zero"), path);
    else if (kind == QLatin1String("in a missing folder"))
        path = dir.filePath(QStringLiteral("none/out.txt"));
    return made ? path : QString();
}

} // namespace

// The one writer and reader of the programs' files: regular files only, a
// link to one followed, the old file intact on failure, the system's reason.
class TestSafeFile : public QObject
{
    Q_OBJECT
private slots:
    void writes_data();
    void writes();
    void reads_data();
    void reads();
};

void TestSafeFile::writes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<FileFault>("fault");
    QTest::newRow("a new file") << "new" << FileFault::None;
    QTest::newRow("over a file") << "file" << FileFault::None;
    QTest::newRow("through a link to a file") << "link" << FileFault::None;
    QTest::newRow("a pipe") << "fifo" << FileFault::NotRegular;
    QTest::newRow("a folder") << "folder" << FileFault::NotRegular;
    QTest::newRow("a link to a pipe") << "link to fifo" << FileFault::NotRegular;
    QTest::newRow("in a missing folder") << "in a missing folder" << FileFault::OpenFailed;
}

void TestSafeFile::writes()
{
    QFETCH(QString, kind);
    QFETCH(FileFault, fault);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = prepare(dir, kind);
    QVERIFY(!path.isEmpty());
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    FileFailure failure;
    const bool written = writeRegularFile(path, QByteArray("new\r\n\0bytes", 12), &failure);
    QCOMPARE(written, fault == FileFault::None);
    QCOMPARE(failure.fault, fault);
    // No temporary file is left behind, nothing is replaced by something else.
    QStringList after = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (kind == QLatin1String("new") && written)
        after.removeOne(QStringLiteral("out.txt"));
    QCOMPARE(after, before);
    if (written) {
        QCOMPARE(bytesOf(path), QByteArray("new\r\n\0bytes", 12));
        if (kind == QLatin1String("link")) {
            QVERIFY(QFileInfo(path).isSymLink()); // the link stays, its target is written
            QCOMPARE(bytesOf(dir.filePath(QStringLiteral("target.txt"))), bytesOf(path));
        }
        return;
    }
    if (fault == FileFault::OpenFailed)
        QCOMPARE(failure.reason, QStringLiteral("No such file or directory"));
    if (kind == QLatin1String("fifo"))
        QVERIFY(isFifo(path));
    if (kind == QLatin1String("link to fifo"))
        QVERIFY(isFifo(dir.filePath(QStringLiteral("pipe"))));
    if (kind == QLatin1String("folder"))
        QVERIFY(QFileInfo(path).isDir());
}

void TestSafeFile::reads_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("size");
    QTest::addColumn<FileFault>("fault");
    QTest::newRow("a file") << "file" << 100 << FileFault::None;
    QTest::newRow("an empty file") << "file" << 0 << FileFault::None;
    QTest::newRow("exactly at the limit") << "file" << 1000 << FileFault::None;
    QTest::newRow("one byte past the limit") << "file" << 1001 << FileFault::TooLarge;
    QTest::newRow("through a link") << "link" << 100 << FileFault::None;
    QTest::newRow("nothing there") << "new" << 0 << FileFault::Missing;
    QTest::newRow("a pipe: no wait for a writer") << "fifo" << 0 << FileFault::NotRegular;
    QTest::newRow("a folder") << "folder" << 0 << FileFault::NotRegular;
    QTest::newRow("a link to a pipe") << "link to fifo" << 0 << FileFault::NotRegular;
    QTest::newRow("a link to /dev/zero") << "zero" << 0 << FileFault::NotRegular;
}

void TestSafeFile::reads()
{
    QFETCH(QString, kind);
    QFETCH(int, size);
    QFETCH(FileFault, fault);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = prepare(dir, kind);
    QVERIFY(!path.isEmpty());
    const QByteArray content(size, 'x');
    if (kind == QLatin1String("file"))
        QVERIFY(writeTestFile(path, content));
    if (kind == QLatin1String("link"))
        QVERIFY(writeTestFile(dir.filePath(QStringLiteral("target.txt")), content));

    FileFailure failure;
    const std::optional<QByteArray> read = readRegularFile(path, 1000, &failure);
    QCOMPARE(failure.fault, fault);
    QCOMPARE(read.has_value(), fault == FileFault::None);
    if (read)
        QCOMPARE(*read, content);
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "test_safefile.moc"
