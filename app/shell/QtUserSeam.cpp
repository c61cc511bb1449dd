#include "shell/QtUserSeam.h"

#include "shell/StartupTexts.h"

#include <QApplication>

using namespace tallex;

QMessageBox::Icon QtUserSeam::IconOf(short style) {
    switch (style) {
    case kStyleCritical:
    case kStyleYesNoCritical: return QMessageBox::Critical;
    case kStyleYesNoQuestion:
    case kStyleSaveDiscardCancel: return QMessageBox::Question;
    case kStyleExclamation:
    case kStyleOkCancelWarning: return QMessageBox::Warning;
    case kStyleInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons QtUserSeam::ButtonsOf(short style) {
    switch (style) {
    case kStyleYesNoCritical:
    case kStyleYesNoQuestion: return QMessageBox::Yes | QMessageBox::No;
    case kStyleOkCancelWarning: return QMessageBox::Ok | QMessageBox::Cancel;
    case kStyleSaveDiscardCancel: return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
    }
}

short QtUserSeam::AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
    case QMessageBox::Save: return kAnswerYesButton;
    case QMessageBox::No:
    case QMessageBox::Discard: return kAnswerNoButton;
    case QMessageBox::Cancel: return kAnswerCancel;
    default: return kAnswerOk;
    }
}

short QtUserSeam::show(const std::string& text, short style) {
    // Messages are composed with CR LF; a label breaks lines on LF alone.
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(IconOf(style), QString::fromLatin1(kApplicationTitle), shown, ButtonsOf(style),
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    const QMessageBox::StandardButtons buttons = ButtonsOf(style);
    box.setDefaultButton(buttons.testFlag(QMessageBox::Yes)    ? QMessageBox::Yes
                         : buttons.testFlag(QMessageBox::Save) ? QMessageBox::Save
                                                               : QMessageBox::Ok);
    if (buttons.testFlag(QMessageBox::No)) box.setEscapeButton(QMessageBox::No);
    if (buttons.testFlag(QMessageBox::Cancel)) box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    if (clicked == QMessageBox::NoButton) {
        // Closed without a button (window manager): the box's safe answer.
        if (buttons.testFlag(QMessageBox::No)) return kAnswerNoButton;
        if (buttons.testFlag(QMessageBox::Cancel)) return kAnswerCancel;
        return kAnswerOk;
    }
    return AnswerOf(clicked);
}
