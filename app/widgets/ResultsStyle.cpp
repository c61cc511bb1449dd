#include "widgets/ResultsStyle.h"

#include <QFontDatabase>

QColor ColourOf(tallex::LabelColour colour) {
    const int number = static_cast<int>(colour);
    return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

QFont DisclosureAmountQFont(tallex::AmountFont font, const QFont& pageFont) {
    QFont result = pageFont;
    result.setBold(true);
    result.setPointSizeF(pageFont.pointSizeF() * 1.35);
    if (font == tallex::AmountFont::Narrow) {
        const QString narrow = QStringLiteral("Liberation Sans Narrow");
        if (QFontDatabase::hasFamily(narrow))
            result.setFamily(narrow);
        else
            result.setStretch(QFont::Condensed);
    }
    return result;
}
