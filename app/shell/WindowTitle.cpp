#include "shell/WindowTitle.h"

#include "shell/StartupTexts.h"

#include <QFileInfo>

QString CaseWindowTitle(const QString& caseFile) {
    const QString name = caseFile.isEmpty() ? QStringLiteral("New loan") : QFileInfo(caseFile).fileName();
    return name + QStringLiteral("[*] \u2014 ") + QString::fromLatin1(tallex::kApplicationTitle);
}
