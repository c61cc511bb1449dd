#pragma once
// The splash page: the product's name and picture, the disclaimer, and the way on to the first
// working page.

#include "pages/Page.h"

class QLabel;
class QPushButton;

class frmSplash : public Page {
    Q_OBJECT
public:
    explicit frmSplash(PageHost& host, QWidget* parent = nullptr);

    bool newLoanAllowed() const override { return false; }

protected:
    void onActivate() override;

private:
    QLabel* lblAPY_ = nullptr;
    QLabel* Image1_ = nullptr;
    QLabel* lblDisclaimer_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdAbout_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
};
