// Compiles Aspirello's Windows resource script with MinGW's windres and reads
// the compiled .res back: the icon group with its images, and the version
// record with its numbers and strings.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

// Little-endian reads that yield 0 past the end instead of reading out of
// bounds, so that a damaged file fails the checks rather than the test.
quint32 readLe(const QByteArray &bytes, int at, int width)
{
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | (at + i < bytes.size() ? quint8(bytes[at + i]) : 0u);
    return value;
}
quint16 u16(const QByteArray &bytes, int at) { return quint16(readLe(bytes, at, 2)); }
quint32 u32(const QByteArray &bytes, int at) { return readLe(bytes, at, 4); }
int align4(int at) { return (at + 3) & ~3; }

// A UTF-16 string up to its terminator; `at` ends past the terminator.
QString readUtf16(const QByteArray &bytes, int &at)
{
    QString text;
    for (; at + 1 < bytes.size() && u16(bytes, at) != 0; at += 2)
        text += QChar(u16(bytes, at));
    at += 2;
    return text;
}

// A resource type or name: a number ("#14") or a text.
QString readIdOrName(const QByteArray &bytes, int &at)
{
    if (u16(bytes, at) != 0xFFFF)
        return readUtf16(bytes, at);
    at += 4;
    return QStringLiteral("#%1").arg(u16(bytes, at - 2));
}

struct Resource {
    QString type;
    QString name;
    QByteArray data;
};

QList<Resource> parseResFile(const QByteArray &bytes)
{
    QList<Resource> resources;
    for (int at = 0; at + 8 <= bytes.size();) {
        const quint32 dataSize = u32(bytes, at);
        const quint32 headerSize = u32(bytes, at + 4);
        int field = at + 8;
        Resource resource;
        resource.type = readIdOrName(bytes, field);
        resource.name = readIdOrName(bytes, field);
        resource.data = bytes.mid(at + headerSize, dataSize);
        if (headerSize < 8 || quint32(resource.data.size()) != dataSize)
            return {};
        if (resource.type != QLatin1String("#0"))  // the leading empty entry
            resources << resource;
        at = align4(at + headerSize + dataSize);
    }
    return resources;
}

// Width and height of an icon image: a PNG or a bitmap whose height counts
// the colour and the transparency mask.
QSize imageSize(const QByteArray &image)
{
    if (image.startsWith("\x89PNG")) {
        auto be32 = [&](int at) { return qFromBigEndian<quint32>(image.constData() + at); };
        return image.size() >= 24 ? QSize(int(be32(16)), int(be32(20))) : QSize();
    }
    return u32(image, 0) == 40 ? QSize(int(u32(image, 4)), int(u32(image, 8)) / 2) : QSize();
}

// One node of the version record: key, value and children.
struct VersionNode {
    QString key;
    QByteArray value;
    QList<VersionNode> children;
    QString text() const { int at = 0; return readUtf16(value, at); }
};

VersionNode parseVersionNode(const QByteArray &bytes, int at, int depth = 0)
{
    const quint16 length = u16(bytes, at);
    const quint16 valueLength = u16(bytes, at + 2);
    const bool isText = u16(bytes, at + 4) == 1;
    VersionNode node;
    int field = at + 6;
    node.key = readUtf16(bytes, field);
    field = align4(field);
    node.value = bytes.mid(field, isText ? 2 * valueLength : valueLength);
    for (field = align4(field + node.value.size()); depth < 4 && field + 6 < at + length;) {
        const quint16 childLength = u16(bytes, field);
        if (childLength == 0)
            break;
        node.children << parseVersionNode(bytes, field, depth + 1);
        field = align4(field + childLength);
    }
    return node;
}

const VersionNode *child(const VersionNode &node, const QString &key)
{
    auto found = std::find_if(node.children.cbegin(), node.children.cend(),
                              [&](const VersionNode &c) { return c.key == key; });
    return found == node.children.cend() ? nullptr : &*found;
}

}  // namespace

class TestWinResources : public QObject {
    Q_OBJECT

    QList<Resource> resources;

