#pragma once
// The main window opened on a small catalogue in a fresh working folder, with the recording
// presenter and the scripted file asker, and the moves a user makes: choose an entry with the
// keyboard, press a key where the focus is.

#include "FormORVEK.h"
#include "PlotTools.h"
#include "plot/PlotArea.h"
#include "support/RecordingPresenter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

struct MainWindowDriver {
    static inline const QByteArray Catalogue =
        "Sample catalogue\r\n"
        "0.118,0.0227,0.2523,0,0.1,0.05,2\r\n"
        "0.1808,0.022,0.3423,18,0.1,0.05,1.9\r\n"
        "0.1179,0,0.2531,0,0.1,0,2\r\n";

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    RecordingPresenter messages;
    ScriptedAsker asker;
    std::unique_ptr<Form_ORVEK> window;

    // A fresh working folder; call from the test's init().
    void enter() {
        dir = std::make_unique<QTemporaryDir>();
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir->path());
        messages.messages.clear();
        asker = ScriptedAsker{};
    }
    // Closes the window and leaves the folder; call from the test's cleanup().
    void leave() {
        window.reset();
        QDir::setCurrent(previousDir);
        dir.reset();
    }

    PlotTools* tools() const { return window->findChild<PlotTools*>(); }
    // The window's control of that object name and type; a missing one ends the test program.
    template <typename W>
    W* find(const char* name) const {
        W* w = window->findChild<W*>(name);
        if (!w) qFatal("no control %s", name);
        return w;
    }
    PlotArea* plot(const QString& name) const { return window->findChild<PlotArea*>(name); }
    QString path(const QString& name) const { return dir->filePath(name); }

    // Writes the catalogue and opens the window on it.
    void open(const QByteArray& catalogue = Catalogue) {
        QFile f(dir->filePath("ORVEK_Input.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(catalogue);
        f.close();
        openAsItIs();
    }
    // Opens the window on whatever the folder holds (no catalogue, or one put there by the test).
    void openAsItIs() {
        window = std::make_unique<Form_ORVEK>(messages);
        tools()->setFileNameAsker(asker);
        window->show();
        window->activateWindow();  // without a window manager nothing else activates it
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    // Chooses catalogue entry `index` with the keyboard, at NP points and angle alpha.
    void calculate(int index, const QString& NP = "51", const QString& alpha = "5") {
        window->findChild<QLineEdit*>("Text_N1")->setText(NP);
        window->findChild<QLineEdit*>("Text_AlfaD")->setText(alpha);
        auto* combo = window->findChild<QComboBox*>("Combo1");
        combo->setFocus();
        combo->setCurrentIndex(index - 1);
        QTest::keyClick(combo, Qt::Key_Down);
        QVERIFY(window->caseState().NP.has_value());
    }
    // Sends a key to the widget that has the focus, as typing does.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    // Saves a picture of `w` into the folder ORVEK_SCREENSHOT_DIR names, when it names one.
    static void snapshotIfAsked(const QString& name, QWidget* w) {
        const QString folder = qEnvironmentVariable("ORVEK_SCREENSHOT_DIR");
        if (!folder.isEmpty()) w->grab().save(folder + "/" + name);
    }
};
