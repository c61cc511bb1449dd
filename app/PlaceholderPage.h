#pragma once
// A page that stands where a later page of the wizard will be: its caption, one line of text
// computed when it opens (the computed APR on the results page), Back, New Loan and Exit.

#include "Page.h"

#include <functional>

class QLabel;

class PlaceholderPage : public Page {
    Q_OBJECT
public:
    PlaceholderPage(PageHost& host, const char* objectName, const QString& caption, PageId back,
                    std::function<QString()> text, QWidget* parent = nullptr);

protected:
    void onActivate() override;

private:
    PageId back_;
    std::function<QString()> text_;
    QLabel* lblAPR_ = nullptr;
};
