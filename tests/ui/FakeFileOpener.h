#pragma once

#include "ui/FileOpener.h"

#include <QStringList>

namespace orv::testing {

class FakeFileOpener : public ui::FileOpener {
public:
    bool OpenWithShell(const QString& file) override {
        opened.append(file);
        return succeeds;
    }
    QStringList opened;
    bool succeeds = true;
};

} // namespace orv::testing
