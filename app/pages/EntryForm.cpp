#include "pages/EntryForm.h"

#include "pages/Page.h"
#include "pages/PageLayout.h"
#include "widgets/EntryKeys.h"

#include "entry/LoanTerms.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <algorithm>

EntryForm::EntryForm(Page& page, PageHost& host, Refusal refusal)
    : QObject(&page), page_(page), host_(host), refusal_(refusal), keys_(new EntryKeys(host.user(), this)) {}

int EntryForm::addBox(QLineEdit* box, int selectCount) {
    keys_->watchText(box, selectCount);
    // Installed after the common keys, so the page's filter sees each key first.
    box->installEventFilter(this);
    boxes_.push_back(box);
    return boxCount() - 1;
}

void EntryForm::watch(QWidget* control) { keys_->watch(control); }

int EntryForm::fieldOf(const QObject* object) const {
    const auto found = std::find(boxes_.begin(), boxes_.end(), object);
    return found == boxes_.end() ? -1 : static_cast<int>(found - boxes_.begin());
}

std::string EntryForm::text(int field) const { return box(field)->text().toStdString(); }

void EntryForm::focusField(int field) const {
    if (field >= 0 && field < boxCount()) box(field)->setFocus(Qt::OtherFocusReason);
}

tallex::EditState EntryForm::EditOf(const QLineEdit& box) {
    const bool selected = box.hasSelectedText();
    return {box.text().toStdString(), selected ? box.selectionStart() : box.cursorPosition(),
            selected ? static_cast<int>(box.selectedText().size()) : 0};
}

bool EntryForm::eventFilter(QObject* watched, QEvent* event) {
    const int field = fieldOf(watched);
    if (field < 0) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        if (!keyFilter_) return false;
        const int key = EntryKeys::KeyCodeOf(*static_cast<QKeyEvent*>(event));
        // Enter goes on to the common rule; keys that type nothing are the box's own.
        if (key == 0 || key == tallex::kKeyEnter) return false;
        bool refused = false;
        host_.guard([&] { refused = keyFilter_(field, key); });
        return refused;
    }
    if (event->type() == QEvent::FocusOut && page_.isActivePage() &&
        page_layout::IsLeaving(*static_cast<QFocusEvent*>(event)))
        host_.guard([this, field] { leave(field, false); });
    return false;
}

void EntryForm::leave(int field, bool beforeButton) {
    refusalPending_ = false;
    // After the error screen the page is on its way out: nothing is checked.
    if (!leaveCheck_ || host_.record().gbErrorShown) return;
    if (leaveCheck_(field)) return;
    if (refusal_ == Refusal::StopsButtons)
        refusalPending_ = true;
    else if (beforeButton)
        return;  // the button acts now and puts the focus where it wants
    // Once the focus change that is under way is over.
    QLineEdit* refused = box(field);
    QTimer::singleShot(0, refused, [refused = QPointer<QLineEdit>(refused)] {
        if (refused) refused->setFocus(Qt::OtherFocusReason);
    });
}

void EntryForm::onClicked(QAbstractButton* button, std::function<void()> action) {
    connect(button, &QAbstractButton::clicked, &page_, [this, action = std::move(action)] {
        host_.guard([this, &action] {
            if (leaveFocusedBox()) action();
        });
    });
}

bool EntryForm::leaveFocusedBox() {
    if (QWidget* focused = page_.focusWidget(); focused && focused->hasFocus()) {
        if (const int field = fieldOf(focused); field >= 0) {
            leave(field, true);
            return !refusalPending_;
        }
    }
    // The click that took the focus out of a refused box does not count.
    const bool refused = refusalPending_;
    refusalPending_ = false;
    return !refused;
}
