#include "dialogs/frmSplash.h"

#include "pages/PageLayout.h"

#include "shell/StartupTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

using namespace page_layout;

namespace {

// The product picture: 2100 twips high.
constexpr int kPictureHeight = 140;
constexpr int kPictureWidth = 420;

QPixmap ProductPicture() {
    QPixmap picture(kPictureWidth, kPictureHeight);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 0, kPictureHeight);
    band.setColorAt(0, QColor(22, 58, 104));
    band.setColorAt(1, QColor(12, 32, 64));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRoundedRect(QRectF(0.5, 0.5, kPictureWidth - 1, kPictureHeight - 1), 10, 10);
    // A ledger: ruled lines with a rising rate curve across them.
    p.setPen(QPen(QColor(255, 255, 255, 50), 1));
    for (int y = 28; y < kPictureHeight - 10; y += 18) p.drawLine(24, y, kPictureWidth - 24, y);
    QPainterPath curve;
    curve.moveTo(30, kPictureHeight - 24);
    curve.cubicTo(140, kPictureHeight - 30, 220, 60, kPictureWidth - 150, 34);
    p.setPen(QPen(QColor(240, 196, 64), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(64);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(kPictureWidth - 150, 0, 130, kPictureHeight), Qt::AlignCenter, QStringLiteral("%"));
    return picture;
}

}  // namespace

frmSplash::frmSplash(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmSplash", QString::fromLatin1(tallex::kSplashCaption), parent) {
    lblAPY_ = new QLabel(QString::fromLatin1(tallex::kSplashProductName), this);
    lblAPY_->setObjectName(QStringLiteral("lblAPY"));
    QFont title(QStringLiteral("Times New Roman"));
    title.setPointSize(26);
    title.setBold(true);
    lblAPY_->setFont(title);
    lblAPY_->setAlignment(Qt::AlignCenter);

    Image1_ = new QLabel(this);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setPixmap(ProductPicture());
    Image1_->setFixedHeight(kPictureHeight);
    Image1_->setAlignment(Qt::AlignCenter);

    lblDisclaimer_ = new QLabel(this);
    lblDisclaimer_->setObjectName(QStringLiteral("lblDisclaimer"));
    QFont disclaimer(QStringLiteral("Arial"));
    disclaimer.setPointSize(10);
    disclaimer.setBold(false);
    lblDisclaimer_->setFont(disclaimer);
    lblDisclaimer_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDisclaimer_->setWordWrap(true);
    lblDisclaimer_->setText(QString::fromStdString(tallex::DisclaimerText()));

    cmdOK_ = Button(this, "cmdOK", QStringLiteral("&Continue"));
    cmdOK_->setDefault(true);  // Enter presses it
    cmdAbout_ = Button(this, "cmdAbout", QStringLiteral("&About"));
    cmdExit_ = Button(this, "cmdExit", QStringLiteral("E&xit"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdAbout_);
    buttons->addWidget(cmdExit_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin * 2, kMargin, kMargin * 2, kMargin);
    layout->setSpacing(kSpacing * 2);
    layout->addWidget(lblAPY_);
    layout->addWidget(Image1_);
    layout->addWidget(lblDisclaimer_, 1);
    layout->addLayout(buttons);

    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        guard([this] {
            host().SwitchForm(PageId::BasicInfo);
            host().unloadPage(PageId::Splash);
        });
    });
    connect(cmdAbout_, &QPushButton::clicked, this, [this] { guard([this] { host().ShowAbout(); }); });
    connect(cmdExit_, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });
}

void frmSplash::onActivate() { cmdOK_->setFocus(Qt::OtherFocusReason); }
