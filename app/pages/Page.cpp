#include "pages/Page.h"

#include "engine/RuntimeError.h"

#include <new>

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

void Page::reportCurrentException() noexcept {
    int number = 51;
    std::string description = "Internal error";
    try {
        throw;
    } catch (const tallex::RuntimeError& e) {
        number = e.number();
        description = e.description();
    } catch (const std::bad_alloc&) {
        number = 7;
        description = "Out of memory";
    } catch (...) {
    }
    try {
        host_.ShowErrorScreen(number, description);
    } catch (...) {
        // The error screen could not be shown; the host has already done what it could.
    }
}