    QList<Resource> ofType(const QString &type) const
    {
        QList<Resource> found;
        std::copy_if(resources.cbegin(), resources.cend(), std::back_inserter(found),
                     [&](const Resource &r) { return r.type == type; });
        return found;
    }

private slots:
    void initTestCase()
    {
        if (QStringLiteral(ASPIRELLO_WINDRES).isEmpty())
            QSKIP("x86_64-w64-mingw32-windres is missing (Debian package binutils-mingw-w64-x86-64)");
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString res = scratch.filePath(QStringLiteral("aspirello.res"));
        QProcess windres;
        // windres asks MinGW's gcc for preprocessing; the host's cpp does as well.
        windres.start(QStringLiteral(ASPIRELLO_WINDRES),
                      {QStringLiteral("--preprocessor=" ASPIRELLO_CPP), QStringLiteral("-O"),
                       QStringLiteral("res"), QStringLiteral("-o"), res,
                       QStringLiteral(ASPIRELLO_RC_FILE)});
        QVERIFY(windres.waitForFinished(120000));
        QVERIFY2(windres.exitStatus() == QProcess::NormalExit && windres.exitCode() == 0,
                 windres.readAllStandardError().constData());
        QFile file(res);
        QVERIFY(file.open(QIODevice::ReadOnly));
        resources = parseResFile(file.readAll());
        QVERIFY2(!resources.isEmpty(), "the compiled resources cannot be read");
    }

    void iconGroupHoldsTheFiveSizes()
    {
        const QList<Resource> groups = ofType(QStringLiteral("#14"));
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0].name, QStringLiteral("IDI_ICON1"));
        const QByteArray &group = groups[0].data;
        QCOMPARE(u16(group, 2), quint16(1));  // icons, not cursors
        const int count = u16(group, 4);
        QCOMPARE(int(group.size()), 6 + 14 * count);

        const QList<Resource> images = ofType(QStringLiteral("#3"));
        QList<int> sizes;
        for (int i = 0; i < count; ++i) {
            const int entry = 6 + 14 * i;
            const int width = quint8(group[entry]) == 0 ? 256 : quint8(group[entry]);
            const int height = quint8(group[entry + 1]) == 0 ? 256 : quint8(group[entry + 1]);
            QCOMPARE(height, width);
            const QString id = QStringLiteral("#%1").arg(u16(group, entry + 12));
            auto image = std::find_if(images.cbegin(), images.cend(),
                                      [&](const Resource &r) { return r.name == id; });
            QVERIFY2(image != images.cend(), qPrintable(id));
            QCOMPARE(u32(group, entry + 8), quint32(image->data.size()));
            QCOMPARE(imageSize(image->data), QSize(width, height));
            sizes << width;
        }
        std::sort(sizes.begin(), sizes.end());
        QCOMPARE(sizes, QList<int>({32, 48, 64, 128, 256}));
        QCOMPARE(images.size(), count);
    }

    void versionNumbersAreZero()
    {
        const QList<Resource> versions = ofType(QStringLiteral("#16"));
        QCOMPARE(versions.size(), 1);
        const VersionNode root = parseVersionNode(versions[0].data, 0);
        QCOMPARE(root.key, QStringLiteral("VS_VERSION_INFO"));
        QCOMPARE(int(root.value.size()), 52);
        QCOMPARE(u32(root.value, 0), quint32(0xFEEF04BD));
        for (int field = 0; field < 4; ++field)  // file and product version, high and low
            QCOMPARE(u32(root.value, 8 + 4 * field), quint32(0));
    }

    void versionStrings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ProductName") << "ProductName" << "Aspirello";
        QTest::newRow("OriginalFilename") << "OriginalFilename" << "Aspirello.exe";
        QTest::newRow("FileVersion") << "FileVersion" << "0.0.0.0";
        QTest::newRow("ProductVersion") << "ProductVersion" << "0.0.0.0";
    }

    void versionStrings()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QList<Resource> versions = ofType(QStringLiteral("#16"));
        QCOMPARE(versions.size(), 1);
        const VersionNode root = parseVersionNode(versions[0].data, 0);
        const VersionNode *strings = child(root, QStringLiteral("StringFileInfo"));
        QVERIFY(strings && strings->children.size() == 1);
        const VersionNode *value = child(strings->children[0], key);
        QVERIFY2(value, qPrintable(key));
        QCOMPARE(value->text(), expected);
    }
};

QTEST_GUILESS_MAIN(TestWinResources)
#include "test_winresources.moc"
