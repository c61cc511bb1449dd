#include "widgets/ResultsStyle.h"

#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPalette>
#include <QVariant>

#include <cmath>

namespace {

// Relative luminance of an sRGB colour.
double Luminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

// 4.5 : 1 is legible; the margin covers the rounding of a colour to eight bits a channel.
constexpr double kLegibleContrast = 4.6;

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

namespace {

constexpr char kColourProperty[] = "tallexVerdictColour";

void ApplyColour(QLabel* label, tallex::LabelColour colour) {
    if (colour == tallex::LabelColour::Black) {
        // No colour of its own: the label follows the palette.
        if (label->testAttribute(Qt::WA_SetPalette)) label->setPalette(QPalette());
        return;
    }
    const QWidget* parent = label->parentWidget();
    const QColor background = (parent ? parent->palette() : label->palette()).color(QPalette::Window);
    // A step at a time: on a dark background towards a light red, then white; on a light one
    // towards black.
    const bool dark = Luminance(background) < 0.18;
    const QColor towards[] = {dark ? QColor(255, 128, 128) : QColor(Qt::black),
                              dark ? QColor(Qt::white) : QColor(Qt::black)};
    QColor shown = ColourOf(colour);
    for (const QColor& target : towards) {
        const QColor base = shown;
        for (int step = 1; step <= 20 && ContrastRatio(shown, background) < kLegibleContrast; ++step) {
            const double t = step / 20.0;
            shown = QColor::fromRgbF(static_cast<float>(base.redF() + (target.redF() - base.redF()) * t),
                                     static_cast<float>(base.greenF() + (target.greenF() - base.greenF()) * t),
                                     static_cast<float>(base.blueF() + (target.blueF() - base.blueF()) * t));
        }
    }
    if (label->testAttribute(Qt::WA_SetPalette) && label->palette().color(QPalette::WindowText) == shown) return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, shown);
    label->setPalette(palette);
}

// Colours the label again when the desktop's palette changes (a dark theme chosen while the
// program runs).
class ColourFollower final : public QObject {
public:
    explicit ColourFollower(QLabel* label) : QObject(label), label_(label) { label->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ &&
            (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)) {
            const QVariant colour = label_->property(kColourProperty);
            if (colour.isValid()) ApplyColour(label_, static_cast<tallex::LabelColour>(colour.toInt()));
        }
        return false;
    }

private:
    QLabel* label_;
};

}  // namespace

void SetLabelColour(QLabel* label, tallex::LabelColour colour) {
    if (!label->property(kColourProperty).isValid()) new ColourFollower(label);
    label->setProperty(kColourProperty, static_cast<int>(colour));
    ApplyColour(label, colour);
}

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
