#ifndef ANALYSIS_MINMAXREDUCTION_H
#define ANALYSIS_MINMAXREDUCTION_H

#include <cstddef>
#include <vector>

// The smallest and largest finite value of one bucket of readings, and where
// the bucket lies. A bucket with no finite value has hasValue false.
struct MinMaxBucket
{
    std::size_t first = 0; // first reading of the bucket
    std::size_t count = 0; // readings in it
    float minimum = 0.0f;
    float maximum = 0.0f;
    bool hasValue = false;
};

// Splits readings [first, last) of a series into `buckets` nearly equal
// buckets (fewer when there are fewer readings) and keeps each one's minimum
// and maximum: drawing those, one bucket per pixel column, shows every peak
// of a long series at the cost of its width. Out-of-range bounds are clipped.
std::vector<MinMaxBucket> minMaxReduction(const std::vector<float> &values, std::size_t first,
                                          std::size_t last, std::size_t buckets);

#endif // ANALYSIS_MINMAXREDUCTION_H
