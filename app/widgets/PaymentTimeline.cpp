#include "widgets/PaymentTimeline.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

using namespace tallex;

namespace {

// Payments closer than this many pixels are drawn as one bar for the stream.
constexpr double kGroupBelowPixels = 4.0;

QString Text(const std::string& s) { return QString::fromStdString(s); }

bool IsAdvance(const TimelineStream& s) { return s.amount < 0.0; }

QString LoanDateText() { return QStringLiteral("Loan date"); }

QString StreamLabel(const TimelineStream& s) {
    const QString what = IsAdvance(s) ? (s.payments == 1 ? QStringLiteral("advance") : QStringLiteral("advances"))
                                      : (s.payments == 1 ? QStringLiteral("payment") : QStringLiteral("payments"));
    if (s.payments == 1)
        return QStringLiteral("#%1  %2 of %3 at %4").arg(s.row).arg(what, Text(s.amountText), Text(s.firstText));
    return QStringLiteral("#%1  %2 %3 of %4, first at %5, last at %6")
        .arg(s.row)
        .arg(s.payments)
        .arg(what, Text(s.amountText), Text(s.firstText), Text(s.lastText));
}

QString AdvanceAtLoanDateLabel(const Timeline& t) {
    return QStringLiteral("%1 advanced at the loan date").arg(Text(t.advanceText));
}

QString TotalText(const Timeline& t) { return QStringLiteral("Total of payments %1").arg(Text(t.totalOfPaymentsText)); }

QString AxisCaption(const Timeline& t) {
    const QString days = QString::number(t.daysInUnitPeriod, 'g', 6);
    if (t.oddDays == 0.0) return QStringLiteral("Unit periods of %1 days from the loan date").arg(days);
    return QStringLiteral("Unit periods of %1 days after %2 odd days").arg(days, QString::number(t.oddDays, 'g', 6));
}

// The step between labelled ticks, in unit periods, so that labels stand apart: 1, 2, 3, 6 or 12
// times a power of ten.
double TickStep(double pixelsPerPeriod, double labelWidth) {
    const double least = (labelWidth + 14) / std::max(pixelsPerPeriod, 1e-300);
    for (double scale = 1; scale < 1e300; scale *= 10)
        for (double step : {1.0, 2.0, 3.0, 6.0, 12.0})
            if (step * scale >= least) return step * scale;
    return least;
}

// A text rectangle of one line starting at x, kept inside [left, right].
QRectF TextRect(const QFontMetricsF& fm, const QString& text, double x, double top, double left, double right) {
    const double width = std::min(fm.horizontalAdvance(text) + 2, right - left);
    const double start = std::clamp(x, left, std::max(left, right - width));
    return {start, top, width, fm.height()};
}

bool HasAdvanceAtLoanDate(const Timeline& t) { return t.advanceAtLoanDate != 0.0; }

}  // namespace

