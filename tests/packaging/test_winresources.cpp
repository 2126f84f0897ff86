// Reads back the Windows resources that MinGW's windres compiled from
// Aspirello's resource script: the icon group with its images, and the
// version record with its numbers and strings.
#include <QtTest>

#include <algorithm>

namespace {

// Little-endian reads that yield 0 past the end, so that a damaged file
// fails the checks instead of reading out of bounds.
template <typename T>
T readLe(const QByteArray &bytes, int at)
{
    return at >= 0 && at + int(sizeof(T)) <= bytes.size()
        ? qFromLittleEndian<T>(bytes.constData() + at)
        : 0;
}
quint16 u16(const QByteArray &bytes, int at)
{
    return readLe<quint16>(bytes, at);
}
quint32 u32(const QByteArray &bytes, int at)
{
    return readLe<quint32>(bytes, at);
}
int align4(int at)
{
    return (at + 3) & ~3;
}

// A UTF-16 text up to its terminator; `at` ends past the terminator.
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

struct Resource
{
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
        const QString type = readIdOrName(bytes, field);
        Resource resource{type, readIdOrName(bytes, field),
                          bytes.mid(at + int(headerSize), int(dataSize))};
        if (headerSize < 8 || quint32(resource.data.size()) != dataSize)
            return {};
        if (resource.type != QLatin1String("#0")) // the leading empty entry
            resources << resource;
        at = align4(at + int(headerSize + dataSize));
    }
    return resources;
}

// An icon image's size: a PNG, or a bitmap whose height counts the colours
// and the transparency mask.
QSize imageSize(const QByteArray &image)
{
    if (image.startsWith("\x89PNG") && image.size() >= 24)
        return QSize(qFromBigEndian<qint32>(image.constData() + 16),
                     qFromBigEndian<qint32>(image.constData() + 20));
    return u32(image, 0) == 40 ? QSize(int(u32(image, 4)), int(u32(image, 8)) / 2) : QSize();
}

// A string of the version record: its UTF-16 key, then its value at the
// next 4-byte boundary of the record.
QString versionString(const QByteArray &record, const QString &key)
{
    const QByteArray keyBytes(reinterpret_cast<const char *>(key.utf16()), 2 * key.size() + 2);
    const int at = record.indexOf(keyBytes);
    if (at < 0)
        return QStringLiteral("<no %1>").arg(key);
    int value = align4(at + keyBytes.size());
    return readUtf16(record, value);
}

} // namespace

class TestWinResources : public QObject
{
    Q_OBJECT

    QList<Resource> resources;

    QList<Resource> ofType(const QString &type) const
    {
        QList<Resource> found;
        for (const Resource &resource : resources)
            if (resource.type == type)
                found << resource;
        return found;
    }

private slots:
    void initTestCase()
    {
        QFile file(QStringLiteral(ASPIRELLO_RES_FILE));
        QVERIFY2(file.open(QIODevice::ReadOnly), ASPIRELLO_RES_FILE);
        resources = parseResFile(file.readAll());
        QVERIFY2(!resources.isEmpty(), "the compiled resources cannot be read");
    }

    void iconGroupHoldsTheFiveSizes()
    {
        const QList<Resource> groups = ofType(QStringLiteral("#14"));
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0].name, QStringLiteral("IDI_ICON1"));
        const QByteArray &group = groups[0].data;
        const int count = u16(group, 4);
        QCOMPARE(int(group.size()), 6 + 14 * count);
        const QList<Resource> images = ofType(QStringLiteral("#3"));
        QCOMPARE(images.size(), count);
        QList<int> sizes;
        for (int entry = 6; entry < group.size(); entry += 14) {
            const int width = quint8(group[entry]) == 0 ? 256 : quint8(group[entry]);
            const int height = quint8(group[entry + 1]) == 0 ? 256 : quint8(group[entry + 1]);
            const QString id = QStringLiteral("#%1").arg(u16(group, entry + 12));
            auto image = std::find_if(images.cbegin(), images.cend(),
                                      [&](const Resource &r) { return r.name == id; });
            QVERIFY2(image != images.cend(), qPrintable(id));
            QCOMPARE(height, width);
            QCOMPARE(imageSize(image->data), QSize(width, height));
            sizes << width;
        }
        std::sort(sizes.begin(), sizes.end());
        QCOMPARE(sizes, QList<int>({32, 48, 64, 128, 256}));
    }

    void versionNumbers()
    {
        const QList<Resource> versions = ofType(QStringLiteral("#16"));
        QCOMPARE(versions.size(), 1);
        // The fixed part: its signature, then file and product version
        // (high and low words each) as numbers, all zero.
        const int fixed = versions[0].data.indexOf(QByteArray::fromHex("bd04effe"));
        QVERIFY(fixed > 0);
        for (int field = 8; field <= 20; field += 4)
            QCOMPARE(u32(versions[0].data, fixed + field), quint32(0));
    }

    void versionStrings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ProductName") << "ProductName"
                                     << "Aspirello";
        QTest::newRow("OriginalFilename") << "OriginalFilename"
                                          << "Aspirello.exe";
        QTest::newRow("FileVersion") << "FileVersion"
                                     << "0.0.0.0";
        QTest::newRow("ProductVersion") << "ProductVersion"
                                        << "0.0.0.0";
    }

    void versionStrings()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QList<Resource> versions = ofType(QStringLiteral("#16"));
        QCOMPARE(versions.size(), 1);
        QCOMPARE(versionString(versions[0].data, key), expected);
    }
};

QTEST_GUILESS_MAIN(TestWinResources)
#include "test_winresources.moc"
