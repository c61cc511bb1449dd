#include "pages/PageTexts.h"

#include "pages/Page.h"
#include "pages/frmBasicInfo.h"

#include "shell/StartupTexts.h"

#include <QLineEdit>

tallex::ReportIdentity IdentityOf(const PageHost& host) {
    const auto* basic = qobject_cast<const frmBasicInfo*>(host.loadedPage(PageId::BasicInfo));
    return basic ? basic->identity() : tallex::ReportIdentity{};
}

QString BoxText(const PageHost& host, PageId page, const char* box) {
    const Page* loaded = host.loadedPage(page);
    const auto* edit = loaded ? loaded->findChild<QLineEdit*>(QString::fromLatin1(box)) : nullptr;
    return edit ? edit->text() : QString();
}

std::vector<std::string> ComposeReport(PageHost& host) {
    return tallex::WriteReport(host.record(), IdentityOf(host), tallex::AppVersion());
}
