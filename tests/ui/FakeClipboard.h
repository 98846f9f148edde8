#pragma once

#include "ui/Clipboard.h"

namespace orv::testing {

class FakeClipboard : public ui::Clipboard {
public:
    void setText(const QString& value) override {
        text = value;
        ++calls;
    }
    QString text;
    int calls = 0;
};

} // namespace orv::testing
