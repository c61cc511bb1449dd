#pragma once
// The tolerance tests as two small scales, one for the APR and one for the finance charge: the
// disclosed figure with its tolerance band (and the reimbursement limit when the loan is subject
// to reimbursement) and the computed figure, coloured by the verdict. The figures, bands and
// verdicts are the core's (ToleranceScalesOf); the widget only places them on its scales.

#include "compliance/ResultsPictures.h"

#include <QFont>
#include <QPalette>
#include <QRectF>
#include <QWidget>

#include <optional>

class QPainter;

class ToleranceBand : public QWidget {
    Q_OBJECT
public:
    explicit ToleranceBand(QWidget* parent = nullptr);

    void setScales(const tallex::ToleranceScales& scales);
    const tallex::ToleranceScales& scales() const { return scales_; }

    // Where one scale is drawn.
    struct Geometry {
        QRectF bar;   // the scale
        QRectF band;  // the tolerance band on it
        double disclosedX = 0;
        double computedX = 0;
        std::optional<double> reimbursementX;
    };
    enum class Scale { Apr, FinanceCharge };
    static Geometry layOut(const tallex::ToleranceScale& scale, const QRectF& area, const QFont& font);
    static QRectF scaleArea(Scale which, const QRectF& area);
    Geometry geometry(Scale which) const;

    // Paints both scales into `area`; the widget and the printed pictures page both use it.
    static void paint(QPainter& painter, const QRectF& area, const tallex::ToleranceScales& scales,
                      const QPalette& palette, const QFont& font);
    static QString describe(const tallex::ToleranceScales& scales);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    tallex::ToleranceScales scales_;
};
