#include "widgets/ToleranceBand.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

using namespace tallex;

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

QString Title(ToleranceBand::Scale which) {
    return which == ToleranceBand::Scale::Apr ? QStringLiteral("Annual percentage rate")
                                              : QStringLiteral("Finance charge");
}

const ToleranceScale& ScaleOf(const ToleranceScales& scales, ToleranceBand::Scale which) {
    return which == ToleranceBand::Scale::Apr ? scales.apr : scales.financeCharge;
}

// Red for a violation, green when accurate, the palette's mid tone when nothing was tested; the
// two hues are mid tones that read on light and dark backgrounds alike.
QColor OutcomeColour(ToleranceOutcome outcome, const QPalette& palette) {
    switch (outcome) {
    case ToleranceOutcome::Violation: return QColor(214, 48, 49);
    case ToleranceOutcome::Accurate: return QColor(46, 160, 90);
    case ToleranceOutcome::NotTested: break;
    }
    return palette.color(QPalette::Mid);
}

QString BandText(const ToleranceScale& s) {
    QString text = QStringLiteral("Tolerance %1").arg(Text(s.toleranceText));
    if (s.reimbursementLimit) text += QStringLiteral("; reimbursement above %1").arg(Text(s.reimbursementText));
    return text;
}

// One line of text centred on x, kept inside [left, right].
QRectF CentredText(const QFontMetricsF& fm, const QString& text, double x, double top, double left, double right) {
    const double width = std::min(fm.horizontalAdvance(text) + 2, right - left);
    const double start = std::clamp(x - width / 2, left, std::max(left, right - width));
    return {start, top, width, fm.height()};
}

}  // namespace

