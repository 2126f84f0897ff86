#include "minmaxreduction.h"

#include <algorithm>
#include <cmath>

std::vector<MinMaxBucket> minMaxReduction(const std::vector<float> &values, std::size_t first,
                                          std::size_t last, std::size_t buckets)
{
    last = std::min(last, values.size());
    std::vector<MinMaxBucket> result;
    if (first >= last || buckets == 0)
        return result;
    const std::size_t count = last - first;
    buckets = std::min(buckets, count);
    result.reserve(buckets);
    for (std::size_t b = 0; b < buckets; ++b) {
        // Bucket b covers [first + count*b/buckets, first + count*(b+1)/buckets).
        const std::size_t begin = first + count * b / buckets;
        const std::size_t end = first + count * (b + 1) / buckets;
        MinMaxBucket bucket;
        bucket.first = begin;
        bucket.count = end - begin;
        for (std::size_t i = begin; i < end; ++i) {
            const float value = values[i];
            if (!std::isfinite(value))
                continue;
            if (!bucket.hasValue) {
                bucket.minimum = bucket.maximum = value;
                bucket.hasValue = true;
            } else {
                bucket.minimum = std::min(bucket.minimum, value);
                bucket.maximum = std::max(bucket.maximum, value);
            }
        }
        result.push_back(bucket);
    }
    return result;
}
