#pragma once
// The base of every page of the wizard: a fixed-size widget with a caption, activated each time
// it is shown, whose event handlers call the core through guard() so that no exception reaches
// the event loop.

#include "pages/PageHost.h"

#include <QString>
#include <QWidget>

#include <utility>

class Page : public QWidget {
    Q_OBJECT
public:
    // Every page has the same size: 9735 x 7500 twips, the menu bar included.
    static constexpr int kWidth = 649;
    static constexpr int kHeight = 500;

    Page(PageHost& host, const char* objectName, const QString& caption, QWidget* parent = nullptr);

    const QString& caption() const { return caption_; }

    // Each time the page becomes the visible one (after it is filled and shown).
    void activate();
    // Before the page is hidden because the user moves on.
    void deactivate();
    bool isActivePage() const { return active_; }

    // Whether New Loan is offered while this page is shown.
    virtual bool newLoanAllowed() const { return true; }

    // Enter: clicks the page's default button (its Continue or main action) when it can be
    // pressed now; false when there is none.
    bool pressDefaultButton();

protected:
    virtual void onActivate() {}
    // Enter on a button presses that button; elsewhere (a box, an option) the default one.
    void keyPressEvent(QKeyEvent* event) override;

    // Runs a handler; a run-time error or any other exception ends on the error screen.
    // Returns false when the handler did not complete.
    template <class Handler>
    bool guard(Handler&& handler) noexcept {
        return host_.guard(std::forward<Handler>(handler));
    }

    PageHost& host() const { return host_; }
    tallex::LoanRecord& record() const { return host_.record(); }
    // Shows a message through the user seam and returns the answer.
    short message(const std::string& text, short style) const;

private:
    PageHost& host_;
    QString caption_;
    bool active_ = false;
};
