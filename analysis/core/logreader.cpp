#include "logreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "measurementlog.h"
#include "safefile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

// The texts of this file, under one translation context.
struct LogReaderTexts
{
    Q_DECLARE_TR_FUNCTIONS(LogReader)
};

bool isTextByte(unsigned char byte)
{
    return byte == '\t' || byte == '\r' || (byte >= 0x20 && byte < 0x7f);
}

bool hasBinaryByte(const char *begin, const char *end)
{
    for (const char *p = begin; p != end; ++p) {
        if (!isTextByte(static_cast<unsigned char>(*p)))
            return true;
    }
    return false;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The gauge writes every number as [-]digits.digits. Such a number with at
// most 15 significant digits is an exact double integer over an exact power
// of ten, so one division rounds it correctly to double; rounding that to
// float is correct too unless the double lies next to the midpoint of two
// floats, which is left to the general parser. False: not this form, or too
// close to call.
bool parseFixedPoint(const char *begin, const char *end, float &value)
{
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char *p = begin;
    const bool negative = p != end && *p == '-';
    if (negative)
        ++p;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    bool anyDigit = false;
    for (; p != end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (mantissa == 0 && c == '0') {
                if (point)
                    ++decimals;
                continue; // leading zeros carry no significant digit
            }
            if (++digits > 15)
                return false;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            if (point)
                ++decimals;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (!anyDigit || decimals > 15)
        return false;
    const double wide = static_cast<double>(mantissa) / kPowersOfTen[decimals];
    const float narrow = static_cast<float>(wide);
    // The float on the other side of wide, and the midpoint between the two:
    // both exact in double.
    const float other =
        std::nextafter(narrow, wide > static_cast<double>(narrow) ? HUGE_VALF : -HUGE_VALF);
    const double midpoint = (static_cast<double>(narrow) + static_cast<double>(other)) / 2.0;
    if (wide != static_cast<double>(narrow)
        && std::fabs(wide - midpoint) <= std::fabs(wide) * 0x1p-50)
        return false;
    value = negative ? -narrow : narrow;
    return true;
}

// Whether a number's text, well formed, names a magnitude below one: its
// first significant digit stands after the point, or its exponent takes it
// there. For numbers too far from one for the parser to hold.
bool belowOne(const char *begin, const char *end)
{
    const char *p = begin;
    if (p != end && (*p == '-' || *p == '+'))
        ++p;
    long long magnitude = 0; // the power of ten of the first significant digit, plus one
    bool significant = false;
    bool point = false;
    for (; p != end && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') {
            point = true;
        } else if (*p != '0' || significant) {
            if (!significant && point)
                break;
            significant = true;
            if (!point)
                ++magnitude;
        } else if (point) {
            --magnitude;
        }
    }
    while (p != end && *p != 'e' && *p != 'E')
        ++p;
    if (p != end) {
        ++p;
        const bool negative = p != end && *p == '-';
        if (p != end && (*p == '-' || *p == '+'))
            ++p;
        long long exponent = 0;
        const std::from_chars_result read = std::from_chars(p, end, exponent);
        if (read.ec == std::errc::result_out_of_range)
            return negative; // an exponent of more digits than any range
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude <= 0;
}

// One field, spaces around it allowed.
LineProblem parseField(const char *begin, const char *end, float &value, bool &ok)
{
    while (begin != end && isBlank(*begin))
        ++begin;
    while (end != begin && isBlank(end[-1]))
        --end;
    ok = false;
    if (begin == end)
        return LineProblem::NotANumber;
    if (parseFixedPoint(begin, end, value)) {
        ok = true;
        return LineProblem::NotANumber;
    }
    const std::from_chars_result result = std::from_chars(begin, end, value);
    if (result.ec == std::errc::result_out_of_range && result.ptr == end) {
        // Too small to tell from zero is still a number: zero of its sign.
        if (!belowOne(begin, end))
            return LineProblem::OutOfRange;
        value = *begin == '-' ? -0.0f : 0.0f;
        ok = true;
        return LineProblem::NotANumber;
    }
    if (result.ec != std::errc() || result.ptr != end)
        return LineProblem::NotANumber;
    ok = true;
    return LineProblem::NotANumber;
}

QString problemText(const LineError &error)
{
    switch (error.problem) {
    case LineProblem::FieldCount:
        if (error.fieldCount <= 1)
            return LogReaderTexts::tr(
                "expected 8 comma-separated numbers, found an empty or single field");
        return LogReaderTexts::tr("expected 8 comma-separated numbers, found %1 fields")
            .arg(error.fieldCount);
    case LineProblem::NotANumber:
        return LogReaderTexts::tr("field %1 is not a number").arg(error.field);
    case LineProblem::OutOfRange:
        return LogReaderTexts::tr("field %1 is a number too large for a reading").arg(error.field);
    case LineProblem::BinaryData:
        return LogReaderTexts::tr("binary data, not text");
    }
    return QString();
}


} // namespace

LineParse parseLogLine(const char *begin, const char *end)
{
    LineParse parse;
    int field = 0;
    const char *fieldBegin = begin;
    for (;;) {
        const char *comma = static_cast<const char *>(
            std::memchr(fieldBegin, ',', static_cast<std::size_t>(end - fieldBegin)));
        const char *fieldEnd = comma ? comma : end;
        if (field < kLogColumnCount) {
            bool ok = false;
            const LineProblem problem =
                parseField(fieldBegin, fieldEnd, parse.values[static_cast<std::size_t>(field)], ok);
            if (!ok && parse.field == 0) {
                parse.problem = problem;
                parse.field = field + 1;
            }
        }
        ++field;
        if (!comma)
            break;
        fieldBegin = comma + 1;
    }
    parse.fieldCount = field;
    // A byte that is not text never passes as part of a number, so a line
    // of eight good numbers needs no scan for them.
    if (field == kLogColumnCount && parse.field == 0) {
        parse.ok = true;
        return parse;
    }
    if (hasBinaryByte(begin, end)) {
        parse.problem = LineProblem::BinaryData;
        parse.field = 0;
        return parse;
    }
    if (field != kLogColumnCount) {
        parse.problem = LineProblem::FieldCount;
        parse.field = 0;
        return parse;
    }
    return parse;
}

QString lineErrorText(const QString &fileName, const LineError &error)
{
    return LogReaderTexts::tr("%1, line %2: %3")
        .arg(QDir::toNativeSeparators(fileName))
        .arg(static_cast<qulonglong>(error.lineNumber))
        .arg(problemText(error));
}

namespace {

bool isBlankLine(const char *begin, const char *end)
{
    for (const char *p = begin; p != end; ++p) {
        if (!isBlank(*p) && *p != '\r')
            return false;
    }
    return true;
}

QString shownName(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

int clampedCount(std::size_t count)
{
    return static_cast<int>(std::min<std::size_t>(count, 0x7fffffff));
}

// Reads a log line by line from text that comes in pieces of any size: the
// same result whether the text is in memory or read from a file in chunks.
class LogParser
{
public:
    LogParser(const QString &fileName, BadLinePolicy policy, std::size_t expectedLines)
        : policy(policy)
    {
        result.session.fileName = fileName;
        for (auto &column : result.session.columns)
            column.reserve(expectedLines);
    }

    // False once a bad line has stopped the reading.
    bool feed(const char *data, std::size_t size)
    {
        const char *p = data;
        const char *end = data + size;
        while (p != end && !stopped) {
            const char *newline =
                static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!newline) {
                carry.append(p, static_cast<int>(end - p));
                break;
            }
            if (carry.isEmpty()) {
                line(p, newline);
            } else {
                carry.append(p, static_cast<int>(newline - p));
                line(carry.constData(), carry.constData() + carry.size());
                carry.clear();
            }
            p = newline + 1;
        }
        return !stopped;
    }

    ReadResult finish()
    {
        // The last line may have no end; blank lines at the very end are no
        // lines at all.
        if (!stopped && !carry.isEmpty())
            line(carry.constData(), carry.constData() + carry.size());
        carry.clear();
        if (stopped)
            return std::move(result);
        Session &session = result.session;
        if (session.isEmpty()) {
            result.status = ReadStatus::NoReadings;
            result.errorText = session.skippedLines > 0
                ? LogReaderTexts::tr("%1 holds no valid readings (%n bad lines)", nullptr,
                                     clampedCount(session.skippedLines))
                      .arg(shownName(session.fileName))
                : LogReaderTexts::tr("%1 holds no readings").arg(shownName(session.fileName));
        }
        return std::move(result);
    }

private:
    void line(const char *begin, const char *end)
    {
        ++lineNumber;
        if (lineNumber == 1 && end - begin >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0)
            begin += 3; // a UTF-8 byte-order mark, as some editors add
        if (isBlankLine(begin, end)) {
            // Bad only when a line with something on it follows.
            if (pendingBlankLines++ == 0)
                firstPendingBlankLine = lineNumber;
            return;
        }
        for (std::size_t blank = 0; blank < pendingBlankLines; ++blank) {
            if (!badLine({firstPendingBlankLine + blank, LineProblem::FieldCount, 1, 0}))
                return;
        }
        pendingBlankLines = 0;
        if (end != begin && end[-1] == '\r')
            --end;
        const LineParse parse = parseLogLine(begin, end);
        if (!parse.ok) {
            badLine({lineNumber, parse.problem, parse.fieldCount, parse.field});
            return;
        }
        Session &session = result.session;
        for (std::size_t c = 0; c < parse.values.size(); ++c) {
            float value = parse.values[c];
            if (!std::isfinite(value)) {
                ++session.nonFiniteValues;
            } else if (std::fabs(value) > kPlausibleLimitKPa) {
                ++session.impossibleValues;
                value = std::numeric_limits<float>::quiet_NaN();
            }
            session.columns[c].push_back(value);
        }
    }

    // False when the line stops the reading.
    bool badLine(const LineError &error)
    {
        if (policy == BadLinePolicy::Stop) {
            const QString fileName = result.session.fileName;
            result = ReadResult();
            result.session.fileName = fileName;
            result.status = ReadStatus::BadLine;
            result.lineErrors.push_back(error);
            result.errorText = lineErrorText(fileName, error);
            stopped = true;
            return false;
        }
        ++result.session.skippedLines;
        if (result.lineErrors.size() < kMaxReportedLineErrors)
            result.lineErrors.push_back(error);
        return true;
    }

    BadLinePolicy policy;
    ReadResult result;
    QByteArray carry; // the start of a line whose end is in the next piece
    std::size_t lineNumber = 0;
    std::size_t pendingBlankLines = 0;
    std::size_t firstPendingBlankLine = 0;
    bool stopped = false;
};

// The first look at the text: how many lines it has, and the line of its
// first NUL byte, if any.
struct TextScan
{
    std::size_t newlines = 0;
    std::optional<std::size_t> nulLine;

    void feed(const char *data, std::size_t size)
    {
        if (nulLine)
            return;
        const char *end = data + size;
        const void *nul = std::memchr(data, '\0', size);
        const char *stop = nul ? static_cast<const char *>(nul) : end;
        for (const char *p = data; p != stop; ++p) {
            p = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(stop - p)));
            if (!p)
                break;
            ++newlines;
        }
        if (nul)
            nulLine = newlines + 1;
    }
};

