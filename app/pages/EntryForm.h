#pragma once
// The entry boxes of a page and what every page does with them: the common keys (EntryKeys), the
// page's key filter, the check when the user leaves a box, and leaving the box that has the
// focus before a button acts. The page says what a key and a leave mean; the form decides when
// they happen, and runs them guarded so that an error ends on the error screen.

#include <QObject>

#include <functional>
#include <string>
#include <vector>

namespace tallex {
struct EditState;
}
class EntryKeys;
class Page;
class QAbstractButton;
class PageHost;
class QLineEdit;
class QWidget;

class EntryForm : public QObject {
    Q_OBJECT
public:
    // A key typed in box `field` (the key code of EntryKeys::KeyCodeOf): true when it is refused.
    // The filter shows any message itself. Enter and keys that type nothing never reach it.
    using KeyFilter = std::function<bool(int field, int key)>;
    // Box `field` is left: false when its entry is refused, and the box takes the focus back.
    using LeaveCheck = std::function<bool(int field)>;

    // What a refused box means for the button pressed next.
    enum class Refusal {
        LetsButtonsAct,  // the button acts; its own check says what is wrong
        StopsButtons,    // the button does nothing: the user first corrects the box
    };

    EntryForm(Page& page, PageHost& host, Refusal refusal = Refusal::LetsButtonsAct);

    // Adds a box as field number `boxCount()`: it gets the common keys, selects its first
    // `selectCount` characters (all when negative) when it gets the focus, and goes through the
    // key filter and the leave check. Returns the field number.
    int addBox(QLineEdit* box, int selectCount = -1);
    // The common keys on a control that is not a box (a check box or an option).
    void watch(QWidget* control);
    void setKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }
    void setLeaveCheck(LeaveCheck check) { leaveCheck_ = std::move(check); }

    int boxCount() const { return static_cast<int>(boxes_.size()); }
    QLineEdit* box(int field) const { return boxes_.at(static_cast<std::size_t>(field)); }
    // The field of a box, -1 for anything else.
    int fieldOf(const QObject* object) const;
    std::string text(int field) const;
    // The focus goes to the box a check refused; a field number outside the form is ignored.
    void focusField(int field) const;

    // Connects a button of the page: before its action runs (guarded), the box that still has
    // the focus (the button was pressed by its access key, which takes no focus) is left now, as
    // a click would have left it. With Refusal::StopsButtons the action does not run when that
    // box refused its entry, or when the click took the focus out of a box that did.
    void onClicked(QAbstractButton* button, std::function<void()> action);

    // No refusal is pending any more (the boxes were filled afresh, as from an opened case).
    void forgetRefusal() { refusalPending_ = false; }

    // What a key would change in a box: its text and its selection (or caret).
    static tallex::EditState EditOf(const QLineEdit& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void leave(int field, bool beforeButton);
    // Leaves the focused box; false when the button must not act.
    bool leaveFocusedBox();

    Page& page_;
    PageHost& host_;
    Refusal refusal_;
    EntryKeys* keys_ = nullptr;
    std::vector<QLineEdit*> boxes_;
    KeyFilter keyFilter_;
    LeaveCheck leaveCheck_;
    bool refusalPending_ = false;
};
