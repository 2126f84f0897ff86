#include "testlog.h"

#include "measurementlog.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTime>

void TestLog::add(const CylinderValues &raw, const CylinderValues &averages)
{
    writeLogLine(lines, raw, averages);
}

void TestLog::add(const Row &row)
{
    add({row[0], row[1], row[2], row[3]}, {row[4], row[5], row[6], row[7]});
}

void TestLog::addRaw(const CylinderValues &raw)
{
    CylinderValues means{};
    for (std::size_t c = 0; c < raw.size(); ++c) {
        averages[c].push(raw[c]);
        means[c] = averages[c].mean();
    }
    add(raw, means);
}

void TestLog::addColumns(const std::array<std::vector<float>, 8> &columns)
{
    for (std::size_t i = 0; i < columns[0].size(); ++i) {
        Row row{};
        for (std::size_t c = 0; c < row.size(); ++c)
            row[c] = columns[c].at(i);
        add(row);
    }
}

void TestLog::addText(const QString &text)
{
    lines += text;
}

bool TestLog::save(const QString &path) const
{
    return writeLogFile(path, lines) == LogSaveResult::Saved;
}

QString TestLog::saveInto(const QDir &folder, const QString &prefix, const QDate &date,
                          const QTime &time) const
{
    const QString path = folder.filePath(logFileName(prefix, date, time));
    return save(path) ? path : QString();
}

bool writeTestFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
        && file.flush();
}