ReadResult failure(const QString &fileName, ReadStatus status, const QString &text)
{
    ReadResult result;
    result.session.fileName = fileName;
    result.status = status;
    result.errorText = text;
    return result;
}

ReadResult binaryFile(const QString &fileName, std::size_t line)
{
    ReadResult result =
        failure(fileName, ReadStatus::BinaryFile,
                LogReaderTexts::tr("%1 is a binary file, not a measurement log (line %2)")
                    .arg(shownName(fileName))
                    .arg(static_cast<qulonglong>(line)));
    result.lineErrors.push_back({line, LineProblem::BinaryData, 0, 0});
    return result;
}

constexpr qint64 kChunkBytes = qint64(1) << 20;

} // namespace

ReadResult parseLogText(const char *data, std::size_t size, const QString &fileName,
                        BadLinePolicy policy)
{
    // NUL bytes are never in a text log: refuse the file as a whole.
    TextScan scan;
    scan.feed(data, size);
    if (scan.nulLine)
        return binaryFile(fileName, *scan.nulLine);
    LogParser parser(fileName, policy, scan.newlines + 1);
    parser.feed(data, size);
    return parser.finish();
}

ReadResult parseLogText(const QByteArray &text, const QString &fileName, BadLinePolicy policy)
{
    return parseLogText(text.constData(), static_cast<std::size_t>(text.size()), fileName, policy);
}

