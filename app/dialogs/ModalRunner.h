#pragma once
// How the program's own modal dialogs (error screen, About box, calculation listing) are run.
// The desktop runs each one's event loop until it closes; tests and the screenshot tool hand it
// to a script instead (ScriptedModalRunner), so no test waits for a person.

class QDialog;

class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    // Shows the dialog modally; returns its result code once it has closed.
    virtual int run(QDialog& dialog) = 0;
};

class ExecModalRunner final : public ModalRunner {
public:
    int run(QDialog& dialog) override;
};
