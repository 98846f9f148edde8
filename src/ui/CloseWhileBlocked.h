#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <cstdint>

class QWidget;

namespace orv::ui {

// The toolkit drops a window manager's request to close a window while a
// modal window blocks it. The main window must close all the same (a picker,
// a report, a message box or the files manager may be up): on X11 this takes
// the request for `window` from the connection and closes it, which its own
// close handling then carries through. Elsewhere it does nothing.
class CloseWhileBlocked : public QAbstractNativeEventFilter {
  public:
    explicit CloseWhileBlocked(QWidget& window);
    ~CloseWhileBlocked() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    QPointer<QWidget> window_;
    std::uint32_t protocols_ = 0;
    std::uint32_t deleteWindow_ = 0;
};

} // namespace orv::ui
