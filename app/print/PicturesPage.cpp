#include "print/PicturesPage.h"

#include "widgets/PaymentTimeline.h"
#include "widgets/ToleranceBand.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace {

// The page is laid out in this many logical units across, so that the pictures keep the
// proportions they have on the screen at any printer resolution.
constexpr double kLogicalWidth = 760;

QPalette PrintPalette() {
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, QColor(20, 20, 20));
    palette.setColor(QPalette::Mid, QColor(150, 150, 150));
    palette.setColor(QPalette::Highlight, QColor(38, 95, 170));
    palette.setColor(QPalette::Link, QColor(190, 110, 20));
    return palette;
}

}  // namespace

void PaintPicturesPage(QPainter& painter, const QRectF& area, const tallex::Timeline& timeline,
                       const tallex::ToleranceScales& scales) {
    painter.save();
    const double scale = area.width() / kLogicalWidth;
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    const double height = area.height() / scale;
    QFont font = QApplication::font();
    font.setPixelSize(12);
    QFont heading = font;
    heading.setPixelSize(16);
    heading.setBold(true);
    const QPalette palette = PrintPalette();
    painter.setFont(heading);
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawText(QRectF(0, 0, kLogicalWidth, 28), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Payment timeline"));
    const double timelineHeight = std::min(height * 0.5, 360.0);
    PaymentTimeline::paint(painter, QRectF(0, 32, kLogicalWidth, timelineHeight), timeline, palette, font);
    const double bandTop = 32 + timelineHeight + 24;
    painter.setFont(heading);
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawText(QRectF(0, bandTop, kLogicalWidth, 28), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Tolerance"));
    ToleranceBand::paint(painter, QRectF(0, bandTop + 32, kLogicalWidth, 200), scales, palette, font);
    painter.restore();
}
