// Picks the faster way of storing results by timing both on the first steps.
// Which one wins depends on whether the two lattices stay in the last-level
// cache between steps, and in a virtual machine the cache size the system
// reports is often the host's whole socket, shared with other guests: only a
// measurement tells.
//
// The trial runs blocks of kBlockSteps steps per mode, cached first, and
// counts all but the first step of each block: the first one still reads
// what the other mode left (from memory after streaming, from the cache
// after cached stores) and would flatter one mode.  The best counted step of
// each mode decides; best rather than mean, because on a shared machine the
// undisturbed step is the one that tells the modes apart.
#pragma once

class CpuStepStoreTrial {
public:
    static constexpr int kBlockSteps = 3;
    static constexpr int kRounds = 2;  // blocks per mode
    static constexpr int kSteps = 2 * kRounds * kBlockSteps;

    bool Running() const { return taken < kSteps; }
    // The mode of the next step: during the trial the one under test,
    // afterwards the decision.
    bool StreamNext() const { return Running() ? (taken / kBlockSteps) % 2 == 1 : streaming; }
    // The duration of the step just taken in the mode StreamNext() gave.
    void Record(double seconds);

private:
    int taken = 0;
    double best[2] = {-1.0, -1.0};  // cached, streaming; negative: none yet
    bool streaming = false;
};
