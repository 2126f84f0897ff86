#include "measure/runningaverage.h"

#include "measure/readings.h"

void RunningAverage::push(float value)
{
    if (capacity < 1)
        return;
    if (values.size() < static_cast<std::size_t>(capacity)) {
        values.push_back(value);
        newest = values.size() - 1;
        return;
    }
    newest = (newest + 1) % values.size();
    values[newest] = value;
}

template <typename Visit>
void RunningAverage::forEachNewestFirst(Visit visit) const
{
    if (values.empty())
        return;
    // From the newest slot down to the first, then from the last slot down
    // to the one after the newest.
    for (std::size_t i = newest + 1; i-- > 0;)
        visit(values[i]);
    for (std::size_t i = values.size(); i-- > newest + 1;)
        visit(values[i]);
}

float RunningAverage::mean() const
{
    double sum = 0.0;
    forEachNewestFirst([&sum](float value) { sum += value; });
    return toSinglePrecision(sum) / static_cast<float>(values.size());
}

CylinderValues RunningAverage::means(const std::array<RunningAverage, kCylinderCount> &averages)
{
    const std::size_t size = averages[0].values.size();
    const std::size_t newest = averages[0].newest;
    bool inStep = size > 0;
    for (const RunningAverage &average : averages)
        inStep = inStep && average.values.size() == size && average.newest == newest;
    if (!inStep)
        return {averages[0].mean(), averages[1].mean(), averages[2].mean(), averages[3].mean()};

    // Each sum in the order mean() takes, newest to oldest: only the four
    // sums are interleaved, so each comes out bit for bit the same.
    const float *first = averages[0].values.data();
    const float *second = averages[1].values.data();
    const float *third = averages[2].values.data();
    const float *fourth = averages[3].values.data();
    double sums[4] = {0.0, 0.0, 0.0, 0.0};
    const auto add = [&](std::size_t i) {
        sums[0] += first[i];
        sums[1] += second[i];
        sums[2] += third[i];
        sums[3] += fourth[i];
    };
    for (std::size_t i = newest + 1; i-- > 0;)
        add(i);
    for (std::size_t i = size; i-- > newest + 1;)
        add(i);
    const float count = static_cast<float>(size);
    return {toSinglePrecision(sums[0]) / count, toSinglePrecision(sums[1]) / count,
            toSinglePrecision(sums[2]) / count, toSinglePrecision(sums[3]) / count};
}

void RunningAverage::setCapacity(int n)
{
    capacity = n;
    values.clear();
    newest = 0;
    // Up to the longest window the form offers, the memory is taken when the
    // window is chosen rather than reading by reading.
    if (n > 0 && n <= kLongestAverage && values.capacity() < static_cast<std::size_t>(n)) {
        values.resize(static_cast<std::size_t>(n));
        values.clear();
    }
}

QList<float> RunningAverage::storedValues() const
{
    QList<float> newestFirst;
    newestFirst.reserve(static_cast<int>(values.size()));
    forEachNewestFirst([&newestFirst](float value) { newestFirst.append(value); });
    return newestFirst;
}
