#pragma once
// What one page needs from another: the identifying texts of the basic information page, a box's
// text as the user left it on its page, and the report composed from both and the record.

#include "pages/PageHost.h"

#include "report/ReportText.h"

#include <QString>

#include <string>
#include <vector>

// The basic information page's texts; empty when that page is not loaded.
tallex::ReportIdentity IdentityOf(const PageHost& host);

// The text of the line edit `box` on a loaded page; empty when the page or the box is missing.
QString BoxText(const PageHost& host, PageId page, const char* box);

// The report of the loan as it stands (regular or construction, by the record).
std::vector<std::string> ComposeReport(PageHost& host);
