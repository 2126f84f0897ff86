#ifndef COLUMNREDUCTION_H
#define COLUMNREDUCTION_H

#include <QPointF>
#include <QVector>

#include <cstddef>
#include <vector>

// Drawing a long session point by point is slow and shows nothing more than a
// reduced curve: within one pixel column only the first, lowest, highest and
// last value can be seen. These functions pick exactly those readings.
//
// Reading i of a series lies at x = i * xStep (xStep > 0). Values that are not
// finite are left out (they cannot be drawn).

// The half-open index range [first, last) of the readings that fall within
// [xMin, xMax], widened by one reading on each side so that the curve reaches
// the edges of the plot.
struct IndexRange
{
    std::size_t first = 0;
    std::size_t last = 0;
};
IndexRange visibleIndexRange(std::size_t count, double xStep, double xMin, double xMax);

// Where each of `columns` columns starts within [range.first, range.last):
// columns + 1 ascending indices, the first range.first and the last
// range.last. Every column holds at least one reading when the range holds at
// least `columns` readings; otherwise there are fewer columns, one per reading.
std::vector<std::size_t> columnBoundaries(IndexRange range, int columns);

// The readings of `values` visible in [xMin, xMax] reduced to at most four
// points per column (first, minimum, maximum, last, in the order they were
// read), each at its own x. A range of at most four readings per column is
// returned whole. The minimum and the maximum of every column are kept exactly.
QVector<QPointF> reduceToColumns(const std::vector<double> &values, double xStep, double xMin,
                                 double xMax, int columns);
// The same for stored single-precision values, each multiplied by scale (> 0)
// on the way: a series converted to the unit shown without a copy of it.
QVector<QPointF> reduceToColumns(const std::vector<float> &values, double scale, double xStep,
                                 double xMin, double xMax, int columns);

#endif // COLUMNREDUCTION_H
