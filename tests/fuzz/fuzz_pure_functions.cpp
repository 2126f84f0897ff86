// libFuzzer target for the byte and text logic: frame decoding, the
// settings command, the log line, the log file name and the bar value; and
// on the board's side its command reader and its EEPROM record.
// Every property checked here must hold for any input; a violation aborts.
#include "boardsettings.h"
#include "boardwire.h"
#include "deviceprotocol.h"
#include "measure/readings.h"
#include "measure/runningaverage.h"
#include "measurementlog.h"
#include "storedstate.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

template <typename T>
T take(const std::uint8_t *&data, std::size_t &size)
{
    T value{};
    const std::size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void checkFrame(const std::uint8_t *data, std::size_t size)
{
    if (size < static_cast<std::size_t>(kFrameSize))
        return;
    const MeasurementFrame frame = decodeFrame(reinterpret_cast<const char *>(data));
    const QByteArray again = encodeFrame(frame);
    require(again.size() == kFrameSize);
    require(std::memcmp(again.constData(), data, kFrameSize) == 0);

    const int reference = static_cast<int>(data[0] % 6) - 1;
    const CylinderValues differences = differencesFromReference(frame.readings, reference);
    for (std::size_t i = 0; i < 4; ++i) {
        if (reference < 0 || reference > 3)
            require(differences[i] == 0.0f);
        else if (static_cast<int>(i) == reference)
            require(sameBits(differences[i], 0.0f));
        if (const std::optional<int> bar = barValue(frame.readings[i], -50, 1))
            require(static_cast<float>(*bar)
                    == std::fmin(std::fmax(std::trunc(frame.readings[i]), -50.0f), 1.0f));
        else
            require(!std::isfinite(frame.readings[i]));
    }
}

void checkSettings(const std::uint8_t *data, std::size_t size)
{
    const int count = take<int>(data, size);
    const double coefficient = take<double>(data, size);
    const QByteArray command = encodeSettingsCommand(count, coefficient);
    require(command.size() == kSettingsCommandSize);
    require(command.startsWith("$$"));
    require(sameBits(readFloatLittleEndian(command.constData() + kInnerLoopCountOffset),
                     static_cast<float>(count)));
    const float sent = readFloatLittleEndian(command.constData() + kLowPassCoefficientOffset);
    if (std::isnan(coefficient))
        require(std::isnan(sent));
    else if (std::fabs(coefficient) <= 1e38)
        require(sameBits(sent, static_cast<float>(coefficient)));
}

void checkLogLine(const std::uint8_t *data, std::size_t size)
{
    CylinderValues readings{};
    CylinderValues averages{};
    for (float &value : readings)
        value = take<float>(data, size);
    for (float &value : averages)
        value = take<float>(data, size);
    QString log = QStringLiteral("earlier\r\n");
    writeLogLine(log, readings, averages);
    const QString line = log.mid(9);
    require(line.endsWith(QLatin1String("\r\n")));
    require(line.count(QLatin1Char('\n')) == 1 && line.count(QLatin1Char('\r')) == 1);
    require(line.count(QLatin1Char(',')) == 7);
    const QStringList fields = line.chopped(2).split(QLatin1Char(','));
    for (int i = 0; i < fields.size(); ++i) {
        const float value = i < 4 ? readings[static_cast<std::size_t>(i)]
                                  : averages[static_cast<std::size_t>(i - 4)];
        if (!std::isfinite(value))
            continue;
        const QString &field = fields[i];
        require(!field.contains(QLatin1Char('e')));
        const int point = field.indexOf(QLatin1Char('.'));
        require(point > 0 && field.size() - point - 1 == 6);
    }
}

void checkFileName(const std::uint8_t *data, std::size_t size)
{
    const std::uint32_t day = take<std::uint32_t>(data, size);
    const std::uint32_t seconds = take<std::uint32_t>(data, size);
    const QDate date = QDate(2000, 1, 1).addDays(day % 40000);
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(seconds % 86400));
    const QString prefix = QStringLiteral("TOP_log_A_B_C_D_EMEDIE");
    const QString name = logFileName(prefix, date, time);
    require(name.startsWith(prefix) && name.endsWith(QLatin1String(".txt")));
    // The six numbers read back in order, each without a leading zero.
    const QStringList numbers = name.mid(prefix.size()).chopped(4).split(QLatin1Char('_'));
    const int expected[] = {date.day(),  date.month(),  date.year(),
                            time.hour(), time.minute(), time.second()};
    require(numbers.size() == 6);
    for (int i = 0; i < 6; ++i)
        require(numbers[i] == QString::number(expected[i]));
}

