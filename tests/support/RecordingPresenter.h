#pragma once
// What the GUI tests put in place of the message box and the file dialog: a presenter that
// records each message, and an asker that answers with a prepared path and filter.

#include "FileNameAsker.h"
#include "MessagePresenter.h"

#include <QStringList>

#include <optional>

// Records messages instead of showing modal boxes.
class RecordingPresenter : public MessagePresenter {
public:
    void show(QWidget*, const QString& text, Kind) override { messages << text; }
    QStringList messages;
};

// Answers the file question with a prepared path and filter, and remembers what was offered.
class ScriptedAsker : public FileNameAsker {
public:
    std::optional<Choice> askSaveFile(QWidget*, const QString&, const QString&, const QStringList& filters) override {
        offered = filters;
        ++asked;
        return answer;
    }
    std::optional<Choice> askOpenFile(QWidget*, const QString&, const QStringList& filters) override {
        offered = filters;
        ++asked;
        return answer;
    }
    std::optional<Choice> answer;
    QStringList offered;
    int asked = 0;
};
