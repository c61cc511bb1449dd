#include "pages/PageHost.h"

#include "engine/RuntimeError.h"

void PageHost::reportCurrentException() noexcept {
    try {
        const tallex::RuntimeError error = tallex::RuntimeErrorOf(std::current_exception());
        ShowErrorScreen(error.number(), error.description());
    } catch (...) {
        // The error screen could not be shown; the host has already done what it could.
    }
}
