// The main window and the About window, driven headless as a user would drive them.

#include "FormAbout.h"
#include "FormORVEK.h"
#include "MessagePresenter.h"
#include "PlotArea.h"
#include "case/Catalogue.h"
#include "case/Driver.h"
#include "export/ResultFile.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

namespace {

// Records messages instead of showing modal boxes.
class RecordingPresenter : public MessagePresenter {
public:
    void show(QWidget*, const QString& text, Kind) override { messages << text; }
    QStringList messages;
};

const QByteArray Catalogue =
    "Sample catalogue\r\n"
    "0.1179,0,0.2531,0,0.1,0,2\r\n"
    "0.118,0.0227,0.2523,0,0.1,0.05,2\r\n"
    "0.1808,0.022,0.3423,18,0.1,0.05,1.9\r\n"
    "0.1,0.1,0.1,0,0.1,0.05,0\r\n"
    "0.118,0.0227,0.2523,0,0.1,0.05,2\r\n";

}  // namespace

class TestWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    RecordingPresenter messages;
    std::unique_ptr<Form_ORVEK> window;

    template <typename W>
    W* find(const char* name) {
        W* w = window->findChild<W*>(name);
        if (!w) qFatal("no control %s", name);
        return w;
    }
    QComboBox* combo() { return find<QComboBox>("Combo1"); }
    QString text(const char* name) { return find<QLineEdit>(name)->text(); }

    void open(const QByteArray* catalogue) {
        if (catalogue) {
            QFile f(dir->filePath("ORVEK_Input.txt"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(*catalogue);
        }
        window = std::make_unique<Form_ORVEK>(messages);
        window->show();
    }

    // Picks entry `index` of the list with the mouse, through the open drop-down list.
    void pickWithMouse(int index) {
        QComboBox* c = combo();
        c->showPopup();
        QAbstractItemView* view = c->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QRect rect = view->visualRect(c->model()->index(index, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    void snapshotIfAsked(const QString& name, QWidget* w = nullptr) {
        const QString folder = qEnvironmentVariable("ORVEK_SCREENSHOT_DIR");
        if (!folder.isEmpty()) (w ? w : window.get())->grab().save(folder + "/" + name);
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir->path());
        messages.messages.clear();
    }
    void cleanup() {
        window.reset();
        QDir::setCurrent(previousDir);
        dir.reset();
    }

    void startUp() {
        open(&Catalogue);
        QVERIFY(messages.messages.isEmpty());
        QComboBox* c = combo();
        QCOMPARE(c->count(), 5);
        QCOMPARE(c->itemText(0), QString("0.1179,0,0.2531,0,0.1,0,2"));
        QCOMPARE(c->itemText(2), QString("0.1808,0.022,0.3423,18,0.1,0.05,1.9"));
        QCOMPARE(c->currentText(), QString(" "));
        QCOMPARE(c->currentIndex(), -1);
        QVERIFY(c->isEditable());
        QCOMPARE(text("Text_N1"), QString("51"));
        QCOMPARE(text("Text_AlfaD"), QString("0"));
        QCOMPARE(text("Text_CL"), QString());
        QVERIFY(find<QRadioButton>("Option4")->isChecked());
        QCOMPARE(window->caseState().SelIndex, 0);
        QCOMPARE(window->windowTitle(), QString("Karman-Trefftz Airfoil Coordinates and Velocities"));
        QCOMPARE(window->centralWidget()->size(), QSize(629, 377));
        QCOMPARE(find<QWidget>("profil")->geometry(), QRect(304, 216, 320, 147));
        QCOMPARE(find<QWidget>("pressure")->geometry(), QRect(304, 8, 320, 201));
        QCOMPARE(find<QPushButton>("Command2")->text(), QString("Calculate"));
    }

    void choosingAnEntryCalculates_data() {
        QTest::addColumn<bool>("mouse");
        QTest::newRow("mouse") << true;
        QTest::newRow("keyboard") << false;
    }
    void choosingAnEntryCalculates() {
        QFETCH(bool, mouse);
        open(&Catalogue);
        find<QLineEdit>("Text_AlfaD")->setText("5");
        if (mouse) {
            pickWithMouse(1);
        } else {
            combo()->setFocus();
            QTest::keyClick(combo(), Qt::Key_Down);  // first entry
            QTest::keyClick(combo(), Qt::Key_Down);  // second entry
        }
        QTRY_COMPARE(text("Text_CL"), QString("0.908"));
        QCOMPARE(text("Text_CMc4"), QString("-0.074"));
        QCOMPARE(text("Text_Alfa0"), QString("-2.6"));
        QCOMPARE(window->caseState().SelIndex, 5);  // identical lines 2 and 5: the higher index
        QCOMPARE(*window->caseState().NP, 51.0);
        QCOMPARE(*window->caseState().AlfaD, 5.0);
        QVERIFY(messages.messages.isEmpty());
    }

    // A cambered Karman-Trefftz airfoil at 5 degrees: the picture of the window in the README.
    void karmanTrefftzCase() {
        open(&Catalogue);
        find<QLineEdit>("Text_AlfaD")->setText("5");
        pickWithMouse(2);
        QTRY_COMPARE(text("Text_CL"), QString("0.953"));
        QCOMPARE(text("Text_CMc4"), QString("-0.09"));
        QCOMPARE(text("Text_Alfa0"), QString("-2.6"));
        QCOMPARE(combo()->currentText(), QString("0.1808,0.022,0.3423,18,0.1,0.05,1.9"));
        snapshotIfAsked("window.png");
    }

    void calculateBeforeAnyChoice() {
        open(&Catalogue);
        QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(messages.messages, QStringList{"Choose an airfoil"});
        QVERIFY(!window->caseState().NP);
        QVERIFY(!window->caseState().AlfaD);
        QVERIFY(window->caseState().x().empty());
        QCOMPARE(text("Text_CL"), QString());
    }

    void typingSelectsNothing() {
        open(&Catalogue);
        QLineEdit* edit = combo()->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "0.1179,0,0.2531,0,0.1,0,2");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(window->caseState().SelIndex, 0);
        QCOMPARE(text("Text_CL"), QString());
        QVERIFY(messages.messages.isEmpty());
    }

    void failedCaseKeepsTheLastGoodOne_data() {
        QTest::addColumn<QString>("points");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("message");
        QTest::newRow("one point") << "1" << 1 << "The number of points must be a whole number from 2 to 1,000,001; 1 is too small.";
        QTest::newRow("fractional") << "12.5" << 1
                                    << "The number of points must be a whole number from 2 to 1,000,001; 12.5 is not a whole number.";
        QTest::newRow("m is 0") << "51" << 3 << "Cannot calculate this airfoil: the exponent m is 0.";
    }
    void failedCaseKeepsTheLastGoodOne() {
        QFETCH(QString, points);
        QFETCH(int, entry);
        QFETCH(QString, message);
        open(&Catalogue);
        find<QLineEdit>("Text_AlfaD")->setText("5");
        combo()->setCurrentIndex(1);
        emit combo()->activated(1);
        const orvek::CaseState before = window->caseState();
        const std::size_t segmentsBefore = find<PlotArea>("profil")->segmentCount();
        const float firstPointBefore = find<PlotArea>("pressure")->batches().back().segments[2].y1;
        find<QLineEdit>("Text_N1")->setText(points);
        find<QLineEdit>("Text_AlfaD")->setText("7");
        if (entry == 1) {
            QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);
        } else {
            combo()->setCurrentIndex(entry);
            emit combo()->activated(entry);
        }
        QCOMPARE(messages.messages, QStringList{message});
        const orvek::CaseState& after = window->caseState();
        QCOMPARE(*after.NP, *before.NP);
        QCOMPARE(*after.AlfaD, *before.AlfaD);
        QCOMPARE(*after.CL, *before.CL);
        QVERIFY(after.x() == before.x());
        QVERIFY(after.OneMinusCp() == before.OneMinusCp());
        QCOMPARE(text("Text_CL"), QString("0.908"));
        QCOMPARE(find<PlotArea>("profil")->segmentCount(), segmentsBefore);
        QCOMPARE(find<PlotArea>("pressure")->batches().back().segments[2].y1, firstPointBefore);
    }

    void missingCatalogue() {
        open(nullptr);
        QCOMPARE(messages.messages, QStringList{QString::fromUtf8("ORVEK_Input.txt dosyası bulunamadı")});
        QCOMPARE(combo()->count(), 0);
        QCOMPARE(window->caseState().Chord, 1);
        QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(messages.messages.last(), QString("Choose an airfoil"));
    }

    void malformedLineIsReportedOnce() {
        const QByteArray broken = "Title\r\n0.1,0,0,0,0.1,0,2\r\n0.1,0,0,0,0.1,0\r\n0.1,0,0,0,0.2,0,2\r\n";
        open(&broken);
        QCOMPARE(messages.messages,
                 QStringList{"ORVEK_Input.txt, line 3: expected 7 numbers, found 6; the airfoils from this line on were not loaded."});
        QCOMPARE(combo()->count(), 1);
    }

    void focusOrderAndDisabledResults() {
        open(&Catalogue);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (const char* name : {"Text_CL", "Text_CMc4", "Text_Alfa0"}) {
            QVERIFY(!find<QLineEdit>(name)->isEnabled());
            QCOMPARE(find<QLineEdit>(name)->focusPolicy(), Qt::NoFocus);
        }
        find<QWidget>("pressure")->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int k = 0; k < 8; ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* w = QApplication::focusWidget();
            // The list's edit field stands for the list itself.
            visited << (w->parentWidget() && w->parentWidget()->objectName() == "Combo1" ? QString("Combo1") : w->objectName());
        }
        QCOMPARE(visited, (QStringList{"pressure", "profil", "Combo1", "Command1", "Text_N1", "Text_AlfaD", "Option4",
                                       "Command2", "pressure"}));
        // With another option selected, the group is entered there.
        find<QRadioButton>("Option2")->setChecked(true);
        find<QLineEdit>("Text_AlfaD")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Option2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Option3"));
    }

    void optionsAreExclusive() {
        open(&Catalogue);
        QTest::mouseClick(find<QRadioButton>("Option2"), Qt::LeftButton);
        int selected = 0;
        for (const char* name : {"Option1", "Option2", "Option3", "Option4"}) selected += find<QRadioButton>(name)->isChecked();
        QCOMPARE(selected, 1);
        QVERIFY(find<QRadioButton>("Option2")->isChecked());
    }

    void aboutWindowIsOneModelessInstance() {
        open(&Catalogue);
        QAction* about = window->findChild<QAction*>("Mn_About");
        QVERIFY(about);
        QCOMPARE(about->text(), QString("About"));
        QVERIFY(!about->menu());
        QVERIFY(!window->aboutWindow());
        about->trigger();
        about->trigger();
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) count += w->objectName() == "Form_About";
        QCOMPARE(count, 1);
        Form_About* first = window->aboutWindow();
        QVERIFY(first && first->isVisible());
        QVERIFY(!first->isModal());
        QVERIFY(!first->parentWidget());
        QCOMPARE(first->windowTitle(), QString("About"));
        QCOMPARE(first->size(), QSize(255, 205));
        snapshotIfAsked("about.png", first);

        // The main window stays usable while About is open.
        combo()->setCurrentIndex(0);
        emit combo()->activated(0);
        QCOMPARE(text("Text_CL"), QString("0"));

        first->close();
        QVERIFY(!first->isVisible());
        about->trigger();
        QCOMPARE(window->aboutWindow(), first);
        QVERIFY(first->isVisible());

        // Closing the main window leaves About open.
        window->close();
        QVERIFY(first->isVisible());
        first->close();
    }

    // Each output-format option writes its own layout.
    void saveResultWritesTheCase_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QByteArray>("afterPointCount");
        QTest::newRow("Option1: i x y") << "Option1" << 1 << 2 + 51 << QByteArray("  1  1.00000  0.00000\r\n");
        QTest::newRow("Option2: i x y 1-Cp") << "Option2" << 2 << 2 + 4 + 51 << QByteArray("  AlfaD =  5 \r\n");
        QTest::newRow("Option3: split") << "Option3" << 3 << 2 + 26 << QByteArray("  1  ");
        QTest::newRow("Option4: split with 1-Cp") << "Option4" << 4 << 2 + 4 + 26 << QByteArray("  AlfaD =  5 \r\n");
    }
    void saveResultWritesTheCase() {
        QFETCH(QString, option);
        QFETCH(int, layout);
        QFETCH(int, lines);
        QFETCH(QByteArray, afterPointCount);
        open(&Catalogue);
        find<QLineEdit>("Text_AlfaD")->setText("5");
        combo()->setCurrentIndex(1);
        emit combo()->activated(1);
        QTest::mouseClick(find<QRadioButton>(option.toLatin1().constData()), Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(messages.messages.isEmpty());
        QFile f("ORVEK_result.txt");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        const QByteArray expected = QByteArray::fromStdString(
            orvek::resultFileText(orvek::resultFileCase(window->caseState()), static_cast<orvek::Layout>(layout),
                                  QLocale::system().decimalPoint().at(0).toLatin1()));
        QCOMPARE(bytes, expected);
        const QByteArray header = " Delta=0.12  Gama=0.02  xDltC=0.2523  Tau=0.  Karman-Trefftz airfoil\r\n 51 \r\n";
        QVERIFY(bytes.startsWith(header));
        QVERIFY2(bytes.mid(header.size()).startsWith(afterPointCount), bytes.mid(header.size(), 40).constData());
        QCOMPARE(bytes.count("\r\n"), lines);
    }

    void failedSaveShowsItsReason() {
        open(&Catalogue);
        QVERIFY(QDir().mkdir("ORVEK_result.txt"));
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(messages.messages, QStringList{"Could not save ORVEK_result.txt: Is a directory"});
        QVERIFY(QFileInfo("ORVEK_result.txt").isDir());
        QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);  // the program goes on
        QCOMPARE(messages.messages.size(), 2);
    }

    // A typed value that cannot be used is named as typed, with what is wanted; the last good case,
    // its result boxes and plots stay.
    void typedValuesAreJudged_data() {
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("angle");
        QTest::addColumn<QString>("message");
        const QString np = "The number of points must be a whole number from 2 to 1,000,001; ";
        QTest::newRow("NP letters") << "abc" << "5" << np + "\"abc\" is not a number.";
        QTest::newRow("NP empty") << "" << "5" << np + "the field is empty.";
        QTest::newRow("NP blanks only") << "   " << "5" << np + "the field is empty.";
        QTest::newRow("NP hexadecimal") << "0x10" << "5" << np + "\"0x10\" is not a number.";
        QTest::newRow("NP decimal comma") << "1,5" << "5" << np + "\"1,5\" is not a number.";
        QTest::newRow("NP beyond every number") << "1e999" << "5" << np + "1e999 is too large.";
        QTest::newRow("NP one") << "1" << "5" << np + "1 is too small.";
        QTest::newRow("NP negative") << "-51" << "5" << np + "-51 is too small.";
        QTest::newRow("NP fractional") << "12.5" << "5" << np + "12.5 is not a whole number.";
        QTest::newRow("NP two million") << "2000000" << "5" << np + "2000000 is too large.";
        QTest::newRow("NP long text is cut") << QString(60, '9') + "x" << "5"
                                             << np + "\"" + QString(40, '9') + "...\" is not a number.";
        QTest::newRow("angle 1e308") << "51" << "1e308"
                                     << "The angle of attack 1e308 is too large. Type an angle from -360 to 360 degrees.";
        QTest::newRow("angle -400") << "51" << "-400"
                                    << "The angle of attack -400 is too large. Type an angle from -360 to 360 degrees.";
        QTest::newRow("angle beyond every number") << "51" << "-1e999"
                                                   << "The angle of attack -1e999 is too large. Type an angle from -360 to 360 degrees.";
    }
    void typedValuesAreJudged() {
        QFETCH(QString, points);
        QFETCH(QString, angle);
        QFETCH(QString, message);
        open(&Catalogue);
        find<QLineEdit>("Text_AlfaD")->setText("5");
        combo()->setCurrentIndex(1);
        emit combo()->activated(1);
        QVERIFY(messages.messages.isEmpty());
        const orvek::CaseState before = window->caseState();
        // Typed as a user types: focus, select all, type (or delete), then "Calculate".
        for (auto [name, typed] : {std::pair{"Text_N1", points}, std::pair{"Text_AlfaD", angle}}) {
            QLineEdit* field = find<QLineEdit>(name);
            field->setFocus();
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            if (typed.isEmpty()) QTest::keyClick(field, Qt::Key_Delete);
            else QTest::keyClicks(field, typed);
            QCOMPARE(field->text(), typed);
        }
        QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(messages.messages, QStringList{message});
        const orvek::CaseState& after = window->caseState();
        QCOMPARE(*after.NP, *before.NP);
        QCOMPARE(*after.AlfaD, *before.AlfaD);
        QVERIFY(after.x() == before.x());
        QCOMPARE(text("Text_CL"), QString("0.908"));
    }

    // Hostile catalogue files at start-up: the window opens, with the airfoils that could be read
    // and at most one message.
    void hostileCatalogueAtStartUp_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("message");  // empty: none
        const QByteArray rows = "0.1179,0,0.2531,0,0.1,0,2\r0.1808,0.022,0.3423,18,0.1,0.05,1.9\r";
        QTest::newRow("lone CR line ends") << "bytes" << ("Title\r" + rows) << 2 << "";
        QTest::newRow("CR CR LF line ends") << "bytes" << QByteArray("Title\r\r\n0.1179,0,0.2531,0,0.1,0,2\r\r\n") << 1 << "";
        QByteArray wide("\xFF\xFE", 2);
        for (char c : QByteArray("Title\r\n0.1179,0,0.2531,0,0.1,0,2\r\n")) wide.append(c).append('\0');
        QTest::newRow("UTF-16") << "bytes" << wide << 0 << QString(orvek::CatalogueUtf16);
        QTest::newRow("FIFO") << "fifo" << QByteArray() << 0 << QString::fromUtf8(orvek::CatalogueMissing);
        QTest::newRow("directory") << "directory" << QByteArray() << 0 << QString::fromUtf8(orvek::CatalogueMissing);
        QTest::newRow("huge line") << "bytes" << ("Title\r\n0.1179,0,0.2531,0,0.1,0,2\r\n" + QByteArray(10 << 20, ',')) << 1
                                   << "ORVEK_Input.txt, line 3: the line is longer than 4096 characters; the airfoils from this "
                                      "line on were not loaded.";
    }
    void hostileCatalogueAtStartUp() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(int, entries);
        QFETCH(QString, message);
        if (kind == "fifo") QCOMPARE(::mkfifo("ORVEK_Input.txt", 0666), 0);
        if (kind == "directory") QVERIFY(QDir().mkdir("ORVEK_Input.txt"));
        open(kind == "bytes" ? &bytes : nullptr);
        QCOMPARE(combo()->count(), entries);
        QCOMPARE(messages.messages, message.isEmpty() ? QStringList() : QStringList{message});
        if (entries > 0) {
            combo()->setCurrentIndex(0);
            emit combo()->activated(0);
            QCOMPARE(text("Text_CL"), QString("0"));  // a Joukowsky airfoil at 0 degrees: no camber, no lift
        }
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
