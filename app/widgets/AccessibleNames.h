#pragma once
// What a screen reader says for the program's inputs, result boxes and grids: a short name and a
// description of what belongs there or what the figure is. The pages and dialogs keep their
// controls' form names; this table gives them words. A control the table does not know is named
// after the label that stands for it.

class QWidget;

// Names and describes `root` and every input, result box and grid under it that has no name yet.
void DescribeControls(QWidget* root);
