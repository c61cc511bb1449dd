#include "widgets/AppStyle.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

void ApplyProgramStyle(QApplication& application) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setPointSize(9);
    application.setFont(font);
}
