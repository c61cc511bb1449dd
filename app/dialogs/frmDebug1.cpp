#include "dialogs/frmDebug1.h"

#include "pages/Page.h"

#include <QAction>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <utility>

namespace {

QFont ListingFont() {
    const QString mono = QStringLiteral("Liberation Mono");
    QFont font = QFontDatabase::hasFamily(mono) ? QFont(mono) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    // Small enough for the longest row (58 + 29 characters) to fit the page's width.
    font.setPointSize(8);
    return font;
}

QLabel* ListingLabel(QWidget* parent, const QString& name, const std::string& text, const QFont& font) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

frmDebug1::frmDebug1(const tallex::CalculationListingText& listing, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDebug1"));
    setWindowTitle(QStringLiteral("Calculation Listing"));
    setModal(true);
    const QFont font = ListingFont();

    auto* menu = new QMenuBar(this);
    QAction* mClose = menu->addAction(QStringLiteral("&Close"));
    mClose->setObjectName(QStringLiteral("mClose"));
    connect(mClose, &QAction::triggered, this, &QDialog::accept);

    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("sheet"));
    auto* rows = new QVBoxLayout(sheet);
    rows->setContentsMargins(4, 8, 4, 8);
    rows->setSpacing(0);
    // The headings start where the rows' text does, inside their border.
    for (const auto& [name, text] :
         {std::pair{"lblHeadr1", &listing.lblHeadr1}, std::pair{"lblHeadr2", &listing.lblHeadr2}}) {
        QLabel* heading = ListingLabel(sheet, QString::fromLatin1(name), *text, font);
        heading->setContentsMargins(3, 0, 0, 0);
        rows->addWidget(heading);
    }
    rows->addSpacing(8);
    for (int i = 0; i < tallex::kListingRows; ++i) {
        QLabel* row =
            ListingLabel(sheet, QStringLiteral("Label1_%1").arg(i), listing.rows[static_cast<std::size_t>(i)], font);
        // A single border, in the text colour on the colour of an input (black on white on a light
        // desktop), one value to a row.
        row->setStyleSheet(
            QStringLiteral("QLabel { background: palette(base); color: palette(text); border: 1px solid palette(text); "
                           "padding-left: 2px; }"));
        row->setFixedHeight(20);
        rows->addWidget(row);
        rows->addSpacing(7);
    }
    rows->addSpacing(6);
    const std::pair<const char*, const std::string*> status[] = {
        {"lblDebugMsg_APR", &listing.lblDebugMsg_APR},
        {"lblDebugMsg_FinanceCharge", &listing.lblDebugMsg_FinanceCharge},
        {"lblToleranceAmt", &listing.lblToleranceAmt},
        {"lblLoanTerm", &listing.lblLoanTerm},
        {"lblSubjToReimb", &listing.lblSubjToReimb},
        {"lblIrregular", &listing.lblIrregular},
        {"lblSecuredByRealEstate", &listing.lblSecuredByRealEstate},
        {"lblDatePre_093095", &listing.lblDatePre_093095},
    };
    for (const auto& [name, text] : status) {
        QLabel* label = ListingLabel(sheet, QString::fromLatin1(name), *text, font);
        label->setWordWrap(true);
        rows->addWidget(label);
    }
    rows->addStretch();

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrollListing"));
    scroll->setWidget(sheet);
    scroll->setWidgetResizable(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(scroll);

    // The size of a page, centred on the screen.
    resize(Page::kWidth, Page::kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(Page::kWidth / 2, Page::kHeight / 2));
    }
}
