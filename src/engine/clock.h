#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

namespace tessaly {

// The source of "now" and "today". End-of-day logic lives on today's date, so the whole core asks the
// process-wide instance; tests put a fixed clock in its place.
class Clock {
public:
    virtual ~Clock() = default;

    // The local calendar date.
    virtual std::chrono::year_month_day Today() const = 0;
    // Seconds since the epoch; only differences of it are used.
    virtual std::int64_t NowSeconds() const = 0;

    static const Clock& Instance();
    // Replaces the process-wide clock; nullptr restores the system clock.
    static void SetInstance(std::shared_ptr<const Clock> clock);
};

class SystemClock final : public Clock {
public:
    std::chrono::year_month_day Today() const override;
    std::int64_t NowSeconds() const override;
};

// A clock that says what it is told. Not thread-safe to change while others read it.
class FixedClock final : public Clock {
public:
    explicit FixedClock(std::chrono::year_month_day today, std::int64_t nowSeconds = 0)
        : today_(today)
        , now_(nowSeconds) {}

    std::chrono::year_month_day Today() const override { return today_; }
    std::int64_t NowSeconds() const override { return now_; }

    void SetToday(std::chrono::year_month_day today) { today_ = today; }
    void SetNowSeconds(std::int64_t seconds) { now_ = seconds; }
    void Advance(std::int64_t seconds) { now_ += seconds; }

private:
    std::chrono::year_month_day today_;
    std::int64_t now_;
};

// Installs a clock for the lifetime of the object and restores the previous one afterwards.
class ScopedClock {
public:
    explicit ScopedClock(std::shared_ptr<const Clock> clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    std::shared_ptr<const Clock> previous_;
};

} // namespace tessaly
