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
