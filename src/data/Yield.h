#pragma once

namespace orv {

// The core's one way to let the front end breathe: the desktop program
// processes pending events (repaints, a picker's Cancel), the command line
// does nothing. Loading and report runs call it at fixed points.
class EventLoop {
  public:
    virtual ~EventLoop() = default;
    virtual void yield() {}
};

// An event loop that never does anything, for callers with no front end.
inline EventLoop& noEventLoop() {
    static EventLoop none;
    return none;
}

} // namespace orv
