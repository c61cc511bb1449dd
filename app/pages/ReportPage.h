#pragma once
// A page that offers the loan's report: Print (its button and the File menu's Print) and Save
// Report. The window's menu entries act on the page shown when it is one of these.

class ReportPage {
public:
    virtual ~ReportPage() = default;

    // Whether Print and Save Report can be used now.
    virtual bool reportAllowed() const = 0;
    virtual void printReport() = 0;
    virtual void saveReport() = 0;
};
