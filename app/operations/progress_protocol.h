#pragma once

#include <QString>

#include <limits>

class XPProgressBar;

// Drives the progress bar for the long operations: Start, a Step per item, Finish when
// the loop ran out, Reset afterwards. Counts are 64-bit, so (Value x 100) cannot overflow.
class ProgressProtocol {
public:
    ProgressProtocol(XPProgressBar& bar, qint64& stepCounter);

    // Value 0, step counter 0, Max := total, caption shown; the prefix with "0%" as the
    // caption when `showStartCaption` (saving leaves the last caption until its first step).
    void start(qint64 total, const QString& prefix, bool showStartCaption);
    // Adds the item's weight; Value advances once the counter reaches 1/100 of Max.
    // The caption is the prefix, (Value x 100) / divisor and "%".
    void step(qint64 weight, qint64 divisor)
    {
        // Inline: this runs once per item, and almost always changes nothing visible.
        stepCounter_ += weight;
        if (stepCounter_ >= trigger_)
            showStep(divisor);
    }
    // How many steps of weight 1 from now on change nothing visible.
    qint64 quietSteps() const { return trigger_ > stepCounter_ ? trigger_ - stepCounter_ - 1 : 0; }
    // Value := Max, caption "<prefix>100%".
    void finish();
    // Value 0, caption hidden; Max and the caption text stay.
    void reset();

private:
    void showStep(qint64 divisor);
    void showPercent(qint64 percent);

    XPProgressBar& bar_;
    qint64& stepCounter_;
    QString prefix_;
    qint64 threshold_ = 0;
    qint64 value_ = 0;
    qint64 shownPercent_ = -1; // the percent the caption shows now; -1 when it shows something else
    // The step counter from which a step has something to show: the threshold, or at
    // once while the caption shows something else.
    qint64 trigger_ = std::numeric_limits<qint64>::min();
};
