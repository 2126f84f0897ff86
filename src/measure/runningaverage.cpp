#include "measure/runningaverage.h"

void RunningAverage::push(float value)
{
    if (capacity < 1) {
        values.clear();
        return;
    }
    while (values.size() >= capacity)
        values.removeLast();
    values.prepend(value);
}

float RunningAverage::mean() const
{
    double sum = 0.0;
    for (const float value : values)
        sum += value;
    return static_cast<float>(sum) / static_cast<float>(values.size());
}

void RunningAverage::setCapacity(int n)
{
    capacity = n;
    values.clear();
}
