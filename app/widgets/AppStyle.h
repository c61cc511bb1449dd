#pragma once
// The program's look: one font for every page, whatever the desktop's, because the pages have a
// fixed size and their layout is made for it.

class QApplication;

void ApplyProgramStyle(QApplication& application);
