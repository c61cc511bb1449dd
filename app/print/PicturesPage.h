#pragma once
// The pictures of a results page printed on a page of their own after the report: the payment
// timeline above the tolerance scales, drawn in print colours (dark on white) whatever the
// screen's palette.

#include "compliance/ResultsPictures.h"

class QPainter;
class QRectF;

void PaintPicturesPage(QPainter& painter, const QRectF& area, const tallex::Timeline& timeline,
                       const tallex::ToleranceScales& scales);
