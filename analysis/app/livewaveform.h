#ifndef LIVEWAVEFORM_H
#define LIVEWAVEFORM_H

#include "measure/readings.h"

#include <QWidget>

#include <deque>

// The four raw readings of the last few seconds, one colour per cylinder,
// to tell a cylinder whose pulse differs from the others' (a leaking valve,
// false air) from a carburettor that is merely set apart.
class LiveWaveform : public QWidget
{
    Q_OBJECT
public:
    static constexpr double kSpanSeconds = 4.0;

    explicit LiveWaveform(QWidget *parent = nullptr);

    // Adds a frame; painting follows at the next refresh().
    void addFrame(double seconds, const CylinderValues &raw);
    void clear();
    // Repaints when frames came since the last paint.
    void refresh();
    std::size_t frameCount() const { return times.size(); }

    QSize sizeHint() const override { return QSize(640, 200); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::deque<double> times;
    std::deque<CylinderValues> readings;
    bool changed = false;
};

#endif // LIVEWAVEFORM_H
