#include "progress_protocol.h"

#include "progress_bar/xp_progress_bar.h"

ProgressProtocol::ProgressProtocol(XPProgressBar& bar, qint64& stepCounter) : bar_(bar), stepCounter_(stepCounter) {}

void ProgressProtocol::start(qint64 total, const QString& prefix, bool showStartCaption)
{
    prefix_ = prefix;
    bar_.setValue(QStringLiteral("0"));
    value_ = 0;
    stepCounter_ = 0;
    bar_.setMax(QString::number(total));
    bar_.setCaptionShow(true);
    threshold_ = bar_.Max().toLongLong() / 100;
    shownPercent_ = -1;
    trigger_ = std::numeric_limits<qint64>::min();
    if (showStartCaption)
        showPercent(0);
}

void ProgressProtocol::showStep(qint64 divisor)
{
    const bool advanced = stepCounter_ >= threshold_;
    if (advanced) {
        value_ = bar_.Value().toLongLong() + stepCounter_;
        bar_.setValue(QString::number(value_));
        stepCounter_ = 0;
    }
    // Until Value moves the caption text stays the same; it is only rebuilt when it can change.
    if (advanced || shownPercent_ < 0)
        showPercent(divisor != 0 ? value_ * 100 / divisor : 0);
}

void ProgressProtocol::finish()
{
    value_ = bar_.Max().toLongLong();
    bar_.setValue(bar_.Max());
    showPercent(100);
}

void ProgressProtocol::reset()
{
    bar_.setValue(QStringLiteral("0"));
    value_ = 0;
    bar_.setCaptionShow(false);
}

void ProgressProtocol::showPercent(qint64 percent)
{
    if (percent == shownPercent_)
        return;
    shownPercent_ = percent;
    trigger_ = threshold_;
    bar_.setCaption(prefix_ + QString::number(percent) + QLatin1Char('%'));
}
