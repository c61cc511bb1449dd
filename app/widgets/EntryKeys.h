#pragma once
// The key and focus behaviour every page shares, as an event filter on its entry controls:
// Enter in a text box, check box or option button presses the page's default button (where
// there is none, it shows the tab-key message);
// a text box selects its text from the start when it gets the focus; X (and F9) toggles a
// focused check box.

#include <QObject>

namespace tallex {
class UserSeam;
}
class QLineEdit;

class EntryKeys : public QObject {
    Q_OBJECT
public:
    EntryKeys(tallex::UserSeam& user, QObject* parent);

    // Enter handling only (check boxes and option buttons get the toggle key too).
    void watch(QWidget* control);
    // Enter handling and selection on focus of the first `selectCount` characters (the whole
    // text when negative).
    void watchText(QLineEdit* box, int selectCount = -1);

    // The key code a page's key filter sees for a key press: the character typed, 8 for
    // Backspace, 13 for Enter; 0 for keys that type nothing (arrows, Delete, shortcuts), which
    // no filter looks at.
    static int KeyCodeOf(const class QKeyEvent& event);

    // The box's selection starts at 0 and covers its first `count` characters (all when
    // negative), once the focus change that brought the caret in is over.
    static void SelectAllOnFocus(QLineEdit* box, int count = -1);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tallex::UserSeam& user_;
};
