#pragma once
// What the window benchmarks share: counting a widget's paints, so a step is timed until the
// screen shows it, and the median of the steps' times.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace qrb::bench {

// Counts the paints of the widget it filters.
class PaintCounter : public QObject {
public:
    int paints = 0;

    // Milliseconds from `act` to the widget's next paint.
    double millisecondsToPaint(const std::function<void()>& act) {
        const int before = paints;
        const auto start = std::chrono::steady_clock::now();
        act();
        while (paints == before)
            QCoreApplication::processEvents();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace qrb::bench
