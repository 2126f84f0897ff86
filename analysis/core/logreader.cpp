#include "logreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
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
        // Below the smallest subnormal is still a number: zero of its sign.
        double wide = 0.0;
        const std::from_chars_result again = std::from_chars(begin, end, wide);
        if (again.ec == std::errc() && again.ptr == end && std::abs(wide) < 1.0) {
            value = static_cast<float>(wide);
            ok = true;
            return LineProblem::NotANumber;
        }
        return LineProblem::OutOfRange;
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

const QString kLogPrefix = QStringLiteral("log_A_B_C_D_EMEDIE");
const QString kTopPrefix = QStringLiteral("TOP_");

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

ReadResult parseLogText(const char *data, std::size_t size, const QString &fileName,
                        BadLinePolicy policy)
{
    ReadResult result;
    result.session.fileName = fileName;

    // NUL bytes are never in a text log: refuse the file as a whole.
    if (const void *nul = std::memchr(data, '\0', size)) {
        const char *at = static_cast<const char *>(nul);
        std::size_t line = 1;
        for (const char *p = data; p != at; ++p)
            line += *p == '\n';
        result.status = ReadStatus::BinaryFile;
        result.lineErrors.push_back({line, LineProblem::BinaryData, 0, 0});
        result.errorText = LogReaderTexts::tr("%1 is a binary file, not a measurement log (line %2)")
                               .arg(QDir::toNativeSeparators(fileName))
                               .arg(static_cast<qulonglong>(line));
        return result;
    }

    // Lines of the usual length take some 85 bytes.
    const std::size_t expected = size / 80 + 1;
    for (auto &column : result.session.columns)
        column.reserve(expected);

    // Blank lines at the very end are no lines at all; elsewhere a blank
    // line is a bad line like any other.
    const char *p = data;
    const char *end = data + size;
    // A UTF-8 byte-order mark, as some editors add when a log is saved again.
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    while (end != p && (isBlank(end[-1]) || end[-1] == '\r' || end[-1] == '\n'))
        --end;
    std::size_t lineNumber = 0;
    while (p != end) {
        ++lineNumber;
        const char *newline =
            static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char *contentEnd = newline ? newline : end;
        if (contentEnd != p && contentEnd[-1] == '\r')
            --contentEnd;
        const LineParse parse = parseLogLine(p, contentEnd);
        if (parse.ok) {
            for (std::size_t c = 0; c < parse.values.size(); ++c)
                result.session.columns[c].push_back(parse.values[c]);
        } else {
            const LineError error{lineNumber, parse.problem, parse.fieldCount, parse.field};
            if (policy == BadLinePolicy::Stop) {
                result.status = ReadStatus::BadLine;
                result.lineErrors.push_back(error);
                result.errorText = lineErrorText(fileName, error);
                result.session = Session();
                result.session.fileName = fileName;
                return result;
            }
            ++result.session.skippedLines;
            if (result.lineErrors.size() < kMaxReportedLineErrors)
                result.lineErrors.push_back(error);
        }
        p = newline ? newline + 1 : end;
    }

    if (result.session.isEmpty()) {
        result.status = ReadStatus::NoReadings;
        if (result.session.skippedLines > 0) {
            result.errorText =
                LogReaderTexts::tr("%1 holds no valid readings (%n bad lines)", nullptr,
                                   static_cast<int>(
                                       qMin<std::size_t>(result.session.skippedLines, 0x7fffffff)))
                    .arg(QDir::toNativeSeparators(fileName));
        } else {
            result.errorText =
                LogReaderTexts::tr("%1 holds no readings").arg(QDir::toNativeSeparators(fileName));
        }
    }
    return result;
}

ReadResult parseLogText(const QByteArray &text, const QString &fileName, BadLinePolicy policy)
{
    return parseLogText(text.constData(), static_cast<std::size_t>(text.size()), fileName, policy);
}

ReadResult readLogFile(const QString &path, BadLinePolicy policy)
{
    ReadResult result;
    result.session.fileName = path;
    QFile file(path);
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    result.status = ReadStatus::CannotOpen;
    if (!info.exists()) {
        result.errorText = LogReaderTexts::tr("%1 does not exist").arg(shown);
        return result;
    }
    if (info.isDir()) {
        result.errorText = LogReaderTexts::tr("%1 is a folder, not a log").arg(shown);
        return result;
    }
    // Devices and pipes may never end (or block opening): only plain files.
    if (!info.isFile()) {
        result.errorText = LogReaderTexts::tr("%1 is not a regular file").arg(shown);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.errorText =
            LogReaderTexts::tr("%1 cannot be opened: %2").arg(shown, file.errorString());
        return result;
    }
    result.status = ReadStatus::Ok;
    // Mapped rather than copied. The gauge replaces a log by renaming a
    // complete new file over it, so the mapped file is never cut short
    // under the reader.
    const qint64 size = file.size();
    if (size > 0) {
        if (uchar *mapped = file.map(0, size)) {
            result = parseLogText(reinterpret_cast<const char *>(mapped),
                                  static_cast<std::size_t>(size), path, policy);
            file.unmap(mapped);
        } else {
            const QByteArray bytes = file.readAll();
            result = parseLogText(bytes, path, policy);
        }
    } else {
        // Empty, or a file that reports no size of its own (/proc): read whole.
        const QByteArray bytes = file.readAll();
        result = parseLogText(bytes, path, policy);
    }
    if (file.error() != QFileDevice::NoError && result.ok()) {
        result.status = ReadStatus::CannotOpen;
        result.errorText = LogReaderTexts::tr("%1 cannot be read: %2")
                               .arg(QDir::toNativeSeparators(path), file.errorString());
        result.session = Session();
        result.session.fileName = path;
        return result;
    }
    result.session.recordedAt = dateTimeFromLogFileName(path);
    result.session.topMark = isTopLogFileName(path);
    return result;
}

std::optional<QDateTime> dateTimeFromLogFileName(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:TOP_)?log_A_B_C_D_EMEDIE(\\d{1,2})_(\\d{1,2})_(\\d{1,4})_(\\d{1,2})_(\\d{"
                       "1,2})_(\\d{1,2})\\.txt$"));
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
    return name.startsWith(kTopPrefix + kLogPrefix);
}
