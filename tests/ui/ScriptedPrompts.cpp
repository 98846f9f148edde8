#include "ScriptedPrompts.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace orv::testing {

namespace {

QString windowName(QWidget* parent) {
    return parent ? parent->window()->objectName() : QString();
}

} // namespace

void ScriptedPrompts::record(PromptRecord r) {
    records.push_back(r);
    if (onPrompt)
        onPrompt(records.back());
}

void ScriptedPrompts::showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) {
    record({PromptRecord::Kind::Message, title, text, icon, Buttons::YesNo, {}, {}, windowName(parent)});
}

ui::Prompts::Answer ScriptedPrompts::ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                                         Icon icon) {
    record({PromptRecord::Kind::Question, title, text, icon, buttons, {}, {}, windowName(parent)});
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::chooseOpenFile(QWidget* parent, const QString& title, const QString& filter) {
    record({PromptRecord::Kind::OpenFile, title, title, Icon::None, Buttons::YesNo, {}, filter, windowName(parent)});
    if (files.empty()) {
        ADD_FAILURE() << "unexpected open dialog: " << title.toStdString();
        return std::nullopt;
    }
    const QString file = files.front();
    files.pop_front();
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> ScriptedPrompts::chooseSaveFile(QWidget* parent, const QString& title,
                                                       const QString& proposedName, const QString& filter) {
    record({PromptRecord::Kind::SaveFile, title, title, Icon::None, Buttons::YesNo, proposedName, filter,
            windowName(parent)});
    if (files.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << title.toStdString();
        return std::nullopt;
    }
    const QString file = files.front();
    files.pop_front();
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::vector<QString> ScriptedPrompts::texts(PromptRecord::Kind kind) const {
    std::vector<QString> out;
    for (const PromptRecord& r : records)
        if (r.kind == kind)
            out.push_back(r.text);
    return out;
}

} // namespace orv::testing