ReadResult readLogDevice(QIODevice &device, const QString &fileName, BadLinePolicy policy)
{
    const QString shown = shownName(fileName);
    const qint64 size = device.size();
    if (size > kMaxLogBytes)
        return failure(fileName, ReadStatus::TooLarge,
                       LogReaderTexts::tr(
                           "%1 is too large for a measurement log (%2 MB; at most %3 MB)")
                           .arg(shown)
                           .arg(size / 1000000)
                           .arg(kMaxLogBytes / 1000000));
    const auto changed = [&] {
        return failure(fileName, ReadStatus::Changed,
                       LogReaderTexts::tr("%1 changed while it was read (another program is "
                                          "writing it); open it again once it is complete")
                           .arg(shown));
    };
    const auto readFailed = [&] {
        return failure(fileName, ReadStatus::CannotOpen,
                       LogReaderTexts::tr("%1 cannot be read: %2").arg(shown, device.errorString()));
    };
    // Read in chunks, twice: once to count the lines, so that the readings
    // take exactly the memory they need, and once to parse them. Reading
    // (rather than mapping the file) lets a file that another program cuts
    // short or extends meanwhile end the reading with a message, not a crash.
    QByteArray chunk(static_cast<int>(kChunkBytes), Qt::Uninitialized);
    const auto readAll = [&](const auto &take) -> std::optional<qint64> {
        qint64 total = 0;
        for (;;) {
            const qint64 got = device.read(chunk.data(), kChunkBytes);
            if (got < 0)
                return std::nullopt;
            if (got == 0)
                return total;
            total += got;
            if (total > size || !take(chunk.constData(), static_cast<std::size_t>(got)))
                return total;
        }
    };
    TextScan scan;
    const std::optional<qint64> scanned = readAll([&scan](const char *data, std::size_t n) {
        scan.feed(data, n);
        return !scan.nulLine;
    });
    if (!scanned)
        return readFailed();
    if (scan.nulLine)
        return binaryFile(fileName, *scan.nulLine);
    if (*scanned != size || !device.seek(0))
        return *scanned != size ? changed() : readFailed();
    LogParser parser(fileName, policy, scan.newlines + 1);
    const std::optional<qint64> parsed =
        readAll([&parser](const char *data, std::size_t n) { return parser.feed(data, n); });
    if (!parsed)
        return readFailed();
    ReadResult result = parser.finish();
    // A bad line stops the reading early under the stop policy: then only
    // the size can tell a change.
    if ((result.status != ReadStatus::BadLine && *parsed != size) || device.size() != size)
        return changed();
    return result;
}

