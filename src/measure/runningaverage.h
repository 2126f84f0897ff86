#ifndef RUNNINGAVERAGE_H
#define RUNNINGAVERAGE_H

#include <QList>

// The latest readings of one cylinder, newest first, and their mean.
class RunningAverage
{
public:
    RunningAverage() = default;

    // Adds a reading at the front; when the buffer is full the oldest one
    // leaves first. A capacity below 1 keeps nothing.
    void push(float value);

    // Mean of the stored readings: summed newest to oldest in double,
    // rounded once to single precision, then divided. Only asked of a
    // buffer that holds at least one reading.
    float mean() const;

    // Sets the capacity and discards every stored reading.
    void setCapacity(int n);

    const QList<float> &storedValues() const { return values; }
    int capacityLimit() const { return capacity; }

private:
    QList<float> values;
    int capacity = 10;
};

#endif // RUNNINGAVERAGE_H
