#pragma once
// After an odd-days refusal the schedule page stays silent for 200 ms, so that the grid's
// repeated checks of the same cell (it asks again while the cursor is held there) show the
// message once. The page owns one of these for its grid; time comes from the injected clock.

#include "ui/Clock.h"

#include <chrono>
#include <optional>

namespace tallex {

class ScheduleOddDaysQuietPeriod {
public:
    static constexpr std::chrono::milliseconds kInterval{200};

    explicit ScheduleOddDaysQuietPeriod(const Clock& clock) : clock_(clock) {}

    // True from start() until kInterval has passed; the first tick at or after that ends it.
    bool running() const {
        if (!started_) return false;
        return clock_.now() - *started_ < kInterval;
    }

    void start() { started_ = clock_.now(); }

private:
    const Clock& clock_;
    std::optional<std::chrono::steady_clock::time_point> started_;
};

}  // namespace tallex
