#pragma once

#include <QStatusBar>
#include <functional>

class QLabel;
class QTimer;

// The main window's status bar: a fixed text, today's date, the time, and the Caps,
// Num and Scroll Lock and insert indicators, lit while their state is on. Whether the
// editor inserts (rather than overwrites) is asked of `insertMode`.
class StatusBar : public QStatusBar {
public:
    StatusBar(std::function<bool()> insertMode, QWidget *parent = nullptr);

    // The panel at a position from 1 to 7, left to right.
    QLabel *panel(int index) const;
    int panelCount() const { return int(panels_.size()); }

    // Brings the date, the time and the indicators up to date; a timer calls it.
    void refresh();

private:
    std::function<bool()> insertMode_;
    QList<QLabel *> panels_;
    QTimer *clock_ = nullptr;
};