ReadResult readLogFile(const QString &path, BadLinePolicy policy)
{
    const QString shown = shownName(path);
    QFile file;
    FileFailure opened;
    if (!openRegularFile(file, path, &opened)) {
        switch (opened.fault) {
        case FileFault::Missing:
            return failure(path, ReadStatus::CannotOpen,
                           LogReaderTexts::tr("%1 does not exist").arg(shown));
        case FileFault::NotRegular:
            // Devices and pipes may never end: only plain files.
            return failure(path, ReadStatus::CannotOpen,
                           QFileInfo(path).isDir()
                               ? LogReaderTexts::tr("%1 is a folder, not a log").arg(shown)
                               : LogReaderTexts::tr("%1 is not a regular file").arg(shown));
        default:
            return failure(path, ReadStatus::CannotOpen,
                           LogReaderTexts::tr("%1 cannot be opened: %2").arg(shown, opened.reason));
        }
    }
    ReadResult result = readLogDevice(file, path, policy);
    if (result.ok()) {
        result.session.recordedAt = dateTimeFromLogFileName(path);
        result.session.topMark = isTopLogFileName(path);
    }
    return result;
}

std::optional<QDateTime> dateTimeFromLogFileName(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral(
            "^(?:%1)?%2(\\d{1,2})_(\\d{1,2})_(\\d{1,4})_(\\d{1,2})_(\\d{1,2})_(\\d{1,2})\\.txt$")
            .arg(QRegularExpression::escape(QLatin1String(kTopLogFileMark)),
                 QRegularExpression::escape(QLatin1String(kLogFilePrefix))));
    const QRegularExpressionMatch match = pattern.match(QFileInfo(fileName).fileName());
    if (!match.hasMatch())
        return std::nullopt;
    const auto number = [&match](int group) { return match.captured(group).toInt(); };
    // Aspirello writes the numbers without leading zeros.
    for (int group = 1; group <= 6; ++group) {
        const QString piece = match.captured(group);
        if (piece.size() > 1 && piece.startsWith(QLatin1Char('0')))
            return std::nullopt;
    }
    const QDate date(number(3), number(2), number(1));
    const QTime time(number(4), number(5), number(6));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::LocalTime);
}

bool isTopLogFileName(const QString &fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    return name.startsWith(QLatin1String(kTopLogFileMark) + QLatin1String(kLogFilePrefix));
}
