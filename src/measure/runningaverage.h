#ifndef RUNNINGAVERAGE_H
#define RUNNINGAVERAGE_H

#include "measure/readings.h"

#include <QList>

#include <array>
#include <cstddef>
#include <vector>

// The lengths of running average the form offers, and the one it starts with.
constexpr int kLongestAverage = 10000;
constexpr int kDefaultAverageLength = 10;

// The latest readings of one cylinder, newest first, and their mean.
class RunningAverage
{
public:
    RunningAverage() = default;

    // Adds a reading; when the buffer is full the oldest one leaves first.
    // A capacity below 1 keeps nothing.
    void push(float value);

    // Mean of the stored readings: summed newest to oldest in double,
    // rounded once to single precision, then divided. Only asked of a
    // buffer that holds at least one reading.
    float mean() const;

    // The mean() of each of four averages, the same bits. Averages filled in
    // step (the same capacity, pushed together) are summed side by side, in
    // one pass over their readings, which takes a fraction of the time of
    // four passes one after another.
    static CylinderValues means(const std::array<RunningAverage, kCylinderCount> &averages);

    // Sets the capacity and discards every stored reading.
    void setCapacity(int n);

    // The stored readings, newest first.
    QList<float> storedValues() const;
    int capacityLimit() const { return capacity; }

private:
    template <typename Visit>
    void forEachNewestFirst(Visit visit) const;

    // A ring: while filling, slot i holds the (i+1)-th reading; once full,
    // each new reading overwrites the oldest.
    std::vector<float> values;
    std::size_t newest = 0;
    int capacity = kDefaultAverageLength;
};

#endif // RUNNINGAVERAGE_H
