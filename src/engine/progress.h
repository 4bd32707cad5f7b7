#pragma once

#include <cstdint>

namespace tessaly {

// Shows how far a long loop on the user-interface thread has come and lets the user stop it. The
// loop advances it after each unit of work, lets pending events run and then asks whether to stop.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void SetRange(int lower, int upper, int step) = 0;
    // Returns the previous step.
    virtual int SetStep(int step) = 0;
    virtual void StepIt() = 0;
    virtual void PumpMessages(bool escapeCancels) = 0;
    virtual bool IsCancelled() const = 0;
};

// The percentage a position stands for within lower .. upper: (position - lower) * 100 / (upper -
// lower) without overflow, kept within 0 to 100; 0 for an empty range.
int ProgressPercent(std::int64_t position, int lower, int upper);

} // namespace tessaly
