#include "dialogs/ModalRunner.h"

#include <QDialog>

int ExecModalRunner::run(QDialog& dialog) { return dialog.exec(); }
