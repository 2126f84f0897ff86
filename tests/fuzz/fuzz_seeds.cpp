// Writes the fuzzer's first inputs into the folder given: an example frame
// through the program's own encoder, the default settings and a log line's
// readings. Each input starts with the byte that picks the check it feeds;
// the rest is read in the host's byte order, as the fuzz target takes it.
#include "deviceprotocol.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>

namespace {

template <typename T>
void appendRaw(QByteArray &bytes, T value)
{
    bytes.append(reinterpret_cast<const char *>(&value), sizeof value);
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);

    const QByteArray frame = '\0' + encodeFrame({{-20.5f, -21.25f, -19.75f, -20.0f}, 15.0f});

    QByteArray settings(1, '\1');
    appendRaw(settings, 10);
    appendRaw(settings, 0.5);

    QByteArray logLine(1, '\2');
    for (const float reading : {101.3f, 100.0f, 99.5f, -3.25f})
        appendRaw(logLine, reading);

    const bool written = write(folder + QStringLiteral("/frame"), frame)
        && write(folder + QStringLiteral("/settings"), settings)
        && write(folder + QStringLiteral("/logline"), logLine);
    if (!written)
        std::fprintf(stderr, "fuzz_seeds: cannot write into %s\n", argv[1]);
    return written ? 0 : 1;
}
