#include "pages/Page.h"

Page::Page(PageHost& host, const char* objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), host_(host), caption_(caption) {
    setObjectName(QString::fromLatin1(objectName));
}

void Page::activate() {
    active_ = true;
    guard([this] { onActivate(); });
}

void Page::deactivate() { active_ = false; }

short Page::message(const std::string& text, short style) const { return host_.user().show(text, style); }
