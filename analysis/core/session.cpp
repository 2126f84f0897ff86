#include "session.h"

#include <QFileInfo>

const std::vector<float> &Session::raw(int cylinderIndex) const
{
    return columns[static_cast<std::size_t>(Raw1 + cylinderIndex)];
}

const std::vector<float> &Session::average(int cylinderIndex) const
{
    return columns[static_cast<std::size_t>(Average1 + cylinderIndex)];
}

void Session::append(const std::array<float, kLogColumnCount> &row)
{
    for (std::size_t c = 0; c < row.size(); ++c)
        columns[c].push_back(row[c]);
}

QString displayName(const Session &session)
{
    return printableName(QFileInfo(session.fileName).fileName());
}

QString dateTimeText(const QDateTime &dateTime)
{
    return dateTime.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}