PaymentTimeline::PaymentTimeline(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picTimeline"));
    setAccessibleName(QStringLiteral("Payment timeline"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void PaymentTimeline::setTimeline(const Timeline& timeline) {
    timeline_ = timeline;
    setAccessibleDescription(describe(timeline_));
    update();
}

QSize PaymentTimeline::sizeHint() const { return {480, 200}; }
QSize PaymentTimeline::minimumSizeHint() const { return {160, 80}; }

PaymentTimeline::Layout PaymentTimeline::layOut(const Timeline& t, const QRectF& area, const QFont& font) {
    Layout l;
    const QFontMetricsF fm(font);
    const double lh = fm.height();
    l.lineHeight = lh;
    const QRectF inner = area.adjusted(8, 4, -8, -4);

    std::vector<std::size_t> above, below;
    for (std::size_t i = 0; i < t.streams.size(); ++i) (IsAdvance(t.streams[i]) ? below : above).push_back(i);
    const int belowLanes = static_cast<int>(below.size()) + (HasAdvanceAtLoanDate(t) ? 1 : 0);
    const int lanes = std::max(1, static_cast<int>(above.size()) + belowLanes);

    // Title line, the lanes, the axis with its tick labels, the axis caption.
    const double fixed = lh + (lh + 6) + lh + 4;
    const double laneHeight = std::clamp((inner.height() - fixed) / lanes, 4.0, 2.8 * lh);
    l.labelled = laneHeight >= lh + 8;
    const double barZone = l.labelled ? laneHeight - lh - 3 : laneHeight - 2;
    const double used = fixed + laneHeight * lanes;
    const double top = inner.top() + std::max(0.0, (inner.height() - used) / 2);

    const double leftPad = fm.horizontalAdvance(LoanDateText()) / 2 + 2;
    const double rightPad = fm.horizontalAdvance(QStringLiteral("0000")) / 2 + 6;
    l.titleTop = top;
    l.captionTop = top + used - lh;
    const double abovePlot = top + lh;
    l.axisY = abovePlot + laneHeight * static_cast<double>(above.size());
    l.plot = QRectF(QPointF(inner.left() + leftPad, abovePlot), QPointF(inner.right() - rightPad, l.axisY));

    const double width = l.plot.width();
    const auto x = [&](double time) { return l.plot.left() + TimelineFraction(t, time) * width; };
    const double perPeriod = t.span > 0 ? width / t.span : width;
    const double barWidth = std::clamp(perPeriod * 0.6, 1.5, 8.0);

    double largestPayment = 0, largestAdvance = std::fabs(t.advanceAtLoanDate);
    for (const TimelineStream& s : t.streams) {
        double& largest = IsAdvance(s) ? largestAdvance : largestPayment;
        largest = std::max(largest, std::fabs(s.amount));
    }
    const auto barHeight = [&](double amount, double largest) {
        return largest > 0 ? std::max(2.0, barZone * std::fabs(amount) / largest) : 2.0;
    };

    l.marks.resize(t.streams.size());
    l.lanes.resize(t.streams.size());
    const auto place = [&](std::size_t i, const QRectF& lane) {
        const TimelineStream& s = t.streams[i];
        l.lanes[i] = lane;
        const bool advance = IsAdvance(s);
        const double h = barHeight(s.amount, advance ? largestAdvance : largestPayment);
        // Payments stand on the bottom of their lane, advances hang from its top.
        const double barTop = advance ? lane.top() + 1 : lane.bottom() - 1 - h;
        if (s.payments > 1 && !(perPeriod >= kGroupBelowPixels)) {
            l.marks[i].push_back(
                QRectF(QPointF(x(s.first) - barWidth / 2, barTop), QPointF(x(s.last) + barWidth / 2, barTop + h)));
            return;
        }
        for (int j = 0; j < s.payments; ++j)
            l.marks[i].push_back(QRectF(x(s.first + j) - barWidth / 2, barTop, barWidth, h));
    };
    for (std::size_t k = 0; k < above.size(); ++k)
        place(above[k],
              QRectF(inner.left(), abovePlot + laneHeight * static_cast<double>(k), inner.width(), laneHeight));
    double belowTop = l.axisY + lh + 6;
    if (HasAdvanceAtLoanDate(t)) {
        const double h = barHeight(t.advanceAtLoanDate, largestAdvance);
        l.advanceAtLoanDate = QRectF(x(0) - barWidth / 2, belowTop + 1, barWidth, h);
        belowTop += laneHeight;
    }
    for (std::size_t k = 0; k < below.size(); ++k)
        place(below[k],
              QRectF(inner.left(), belowTop + laneHeight * static_cast<double>(k), inner.width(), laneHeight));
    return l;
}

void PaymentTimeline::paint(QPainter& painter, const QRectF& area, const Timeline& t, const QPalette& palette,
                            const QFont& font) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(font);
    const QFontMetricsF fm(font);
    const Layout l = layOut(t, area, font);
    const double lh = l.lineHeight;
    const QRectF inner = area.adjusted(8, 4, -8, -4);
    const QColor text = palette.color(QPalette::WindowText);
    const QColor payment = palette.color(QPalette::Highlight);
    // Advances in a mid-tone orange that stands apart from the highlight on light and dark palettes.
    const QColor advance(224, 130, 40);
    QColor guide = palette.color(QPalette::Mid);
    const auto x = [&](double time) { return l.plot.left() + TimelineFraction(t, time) * l.plot.width(); };

    // The odd days: the gap between the loan date and the first whole unit period.
    if (t.oddPeriods > 0) {
        QColor shade = guide;
        shade.setAlpha(70);
        painter.fillRect(QRectF(QPointF(x(0), l.plot.top()), QPointF(x(t.oddPeriods), l.axisY)), shade);
    }

    // Title: the total of payments.
    painter.setPen(text);
    const QString total = TotalText(t);
    painter.drawText(QRectF(inner.left(), l.titleTop, inner.width(), lh), Qt::AlignRight | Qt::AlignVCenter,
                     fm.elidedText(total, Qt::ElideRight, inner.width()));

    // Lanes, their bars and labels.
    for (std::size_t i = 0; i < t.streams.size(); ++i) {
        const TimelineStream& s = t.streams[i];
        const QRectF& lane = l.lanes[i];
        const bool isAdvance = IsAdvance(s);
        const QColor colour = isAdvance ? advance : payment;
        guide.setAlpha(90);
        painter.setPen(QPen(guide, 1, Qt::DotLine));
        const double baseline = isAdvance ? lane.top() + 0.5 : lane.bottom() - 0.5;
        painter.drawLine(QPointF(l.plot.left(), baseline), QPointF(l.plot.right(), baseline));
        for (const QRectF& mark : l.marks[i]) {
            if (l.marks[i].size() == 1 && s.payments > 1) {
                QColor fill = colour;
                fill.setAlpha(110);
                painter.fillRect(mark, fill);
                painter.setPen(QPen(colour, 1));
                painter.drawRect(mark);
            } else {
                painter.fillRect(mark, colour);
            }
        }
        if (!l.labelled) continue;
        const double labelTop = isAdvance ? lane.bottom() - lh - 1 : lane.top() + 1;
        const QString label = StreamLabel(s);
        const double startX = l.marks[i].empty() ? x(s.first) : l.marks[i].front().left();
        const QRectF rect = TextRect(fm, label, startX, labelTop, inner.left(), inner.right());
        painter.setPen(text);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, fm.elidedText(label, Qt::ElideRight, rect.width()));
    }
    if (HasAdvanceAtLoanDate(t)) {
        painter.fillRect(l.advanceAtLoanDate, advance);
        if (l.labelled) {
            const QString label = AdvanceAtLoanDateLabel(t);
            const double left = l.advanceAtLoanDate.right() + 4;
            painter.setPen(text);
            painter.drawText(QRectF(left, l.advanceAtLoanDate.top(), inner.right() - left, lh),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             fm.elidedText(label, Qt::ElideRight, inner.right() - left));
        }
    }

    // The axis: the loan date, then ticks at whole unit periods after the odd days.
    painter.setPen(QPen(text, 1.2));
    painter.drawLine(QPointF(l.plot.left(), l.axisY), QPointF(l.plot.right(), l.axisY));
    painter.drawLine(QPointF(x(0), l.axisY - 5), QPointF(x(0), l.axisY + 5));
    const QString loanDate = LoanDateText();
    const double loanDateWidth = fm.horizontalAdvance(loanDate);
    const QRectF loanDateRect(x(0) - loanDateWidth / 2, l.axisY + 4, loanDateWidth + 2, lh);
    painter.drawText(loanDateRect, Qt::AlignCenter, loanDate);
    const double perPeriod = t.span > 0 ? l.plot.width() / t.span : l.plot.width();
    const double step = TickStep(perPeriod, fm.horizontalAdvance(QString::number(t.span, 'g', 6)));
    double lastLabelRight = loanDateRect.right();
    for (double m = step; t.oddPeriods + m <= t.span + 1e-9 && m / step < 1000; m += step) {
        const double tx = x(t.oddPeriods + m);
        painter.drawLine(QPointF(tx, l.axisY), QPointF(tx, l.axisY + 4));
        const QString label = QString::number(m, 'g', 6);
        const double w = fm.horizontalAdvance(label);
        if (tx - w / 2 <= lastLabelRight + 6) continue;
        painter.drawText(QRectF(tx - w / 2, l.axisY + 4, w + 2, lh), Qt::AlignCenter, label);
        lastLabelRight = tx + w / 2;
    }
    const QString caption = AxisCaption(t);
    painter.drawText(QRectF(inner.left(), l.captionTop, inner.width(), lh), Qt::AlignLeft | Qt::AlignVCenter,
                     fm.elidedText(caption, Qt::ElideRight, inner.width()));
    painter.restore();
}

QString PaymentTimeline::describe(const Timeline& t) {
    QStringList parts{AxisCaption(t) + QLatin1Char('.')};
    if (HasAdvanceAtLoanDate(t)) parts << AdvanceAtLoanDateLabel(t) + QLatin1Char('.');
    for (const TimelineStream& s : t.streams)
        parts << StreamLabel(s).replace(QStringLiteral("  "), QStringLiteral(": ")) + QLatin1Char('.');
    parts << TotalText(t) + QLatin1Char('.');
    return parts.join(QLatin1Char(' '));
}

void PaymentTimeline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(contentsRect()), timeline_, palette(), font());
}
