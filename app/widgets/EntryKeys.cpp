#include "widgets/EntryKeys.h"

#include "pages/Page.h"
#include "shell/CommonScreen.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

namespace {
constexpr char kSelectCountProperty[] = "tallexSelectCount";
}

EntryKeys::EntryKeys(tallex::UserSeam& user, QObject* parent) : QObject(parent), user_(user) {}

void EntryKeys::watch(QWidget* control) { control->installEventFilter(this); }

void EntryKeys::watchText(QLineEdit* box, int selectCount) {
    box->setProperty(kSelectCountProperty, selectCount);
    box->installEventFilter(this);
}

int EntryKeys::KeyCodeOf(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return 13;
    if (event.key() == Qt::Key_Backspace) return 8;
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return 0;
    const QString text = event.text();
    if (text.size() != 1 || !text.at(0).isPrint()) return 0;
    return text.at(0).unicode();
}

bool EntryKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // On a page Enter presses its default button; where none can be pressed, the user
            // is told to use Tab.
            Page* page = nullptr;
            for (QObject* o = watched; o && !page; o = o->parent()) page = qobject_cast<Page*>(o);
            if (!page || !page->pressDefaultButton()) tallex::EnterKeyCheck(13, user_);
            return true;
        }
        if (auto* check = qobject_cast<QCheckBox*>(watched)) {
            // The toggle keys are virtual key codes: X (88) whatever the case, and F9 (120).
            const int virtualKey = key->key() == Qt::Key_X ? 88 : key->key() == Qt::Key_F9 ? 120 : 0;
            // Alt+X is the Exit key; with Shift or without, X is the toggle.
            const bool plain = !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier));
            if (virtualKey != 0 && plain && tallex::CheckBoxKey(virtualKey)) {
                check->click();
                return true;
            }
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            SelectAllOnFocus(box, box->property(kSelectCountProperty).toInt());
    }
    return false;
}

void EntryKeys::SelectAllOnFocus(QLineEdit* box, int count) {
    // After the mouse press that gave the focus has placed the caret.
    QTimer::singleShot(0, box, [box = QPointer<QLineEdit>(box), count] {
        if (!box || !box->hasFocus()) return;
        const int length = static_cast<int>(box->text().size());
        box->setSelection(0, count < 0 ? length : std::min(count, length));
    });
}