ToleranceBand::ToleranceBand(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picToleranceBand"));
    setAccessibleName(QStringLiteral("Tolerance scales"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void ToleranceBand::setScales(const ToleranceScales& scales) {
    scales_ = scales;
    setAccessibleDescription(describe(scales_));
    update();
}

QSize ToleranceBand::sizeHint() const { return {420, 180}; }
QSize ToleranceBand::minimumSizeHint() const { return {160, 100}; }

QRectF ToleranceBand::scaleArea(Scale which, const QRectF& area) {
    const QRectF inner = area.adjusted(10, 4, -10, -4);
    const double half = inner.height() / 2;
    return which == Scale::Apr ? QRectF(inner.left(), inner.top(), inner.width(), half)
                               : QRectF(inner.left(), inner.top() + half, inner.width(), half);
}

ToleranceBand::Geometry ToleranceBand::layOut(const ToleranceScale& s, const QRectF& area, const QFont& font) {
    const QFontMetricsF fm(font);
    const double lh = fm.height();
    // Title, the computed figure, the bar, the disclosed figure, the band's text.
    const double barHeight = std::clamp(area.height() - 4 * lh - 6, 6.0, 16.0);
    const double used = 4 * lh + barHeight;
    const double top = area.top() + std::max(0.0, (area.height() - used) / 2);
    Geometry g;
    g.bar = QRectF(area.left() + 4, top + 2 * lh, area.width() - 8, barHeight);

    double low = std::min({s.disclosed, s.computed, s.high});
    double high = std::max({s.disclosed, s.computed, s.high});
    if (!s.lowOpen) low = std::min(low, s.low);
    if (s.reimbursementLimit) high = std::max(high, *s.reimbursementLimit);
    if (!std::isfinite(high - low)) {  // nothing a scale can show
        low = 0;
        high = 0;
    }
    const double pad = high > low ? (high - low) * 0.15 : std::max(1.0, std::fabs(high) * 0.01);
    low -= pad;
    high += pad;
    const auto x = [&](double value) { return g.bar.left() + (value - low) / (high - low) * g.bar.width(); };
    g.disclosedX = x(s.disclosed);
    g.computedX = x(s.computed);
    const double bandLeft = s.lowOpen ? g.bar.left() : x(s.low);
    g.band = QRectF(QPointF(bandLeft, g.bar.top()), QPointF(x(s.high), g.bar.bottom()));
    if (s.reimbursementLimit) g.reimbursementX = x(*s.reimbursementLimit);
    return g;
}

ToleranceBand::Geometry ToleranceBand::geometry(Scale which) const {
    return layOut(ScaleOf(scales_, which), scaleArea(which, QRectF(contentsRect())), font());
}

void ToleranceBand::paint(QPainter& painter, const QRectF& area, const ToleranceScales& scales, const QPalette& palette,
                          const QFont& font) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetricsF fm(font);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF boldMetrics(bold);
    const double lh = fm.height();
    const QColor text = palette.color(QPalette::WindowText);
    for (Scale which : {Scale::Apr, Scale::FinanceCharge}) {
        const ToleranceScale& s = ScaleOf(scales, which);
        const QRectF region = scaleArea(which, area);
        const Geometry g = layOut(s, region, font);
        const QColor verdict = OutcomeColour(s.outcome, palette);
        const double left = region.left(), right = region.right();

        // Title and verdict.
        const QString title = Title(which);
        const double titleWidth = boldMetrics.horizontalAdvance(title + QStringLiteral("  "));
        const double titleTop = g.bar.top() - 2 * lh;
        painter.setFont(bold);
        painter.setPen(text);
        painter.drawText(QRectF(left, titleTop, titleWidth, lh), Qt::AlignLeft | Qt::AlignVCenter, title);
        painter.setPen(s.outcome == ToleranceOutcome::NotTested ? text : verdict);
        painter.drawText(QRectF(left + titleWidth, titleTop, right - left - titleWidth, lh),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         boldMetrics.elidedText(Text(s.outcomeText), Qt::ElideRight, right - left - titleWidth));
        painter.setFont(font);

        // The scale, the band, the reimbursement limit, the disclosed figure.
        QColor track = palette.color(QPalette::Mid);
        track.setAlpha(60);
        painter.fillRect(g.bar, track);
        QColor band = verdict;
        band.setAlpha(s.outcome == ToleranceOutcome::NotTested ? 90 : 110);
        painter.fillRect(g.band, band);
        painter.setPen(QPen(verdict, 1));
        painter.drawRect(g.band);
        if (g.reimbursementX) {
            painter.setPen(QPen(text, 1.2, Qt::DashLine));
            painter.drawLine(QPointF(*g.reimbursementX, g.bar.top() - 3),
                             QPointF(*g.reimbursementX, g.bar.bottom() + 3));
        }
        painter.setPen(QPen(text, 2));
        painter.drawLine(QPointF(g.disclosedX, g.bar.top() - 2), QPointF(g.disclosedX, g.bar.bottom() + 2));

        // The computed figure: a diamond in the verdict's colour.
        const double r = std::max(4.0, g.bar.height() / 2 + 1);
        const QPointF c(g.computedX, g.bar.center().y());
        QPainterPath diamond;
        diamond.moveTo(c.x(), c.y() - r);
        diamond.lineTo(c.x() + r, c.y());
        diamond.lineTo(c.x(), c.y() + r);
        diamond.lineTo(c.x() - r, c.y());
        diamond.closeSubpath();
        painter.fillPath(diamond, verdict);
        painter.setPen(QPen(text, 1));
        painter.drawPath(diamond);

        // The figures: computed above the scale, disclosed below it, then the band in words.
        const QString computed = QStringLiteral("Computed %1").arg(Text(s.computedText));
        painter.drawText(CentredText(fm, computed, g.computedX, g.bar.top() - lh - 1, left, right), Qt::AlignCenter,
                         computed);
        const QString disclosed = QStringLiteral("Disclosed %1").arg(Text(s.disclosedText));
        painter.drawText(CentredText(fm, disclosed, g.disclosedX, g.bar.bottom() + 1, left, right), Qt::AlignCenter,
                         disclosed);
        const QString bandText = BandText(s);
        painter.drawText(QRectF(left, g.bar.bottom() + 1 + lh, right - left, lh), Qt::AlignLeft | Qt::AlignVCenter,
                         fm.elidedText(bandText, Qt::ElideRight, right - left));
    }
    painter.restore();
}

QString ToleranceBand::describe(const ToleranceScales& scales) {
    QStringList parts;
    for (Scale which : {Scale::Apr, Scale::FinanceCharge}) {
        const ToleranceScale& s = ScaleOf(scales, which);
        parts << QStringLiteral("%1: %2. Disclosed %3, computed %4. %5.")
                     .arg(Title(which), Text(s.outcomeText), Text(s.disclosedText), Text(s.computedText), BandText(s));
    }
    return parts.join(QLatin1Char(' '));
}

void ToleranceBand::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(contentsRect()), scales_, palette(), font());
}
