#pragma once
// The user seam of the desktop program: a modal message box titled "TALLEX" with the icon and
// buttons of the style number.

#include "ui/UserSeam.h"

#include <QMessageBox>

class QtUserSeam final : public tallex::UserSeam {
public:
    short show(const std::string& text, short style) override;

    // The icon and buttons of a style number (unknown numbers: OK with no icon).
    static QMessageBox::Icon IconOf(short style);
    static QMessageBox::StandardButtons ButtonsOf(short style);
    // The answer number of a button: 1 OK, 2 Cancel, 6 Yes (Save), 7 No (Discard).
    static short AnswerOf(QMessageBox::StandardButton button);
};
