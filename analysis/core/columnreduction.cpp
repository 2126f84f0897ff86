#include "columnreduction.h"

#include <algorithm>
#include <cmath>

namespace {

// A non-negative index from a double, clamped to [0, limit] before the
// conversion so that it is always in range.
std::size_t clampedIndex(double position, std::size_t limit)
{
    if (!(position > 0.0)) // also catches NaN
        return 0;
    if (position >= double(limit))
        return limit;
    return std::size_t(position);
}

template <typename Value>
void appendIfFinite(QVector<QPointF> &points, const std::vector<Value> &values, double scale,
                    std::size_t index, double xStep)
{
    const double value = double(values[index]) * scale;
    if (std::isfinite(value))
        points.append(QPointF(double(index) * xStep, value));
}

} // namespace

IndexRange visibleIndexRange(std::size_t count, double xStep, double xMin, double xMax)
{
    IndexRange range;
    if (count == 0 || !(xStep > 0.0) || !std::isfinite(xStep))
        return range;
    if (!std::isfinite(xMin) || !std::isfinite(xMax) || xMax < xMin)
        return range;
    if (xMax < 0.0 || xMin > double(count - 1) * xStep)
        return range; // wholly beside the session
    const std::size_t begin = clampedIndex(std::floor(xMin / xStep), count);
    const std::size_t end = clampedIndex(std::ceil(xMax / xStep) + 1.0, count);
    range.first = begin > 0 ? begin - 1 : 0;
    range.last = std::min(count, end + 1);
    if (range.first >= range.last)
        range = IndexRange{};
    return range;
}

std::vector<std::size_t> columnBoundaries(IndexRange range, int columns)
{
    std::vector<std::size_t> bounds;
    if (range.last <= range.first || columns <= 0) {
        bounds.push_back(range.first);
        return bounds;
    }
    const std::size_t size = range.last - range.first;
    const std::size_t count = std::min(size, std::size_t(columns));
    bounds.reserve(count + 1);
    // Integer arithmetic: column c starts at first + c * size / count, which
    // gives every column floor or ceil of size / count readings.
    for (std::size_t c = 0; c <= count; ++c)
        bounds.push_back(range.first + c * size / count);
    return bounds;
}

namespace {

// Scaling is monotonic for a positive scale, so the lowest and highest of
// the stored values are those of the scaled ones.
template <typename Value>
QVector<QPointF> reduce(const std::vector<Value> &values, double scale, double xStep, double xMin,
                        double xMax, int columns)
{
    QVector<QPointF> points;
    const IndexRange range = visibleIndexRange(values.size(), xStep, xMin, xMax);
    if (range.last <= range.first || columns <= 0)
        return points;
    const std::size_t size = range.last - range.first;
    if (size <= 4 * std::size_t(columns)) {
        points.reserve(int(size));
        for (std::size_t i = range.first; i < range.last; ++i)
            appendIfFinite(points, values, scale, i, xStep);
        return points;
    }

    const std::vector<std::size_t> bounds = columnBoundaries(range, columns);
    points.reserve(int(4 * (bounds.size() - 1)));
    for (std::size_t c = 0; c + 1 < bounds.size(); ++c) {
        const std::size_t begin = bounds[c];
        const std::size_t end = bounds[c + 1];
        std::size_t first = end, last = end, lowest = end, highest = end;
        for (std::size_t i = begin; i < end; ++i) {
            const Value value = values[i];
            if (!std::isfinite(value))
                continue;
            if (first == end) {
                first = lowest = highest = i;
            } else {
                if (value < values[lowest])
                    lowest = i;
                if (value > values[highest])
                    highest = i;
            }
            last = i;
        }
        if (first == end)
            continue; // nothing drawable in this column
        std::size_t picked[4] = {first, std::min(lowest, highest), std::max(lowest, highest), last};
        std::size_t previous = end;
        for (std::size_t index : picked) {
            if (index == previous)
                continue;
            appendIfFinite(points, values, scale, index, xStep);
            previous = index;
        }
    }
    return points;
}

} // namespace

QVector<QPointF> reduceToColumns(const std::vector<double> &values, double xStep, double xMin,
                                 double xMax, int columns)
{
    return reduce(values, 1.0, xStep, xMin, xMax, columns);
}

QVector<QPointF> reduceToColumns(const std::vector<float> &values, double scale, double xStep,
                                 double xMin, double xMax, int columns)
{
    if (!(scale > 0.0))
        return {};
    return reduce(values, scale, xStep, xMin, xMax, columns);
}
