#include "engine/clock.h"

#include <ctime>
#include <mutex>

namespace tessaly {

namespace {

std::mutex clockMutex;

std::shared_ptr<const Clock>& CurrentClock() {
    static std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>();
    return clock;
}

std::shared_ptr<const Clock> LoadClock() {
    std::lock_guard lock(clockMutex);
    return CurrentClock();
}

} // namespace

const Clock& Clock::Instance() {
    // The installed clock lives until it is replaced; callers use it within one operation.
    std::lock_guard lock(clockMutex);
    return *CurrentClock();
}

void Clock::SetInstance(std::shared_ptr<const Clock> clock) {
    if (!clock)
        clock = std::make_shared<SystemClock>();
    std::lock_guard lock(clockMutex);
    CurrentClock() = std::move(clock);
}

std::chrono::year_month_day SystemClock::Today() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                       std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                       std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

std::int64_t SystemClock::NowSeconds() const {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

ScopedClock::ScopedClock(std::shared_ptr<const Clock> clock)
    : previous_(LoadClock()) {
    Clock::SetInstance(std::move(clock));
}

ScopedClock::~ScopedClock() {
    Clock::SetInstance(std::move(previous_));
}

} // namespace tessaly
