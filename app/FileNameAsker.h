#pragma once
// The question "save where, and in which format?" goes through one asker, so tests can answer it
// with a path instead of a file dialog (as MessagePresenter does for messages).

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

class FileNameAsker {
public:
    struct Choice {
        QString path;
        int filter = 0;  // index into the filters offered
    };
    virtual ~FileNameAsker() = default;
    // Asks for a file to write. `filters` are name filters such as "PNG image (*.png)"; an empty
    // answer means the user cancelled.
    virtual std::optional<Choice> askSaveFile(QWidget* parent, const QString& caption, const QString& suggestedName,
                                              const QStringList& filters) = 0;
    // Asks for an existing file to read, with the filter chosen (what kind of file it is).
    virtual std::optional<Choice> askOpenFile(QWidget* parent, const QString& caption, const QStringList& filters) = 0;
};

// The file dialog; a name typed without an extension gets the chosen filter's.
class DialogFileNameAsker : public FileNameAsker {
public:
    std::optional<Choice> askSaveFile(QWidget* parent, const QString& caption, const QString& suggestedName,
                                      const QStringList& filters) override;
    std::optional<Choice> askOpenFile(QWidget* parent, const QString& caption, const QStringList& filters) override;
};

// The first extension a name filter lists ("png" for "PNG image (*.png)"), empty when none.
QString filterExtension(const QString& filter);
