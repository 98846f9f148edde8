#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;

namespace orv::testing {

// Watches for a modal window from the event loop for as long as it lives;
// see whenModalShown.
class ModalWatch {
public:
    explicit ModalWatch(QTimer* timer) : timer_(timer) {}
    ModalWatch(ModalWatch&& other) noexcept : timer_(other.timer_) { other.timer_ = nullptr; }
    ModalWatch& operator=(ModalWatch&&) = delete;
    ModalWatch(const ModalWatch&) = delete;
    ~ModalWatch();

private:
    QPointer<QTimer> timer_;
};

// Runs `action` from the event loop as soon as a modal window named `name`
// is the active modal window (a modal exec() blocks the test until then).
// After `timeoutMs` without it the test fails and every modal window is
// closed, so that a broken test does not hang. Watching ends with the
// returned object.
[[nodiscard]] ModalWatch whenModalShown(const QString& name, std::function<void(QWidget&)> action,
                                        int timeoutMs = 20000);

} // namespace orv::testing
