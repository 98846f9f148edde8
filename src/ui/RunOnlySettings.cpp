#include "ui/RunOnlySettings.h"

#include <QSettings>

namespace orv::ui {

RunOnlySettings::RunOnlySettings() {
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, folder_.path());
}

} // namespace orv::ui
