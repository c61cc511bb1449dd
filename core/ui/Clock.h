#pragma once
// Time as the rules see it, so that a rule depending on time can be tested without waiting.

#include <chrono>

namespace tallex {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::steady_clock::time_point now() const = 0;
};

class SystemClock final : public Clock {
public:
    std::chrono::steady_clock::time_point now() const override { return std::chrono::steady_clock::now(); }
};

}  // namespace tallex
