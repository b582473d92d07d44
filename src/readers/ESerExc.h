#pragma once

namespace vyn {

// Thrown inside a driver's serial exchange and caught by the same driver operation, which
// turns it into a QFotoStatus; it never reaches the driver's callers.
class ESerExc {
public:
    enum Code : int { kTimeout = 1, kComm = 2, kAborted = 3, kBadData = 4 };
    explicit ESerExc(int code) : code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

}  // namespace vyn
