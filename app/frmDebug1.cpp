#include "frmDebug1.h"

#include "Page.h"

#include <QAction>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QFont ListingFont() {
    const QString mono = QStringLiteral("Liberation Mono");
    QFont font = QFontDatabase::hasFamily(mono) ? QFont(mono) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(9);
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
    rows->setContentsMargins(13, 8, 13, 8);
    rows->setSpacing(0);
    rows->addWidget(ListingLabel(sheet, QStringLiteral("lblHeadr1"), listing.lblHeadr1, font));
    rows->addWidget(ListingLabel(sheet, QStringLiteral("lblHeadr2"), listing.lblHeadr2, font));
    rows->addSpacing(8);
    for (int i = 0; i < tallex::kListingRows; ++i) {
        QLabel* row = ListingLabel(sheet, QStringLiteral("Label1_%1").arg(i), listing.rows[static_cast<std::size_t>(i)], font);
        // A single border, black on white, one value to a row.
        row->setFrameShape(QFrame::Box);
        row->setAutoFillBackground(true);
        QPalette palette = row->palette();
        palette.setColor(QPalette::Window, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::black);
        row->setPalette(palette);
        row->setFixedHeight(20);
        row->setContentsMargins(2, 0, 2, 0);
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
