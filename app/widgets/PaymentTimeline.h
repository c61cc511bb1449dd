#pragma once
// The payment schedule as a picture: a time axis from the loan date in unit periods, each
// payment stream in a lane of its own above the axis (a bar per payment, its height scaled to
// the amount; one bar for the whole stream when its payments stand too close to tell apart), the
// advances below the axis, the odd days shaded before the first unit period, the first and last
// payment of each stream and the total of payments labelled. The times are the core's
// (TimelinePoints); the widget only scales them into its rectangle, in the palette's colours.

#include "compliance/ResultsPictures.h"

#include <QFont>
#include <QPalette>
#include <QRectF>
#include <QWidget>

#include <vector>

class QPainter;

class PaymentTimeline : public QWidget {
    Q_OBJECT
public:
    explicit PaymentTimeline(QWidget* parent = nullptr);

    void setTimeline(const tallex::Timeline& timeline);
    const tallex::Timeline& timeline() const { return timeline_; }

    // Where everything is drawn in a rectangle.
    struct Layout {
        QRectF plot;  // the time axis runs along its bottom edge, from the loan date to the latest payment
        double axisY = 0;
        // Per stream of the timeline: the rectangle of each payment, or one rectangle for a
        // stream drawn as a group.
        std::vector<std::vector<QRectF>> marks;
        std::vector<QRectF> lanes;  // the lane of each stream (advances below the axis)
        QRectF advanceAtLoanDate;
        double lineHeight = 0;
        double titleTop = 0;    // the total of payments, above the lanes
        double captionTop = 0;  // the axis caption, below the lanes
        bool labelled = false;  // the lanes are high enough for their labels
    };
    static Layout layOut(const tallex::Timeline& timeline, const QRectF& area, const QFont& font);
    Layout layout() const { return layOut(timeline_, contentsRect(), font()); }

    // Paints the timeline into `area`; the widget and the printed pictures page both use it.
    static void paint(QPainter& painter, const QRectF& area, const tallex::Timeline& timeline, const QPalette& palette,
                      const QFont& font);

    // The timeline in words, for the accessible description.
    static QString describe(const tallex::Timeline& timeline);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    tallex::Timeline timeline_;
};
