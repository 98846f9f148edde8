#include "ui/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace orv::ui {

void QtClipboard::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace orv::ui
