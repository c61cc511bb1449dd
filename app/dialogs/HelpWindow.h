#pragma once
// The help pages: one HTML page per screen and a contents page, built into the program as Qt
// resources and shown in a window of their own (it belongs to no page and stays open while the
// user works), opened at the contents.

#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr char kContents[] = "qrc:/help/index.html";

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the contents page and brings the window to the front.
    void showContents();
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};