void checkRunningAverage(const std::uint8_t *data, std::size_t size)
{
    RunningAverage average;
    average.setCapacity(static_cast<int>(take<std::uint8_t>(data, size) % 8) - 1);
    while (size >= sizeof(float)) {
        average.push(take<float>(data, size));
        require(average.storedValues().size() <= std::max(average.capacityLimit(), 0));
        if (!average.storedValues().isEmpty())
            (void)average.mean();
    }
}

bool settingsInRange(const board::Settings &settings)
{
    return settings.innerLoopCount >= board::kMinInnerLoopCount
        && settings.innerLoopCount <= board::kMaxInnerLoopCount && settings.lowPassCoefficient >= 0.0f
        && settings.lowPassCoefficient <= 1.0f;
}

// The board reads any stream, each byte after a pause of its own, without
// ever leaving its settings' ranges; the gauge's settings command, on time,
// always reaches it whole, and no poll is seen in its values.
void checkBoardReader(const std::uint8_t *data, std::size_t size)
{
    const int count = take<int>(data, size);
    const double coefficient = take<double>(data, size);
    const QByteArray command = encodeSettingsCommand(count, coefficient);
    board::CommandReader reader;
    std::uint32_t us = take<std::uint32_t>(data, size);
    int settingsSeen = 0;
    for (const char byte : command) {
        us += 260;
        const board::CommandReader::Command got = reader.take(static_cast<std::uint8_t>(byte), us);
        require(got != board::CommandReader::Poll);
        settingsSeen += got == board::CommandReader::SettingsCommand;
    }
    require(settingsSeen == 1);
    require(sameBits(reader.innerLoopCount(), static_cast<float>(count)));

    board::Settings settings;
    std::size_t polls = 0;
    std::size_t bytes = 0;
    while (size >= 2) {
        const std::uint8_t byte = take<std::uint8_t>(data, size);
        us += 100u * take<std::uint8_t>(data, size);
        ++bytes;
        switch (reader.take(byte, us)) {
        case board::CommandReader::Poll:
            ++polls;
            break;
        case board::CommandReader::SettingsCommand:
            settings = board::applySettingsCommand(settings, reader.innerLoopCount(),
                                                   reader.lowPassCoefficient());
            break;
        case board::CommandReader::None:
            break;
        }
        require(settingsInRange(settings));
    }
    require(polls <= bytes / 2);
}

// Whatever the EEPROM holds, the board starts from settings in range and
// plausible (or no) atmospheres, and writes back what it read.
void checkStoredState(const std::uint8_t *data, std::size_t size)
{
    if (size < board::kStoredRecordSize)
        return;
    const board::StoredState state = board::decodeStoredState(data);
    require(settingsInRange(state.settings));
    std::uint8_t record[board::kStoredRecordSize];
    board::encodeStoredState(state, record);
    const board::StoredState again = board::decodeStoredState(record);
    require(again.settings.innerLoopCount == state.settings.innerLoopCount);
    require(sameBits(again.settings.lowPassCoefficient, state.settings.lowPassCoefficient));
    for (std::size_t c = 0; c < board::kCylinders; ++c) {
        require(std::isnan(state.atmosphere[c])
                || (state.atmosphere[c] >= 60.0f && state.atmosphere[c] <= 110.0f));
        require(sameBits(again.atmosphere[c], state.atmosphere[c]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    ++data;
    --size;
    switch (selector % 7) {
    case 0:
        checkFrame(data, size);
        break;
    case 1:
        checkSettings(data, size);
        break;
    case 2:
        checkLogLine(data, size);
        break;
    case 3:
        checkFileName(data, size);
        break;
    case 4:
        checkRunningAverage(data, size);
        break;
    case 5:
        checkBoardReader(data, size);
        break;
    default:
        checkStoredState(data, size);
        break;
    }
    return 0;
}
