// The plots' context menus and shortcuts, their pictures and coordinate files, driven headless as
// a user would drive them.

#include "BoundaryLayerWindow.h"
#include "CompareWindow.h"
#include "ExplorerWindow.h"
#include "FlowWindow.h"
#include "NumberBox.h"
#include "PolarWindow.h"
#include "plot/Chart.h"
#include "support/SolveCase.h"
#include "support/ChildRun.h"
#include "support/CoordinateFileReader.h"
#include "support/MainWindowDriver.h"

#include <QClipboard>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>

class TestPlotMenu : public QObject {
    Q_OBJECT
    MainWindowDriver d;

private slots:
    void init() { d.enter(); }
    void cleanup() { d.leave(); }

    // Each item is in the menu however it is opened, disabled before a calculation (all but the
    // explorer) and enabled after one.
    void contextMenu_data() {
        QTest::addColumn<QString>("plotName");
        QTest::addColumn<QString>("way");
        for (const char* name : {"pressure", "profil"}) {
            for (const char* way : {"right button", "Menu key", "Shift+F10"}) {
                QTest::newRow(qPrintable(QString("%1, %2").arg(name, way))) << name << way;
            }
        }
    }

    void contextMenu() {
        QFETCH(QString, plotName);
        QFETCH(QString, way);
        d.open();
        QMenu* menu = d.tools()->menu();
        PlotArea* area = d.plot(plotName);
        const QStringList items = {"Copy picture",
                                   QString::fromUtf8("Save picture as…"),
                                   QString::fromUtf8("Export coordinates…"),
                                   QString::fromUtf8("Compare with a file…"),
                                   QString::fromUtf8("Polar…"),
                                   QString::fromUtf8("Flow field…"),
                                   QString::fromUtf8("Boundary layer…"),
                                   QString::fromUtf8("Explore airfoil…"),
                                   "Reload catalogue"};
        const QStringList always = {QString::fromUtf8("Explore airfoil…"), "Reload catalogue"};
        for (bool calculated : {false, true}) {
            if (calculated) d.calculate(0);
            if (way == "right button") {
                // Through the window system, as a real click arrives.
                QTest::mouseClick(d.window->windowHandle(), Qt::RightButton, {},
                                  area->mapTo(d.window.get(), area->rect().center()));
            } else {
                area->setFocus();
                if (way == "Menu key") d.press(Qt::Key_Menu);
                else d.press(Qt::Key_F10, Qt::ShiftModifier);
            }
            QTRY_VERIFY(menu->isVisible());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(area));
            QStringList shown;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator()) continue;
                shown << a->text();
                QCOMPARE(a->isEnabled(), calculated || always.contains(a->text()));
            }
            QCOMPARE(shown, items);
            QTest::keyClick(menu, Qt::Key_Escape);
            QTRY_VERIFY(!menu->isVisible());
        }
        QVERIFY(d.messages.messages.isEmpty());
    }

    void shortcutsAreWindowShortcuts() {
        d.open();
        const QStringList keys = {"Ctrl+Shift+C", "Ctrl+Shift+S", "Ctrl+Shift+E", "Ctrl+Shift+O",
                                  "Ctrl+Shift+P", "Ctrl+Shift+F", "Ctrl+Shift+B", "Ctrl+Shift+A", "F5"};
        QStringList found;
        for (QAction* a : d.tools()->menu()->actions()) {
            if (a->isSeparator()) continue;
            found << a->shortcut().toString();
            QVERIFY(d.window->actions().contains(a));
            QCOMPARE(a->shortcutContext(), Qt::WindowShortcut);
        }
        QCOMPARE(found, keys);
        // The menu bar keeps its one item.
        QCOMPARE(d.window->findChild<QAction*>("Mn_About")->text(), QString("About"));
    }

    void copyPictureFillsTheClipboard_data() {
        QTest::addColumn<QString>("plotName");
        QTest::newRow("1-Cp") << "pressure";
        QTest::newRow("profile") << "profil";
    }

    void copyPictureFillsTheClipboard() {
        QFETCH(QString, plotName);
        d.open();
        d.calculate(1);
        QApplication::clipboard()->clear();
        d.plot(plotName)->setFocus();
        d.press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QImage image = QApplication::clipboard()->image();
        const double ratio = 2.0 * d.plot(plotName)->devicePixelRatioF();
        QCOMPARE(image.size(), d.plot(plotName)->size() * ratio);
        // The red curve is in the picture.
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                red += qRed(p) > 200 && qGreen(p) < 120 && qBlue(p) < 120;
            }
        }
        QVERIFY2(red > image.width(), qPrintable(QString::number(red)));
    }

    // The file name's extension decides the format; a name without one gets the chosen filter's,
    // any other extension is refused with a sentence naming the file.
    void savePicture_data() {
        QTest::addColumn<QString>("plotName");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");  // the file written, empty when refused
        QTest::addColumn<QString>("format");
        QTest::newRow("1-Cp as PNG") << "pressure"
                                     << "p.png" << 0 << "p.png"
                                     << "PNG";
        QTest::newRow("profile as PNG") << "profil"
                                        << "q.png" << 0 << "q.png"
                                        << "PNG";
        QTest::newRow("1-Cp as SVG") << "pressure"
                                     << "p.svg" << 1 << "p.svg"
                                     << "SVG";
        QTest::newRow("profile as SVG, by filter") << "profil"
                                                   << "q" << 1 << "q.svg"
                                                   << "SVG";
        QTest::newRow("JPEG by its name, PNG chosen") << "pressure"
                                                      << "pic.jpg" << 0 << "pic.jpg"
                                                      << "JPEG";
        QTest::newRow("JPEG, long extension") << "profil"
                                              << "pic.JPEG" << 1 << "pic.JPEG"
                                              << "JPEG";
        QTest::newRow("PNG by its name, SVG chosen") << "profil"
                                                     << "pic.png" << 1 << "pic.png"
                                                     << "PNG";
        QTest::newRow("SVG by its name, PNG chosen") << "pressure"
                                                     << "pic.svg" << 0 << "pic.svg"
                                                     << "SVG";
        QTest::newRow("unknown extension") << "profil"
                                           << "q.picture" << 1 << ""
                                           << "";
        QTest::newRow("GIF") << "pressure"
                             << "pic.gif" << 0 << ""
                             << "";
    }

    void savePicture() {
        QFETCH(QString, plotName);
        QFETCH(QString, file);
        QFETCH(int, filter);
        QFETCH(QString, written);
        QFETCH(QString, format);
        d.open();
        d.calculate(1);
        d.asker.answer = FileNameAsker::Choice{d.path(file), filter};
        d.plot(plotName)->setFocus();
        d.press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(d.asker.asked, 1);
        QCOMPARE(d.asker.offered.size(), 3);
        if (written.isEmpty()) {
            QCOMPARE(d.messages.messages.size(), 1);
            QVERIFY2(d.messages.messages[0].contains(file) && d.messages.messages[0].contains("PNG"),
                     qPrintable(d.messages.messages[0]));
            QCOMPARE(QDir(d.dir->path()).entryList(QDir::Files), QStringList{"ORVEK_Input.txt"});
            return;
        }
        QFile saved(d.path(written));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        if (format != "SVG") {
            QImage image;
            QVERIFY(image.loadFromData(bytes, qPrintable(format)));
            QCOMPARE(image.size(), d.plot(plotName)->size() * (2.0 * d.plot(plotName)->devicePixelRatioF()));
        } else {
            QXmlStreamReader xml(bytes);
            int paths = 0, lines = 0;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement) continue;
                if (xml.name() == QLatin1String("path") && !xml.attributes().value("d").isEmpty()) ++paths;
                if (xml.name() == QLatin1String("polyline")) ++lines;
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QVERIFY(paths >= 2);  // the two surfaces
            QVERIFY(lines >= 2);  // the axes' lines and ticks
        }
        QVERIFY(d.messages.messages.isEmpty());
    }

    // A picture leaving the program is drawn for a report: axes with numbers, the axis titles,
    // the two surfaces apart with a legend, and the airfoil and angle named in a caption.
    void picturesHaveScalesAndCaption_data() {
        QTest::addColumn<QString>("plotName");
        QTest::addColumn<QString>("yTitle");
        QTest::newRow("1-Cp") << "pressure"
                              << "1-Cp";
        QTest::newRow("profile") << "profil"
                                 << "y/c";
    }
    void picturesHaveScalesAndCaption() {
        QFETCH(QString, plotName);
        QFETCH(QString, yTitle);
        d.open();
        d.calculate(1, "81", "4");
        d.asker.answer = FileNameAsker::Choice{d.path("p.svg"), 1};
        d.plot(plotName)->setFocus();
        d.press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QFile saved(d.path("p.svg"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(saved.readAll());
        QStringList texts;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text")) {
                texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        const QString all = texts.join('|');
        for (const QString& wanted : {QString("x/c"), yTitle, QString("upper surface"), QString("lower surface"),
                                      QString("0.2"), QString("0.8")}) {
            QVERIFY2(texts.contains(wanted), qPrintable(wanted + " not in " + all));
        }
        // The caption (the generator may split it into runs of one font).
        QVERIFY2(texts.join(' ').contains(QString::fromUtf8("Karman-Trefftz F=0.1 G=0.05 m=1.9, α = 4°")),
                 qPrintable(all));
        // Both surfaces in their colours in the copied image.
        d.press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QImage image = QApplication::clipboard()->image();
        const QString folder = qEnvironmentVariable("ORVEK_SCREENSHOT_DIR");
        if (!folder.isEmpty()) image.save(folder + "/picture-" + plotName + ".png");
        int red = 0, blue = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                red += qRed(p) > 200 && qGreen(p) < 120 && qBlue(p) < 120;
                blue += qBlue(p) > 150 && qRed(p) < 80 && qGreen(p) < 120;
            }
        }
        QVERIFY2(red > 100 && blue > 100, qPrintable(QString("%1 red, %2 blue").arg(red).arg(blue)));
    }

    // A case of 200,001 points gives a vector picture of the thinned curve, not 200,000 segments.
    void svgOfALargeCaseIsThinned() {
        d.open();
        d.calculate(1, "200001");
        d.asker.answer = FileNameAsker::Choice{d.path("big.svg"), 1};
        d.tools()->savePictureAction()->trigger();
        QFile saved(d.path("big.svg"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        // Every vertex costs at least a few bytes; four per half-pixel column at most survive.
        QVERIFY2(bytes.size() < 200000, qPrintable(QString::number(bytes.size())));
        QVERIFY(bytes.contains("<path"));
    }

    // The name's extension .csv or .dat decides between CSV and the .dat layouts; the filter
    // chosen decides between Selig and Lednicer, and the format of any other name.
    // "Compare with a file…" of our own export: the pressure and the contour differ from the
    // case by nothing where every x is matched; a file with a fault is refused with its line.
    void compareWithOwnExport_data() {
        QTest::addColumn<int>("exportFilter");   // CSV with 1-Cp, Selig
        QTest::addColumn<int>("compareFilter");  // pressure, coordinates
        QTest::newRow("pressure") << 2 << 0;
        QTest::newRow("coordinates") << 0 << 1;
    }
    void compareWithOwnExport() {
        QFETCH(int, exportFilter);
        QFETCH(int, compareFilter);
        d.open();
        QVERIFY(d.plot("pressure")->toolTip().contains("Right click"));
        d.calculate(1, "51", "3");
        const QString file = d.path(exportFilter == 2 ? "ours.csv" : "ours.dat");
        d.asker.answer = FileNameAsker::Choice{file, exportFilter};
        d.press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        d.asker.answer = FileNameAsker::Choice{file, compareFilter};
        d.press(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY2(d.messages.messages.isEmpty(), qPrintable(d.messages.messages.join("\n")));
        CompareWindow* w = d.tools()->compareWindow();
        QVERIFY(w && w->isVisible());
        std::size_t matched = 0;
        for (const orvek::Difference& side : w->differences()) {
            matched += side.x.size();
            for (const double v : side.value) QVERIFY2(std::fabs(v) <= 5e-9, qPrintable(QString::number(v)));
        }
        QCOMPARE(matched, std::size_t{51});
        QCOMPARE(w->difference()->curves().size(), 2);
        d.snapshotIfAsked(compareFilter == 0 ? "compare-pressure.png" : "compare-profile.png", w);

        QFile broken(d.path("broken.txt"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("x Cp\n1 0.2\n0.5 nope\n");
        broken.close();
        d.asker.answer = FileNameAsker::Choice{d.path("broken.txt"), 0};
        d.press(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(d.messages.messages.size(), 1);
        QVERIFY(d.messages.messages[0].startsWith("broken.txt, line 3: expected 2 numbers"));
    }

    // On a screen of 1280 x 1000 pixels at scale 1 and 2, every window fits the screen and the
    // secondary windows open beside one another (windowsOnTheScreen in a child with that screen).
    void windowsFitTheScreen_data() {
        QTest::addColumn<QString>("factor");
        QTest::newRow("scale 1") << "1";
        QTest::newRow("scale 2") << "2";
    }
    void windowsFitTheScreen() {
        QFETCH(QString, factor);
        QFile screen(d.path("screen.json"));
        QVERIFY(screen.open(QIODevice::WriteOnly));
        screen.write(R"({"screens": [{"name": "Trial", "x": 0, "y": 0, "width": 1280, "height": 1000,
                         "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screen.close();
        const QString failure =
            failureOfChild("windowsOnTheScreen", {"QT_QPA_PLATFORM=offscreen:configfile=" + screen.fileName(),
                                                  "QT_SCALE_FACTOR=" + factor, "ORVEK_EXPECTED_SCREEN=1280x1000"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    // The main window, then the polar, the explorer and the flow window opened by their shortcuts,
    // each from the main window: every frame lies within the screen's available area, every
    // secondary window shows its whole content (no scroll bar), and no two open at one place; the
    // first opens clear of the main window where the screen has room beside it.
    void windowsOnTheScreen() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QString expected = qEnvironmentVariable("ORVEK_EXPECTED_SCREEN");
        if (!expected.isEmpty()) {
            QCOMPARE(QString("%1x%2").arg(qRound(area.width() * qApp->devicePixelRatio()))
                         .arg(qRound(area.height() * qApp->devicePixelRatio())),
                     expected);
        }
        d.open();
        d.calculate(1);
        QList<QWidget*> opened;
        const std::pair<Qt::Key, std::function<QWidget*()>> windows[] = {
            {Qt::Key_P, [&] { return d.tools()->polarWindow(); }},
            {Qt::Key_A, [&] { return d.tools()->explorerWindow(); }},
            {Qt::Key_F, [&] { return d.tools()->flowWindow(); }}};
        for (const auto& [key, window] : windows) {
            d.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d.window.get()));
            d.press(key, Qt::ControlModifier | Qt::ShiftModifier);
            QWidget* w = window();
            QVERIFY(w && w->isVisible());
            QVERIFY(QTest::qWaitForWindowExposed(w));
            opened << w;
        }
        QVERIFY2(d.messages.messages.isEmpty(), qPrintable(d.messages.messages.join("\n")));
        QApplication::processEvents();
        const QRect main = d.window->frameGeometry();
        QVERIFY2(area.contains(main), qPrintable(QString("the main window's frame %1,%2 %3x%4")
                                                     .arg(main.x()).arg(main.y()).arg(main.width()).arg(main.height())));
        if (area.width() >= main.width() + opened[0]->frameGeometry().width()) {
            QVERIFY(!opened[0]->frameGeometry().intersects(main));
        }
        // A picture of the screen, the windows where they opened, for whoever looks.
        const QString folder = qEnvironmentVariable("ORVEK_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            QImage screen(area.size() * qApp->devicePixelRatio(), QImage::Format_RGB32);
            screen.setDevicePixelRatio(qApp->devicePixelRatio());
            screen.fill(QColor(90, 110, 130));
            QPainter painter(&screen);
            for (QWidget* w : QList<QWidget*>{d.window.get()} + opened) {
                painter.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
                painter.setPen(Qt::black);
                painter.drawRect(w->frameGeometry().translated(-area.topLeft()).adjusted(0, 0, -1, -1));
            }
            painter.end();
            screen.save(folder + QString("/screen-scale-%1.png").arg(qApp->devicePixelRatio()));
        }
        QList<QPoint> corners{main.topLeft()};
        for (QWidget* w : opened) {
            const QRect frame = w->frameGeometry();
            QVERIFY2(area.contains(frame), qPrintable(QString("%1's frame %2,%3 %4x%5 leaves the screen")
                                                          .arg(w->objectName()).arg(frame.x()).arg(frame.y())
                                                          .arg(frame.width()).arg(frame.height())));
            QVERIFY2(!corners.contains(frame.topLeft()), qPrintable(w->objectName() + " opened on another window"));
            corners << frame.topLeft();
            auto* scroll = w->findChild<QScrollArea*>("scrollArea");
            QVERIFY(scroll);
            QVERIFY2(!scroll->verticalScrollBar()->isVisible() && !scroll->horizontalScrollBar()->isVisible(),
                     qPrintable(QString("%1 (%2 x %3) scrolls its content (%4 x %5 at least)")
                                    .arg(w->objectName()).arg(w->width()).arg(w->height())
                                    .arg(scroll->widget()->minimumSizeHint().width())
                                    .arg(scroll->widget()->minimumSizeHint().height())));
        }
    }

    void exportCoordinates_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("format");
        QTest::newRow("Selig") << "a.dat" << 0 << "Selig";
        QTest::newRow("Lednicer") << "b.dat" << 1 << "Lednicer";
        QTest::newRow("CSV") << "c.csv" << 2 << "CSV";
        QTest::newRow("CSV by its name, Selig chosen") << "d.CSV" << 0 << "CSV";
        QTest::newRow(".dat with CSV chosen") << "e.dat" << 2 << "Selig";
        QTest::newRow("other name, CSV chosen") << "f.txt" << 2 << "CSV";
        QTest::newRow("other name, Lednicer chosen") << "g.txt" << 1 << "Lednicer";
    }

    void exportCoordinates() {
        QFETCH(QString, file);
        QFETCH(int, filter);
        QFETCH(QString, format);
        d.open();
        d.calculate(1, "81", "4");
        d.asker.answer = FileNameAsker::Choice{d.path(file), filter};
        d.press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QFile saved(d.path(file));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(saved.readAll());
        QVERIFY(!text.contains('\r'));
        const orvek::SolverResult expected = solveCase(0.1, 0.05, 1.9, 4, 81);
        const auto& p = expected.points;
        auto near = [](coordinates::Point a, double x, double y) {
            return std::fabs(a.x - x) < 1e-8 && std::fabs(a.y - y) < 1e-8;
        };
        if (format == "Selig") {
            const coordinates::CoordinateFile f = coordinates::readSelig(text);
            QVERIFY(f.ok);
            QCOMPARE(f.name, QString("Karman-Trefftz F=0.1 G=0.05 m=1.9"));
            QCOMPARE(f.all.size(), std::size_t(81));
            // From the trailing edge over the upper surface to the leading edge and back below.
            for (std::size_t k = 0; k < 81; ++k) QVERIFY(near(f.all[k], p.x[81 - k], p.y[81 - k]));
            QVERIFY(f.all[1].y >= 0);
            QVERIFY(f.all[79].y < f.all[1].y);
        } else if (format == "Lednicer") {
            const coordinates::CoordinateFile f = coordinates::readLednicer(text);
            QVERIFY(f.ok);
            QCOMPARE(f.upper.size(), std::size_t(41));
            QCOMPARE(f.lower.size(), std::size_t(41));
            for (std::size_t k = 0; k < 41; ++k) {
                QVERIFY(near(f.upper[k], p.x[41 + k], p.y[41 + k]));
                QVERIFY(near(f.lower[k], p.x[41 - k], p.y[41 - k]));
            }
            QVERIFY(f.upper.back().x > 0.99 && f.lower.back().x > 0.99);
        } else {
            const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.first(), QString("index,x,y,OneMinusCp,surface"));
            QCOMPARE(lines.size(), 82);
            const QStringList row = lines[10].split(',');
            QCOMPARE(row[0].toInt(), 10);
            QVERIFY(std::fabs(row[3].toDouble() - p.Cu[10]) < 1e-8);
            QCOMPARE(row[4], QString("lower"));
        }
        QVERIFY(d.messages.messages.isEmpty());
    }

    // The boundary-layer window (Ctrl+Shift+B) estimates the main window's case with the numbers
    // typed into its own boxes: transition and separation marked on every chart where the core
    // puts them, the stations exported byte for byte as orvek-batch boundary-layer writes them,
    // text that is no number refused with a sentence and the estimate kept.
    void boundaryLayerWindow_data() {
        QTest::addColumn<QStringList>("typed");     // box object name, text typed, ...
        QTest::addColumn<QStringList>("options");   // the same case for orvek-batch
        QTest::addColumn<QString>("refusal");       // a part of the sentence, empty when accepted
        QTest::addColumn<QString>("shown");         // a part of the numbers shown
        QTest::newRow("defaults") << QStringList{} << QStringList{"--re", "1000000"} << "" << "Transition x/c, upper";
        QTest::newRow("Re with an exponent, Ncrit with a comma")
            << QStringList{"layerRe", "3e5", "layerNcrit", "7,5"} << QStringList{"--re", "3e5", "--ncrit", "7.5"} << ""
            << "CDf";
        QTest::newRow("upper trip with a comma") << QStringList{"layerTripUpper", "0,05"}
                                                 << QStringList{"--re", "1e6", "--trip-upper", "0.05"} << ""
                                                 << "0.050 (trip)";
        QTest::newRow("lower trip, Mach") << QStringList{"layerTripLower", "0.2", "layerMach", "0.3"}
                                          << QStringList{"--re", "1e6", "--trip-lower", "0.2"} << ""
                                          << "Critical Mach number";
        QTest::newRow("Mach emptied again") << QStringList{"layerMach", "0.3", "layerMach", ""}
                                            << QStringList{"--re", "1e6"} << "" << "L/D";
        QTest::newRow("Re that is no number") << QStringList{"layerRe", "1x6"} << QStringList{"--re", "1e6"}
                                              << QString::fromUtf8("“1x6” is no number for the Reynolds number")
                                              << "CDp";
        QTest::newRow("Mach that is no number") << QStringList{"layerMach", "0.3.1"} << QStringList{"--re", "1e6"}
                                                << QString::fromUtf8("“0.3.1” is no number for the Mach number")
                                                << "CD";
    }
    void boundaryLayerWindow() {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, options);
        QFETCH(QString, refusal);
        QFETCH(QString, shown);
        d.open();
        d.calculate(1, "51", "4");
        d.press(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        BoundaryLayerWindow* w = d.tools()->boundaryLayerWindow();
        QVERIFY(w && w->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(w));
        for (qsizetype k = 0; k + 1 < typed.size(); k += 2) {
            auto* box = w->findChild<NumberBox*>(typed[k]);
            QVERIFY(box);
            box->setFocus();
            box->selectAll();
            if (typed[k + 1].isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
            else QTest::keyClicks(box, typed[k + 1]);
            QTest::keyClick(box, Qt::Key_Return);
        }
        if (refusal.isEmpty()) {
            QVERIFY2(d.messages.messages.isEmpty(), qPrintable(d.messages.messages.join('\n')));
        } else {
            QCOMPARE(d.messages.messages.size(), 1);
            QVERIFY2(d.messages.messages[0].contains(refusal), qPrintable(d.messages.messages[0]));
        }
        QVERIFY2(w->problem().isEmpty(), qPrintable(w->problem()));
        QVERIFY(w->result());
        QVERIFY(w->numbersText().contains(shown));

        // The core's estimate of the same case: every chart marks its transitions and separations.
        const orvek::Expected<orvek::ViscousResult> core = orvek::boundaryLayer(w->input());
        QVERIFY(core);
        QCOMPARE(w->input().airfoil, orvek::Airfoil({0.1, 0.05, 1.9}));
        QCOMPARE(w->input().alphaDegrees, 4.0);
        QCOMPARE(w->result()->CD, core->CD);
        QVector<double> expected;
        for (const orvek::LayerSide* side : {&core->upper, &core->lower}) {
            if (side->transition < 1 || side->tripped) expected << side->transition;
            if (side->separation) expected << *side->separation;
        }
        QVERIFY(!expected.isEmpty());
        for (int k = 0; k < BoundaryLayerWindow::ChartCount; ++k) {
            QVector<double> marked;
            for (const Chart::Mark& m : w->chart(static_cast<BoundaryLayerWindow::ChartKind>(k))->marks()) marked << m.x;
            QCOMPARE(marked, expected);
        }
        // The amplification chart's line at Ncrit.
        const QVector<Chart::Curve>& n = w->chart(BoundaryLayerWindow::Amplification)->curves();
        QVERIFY(std::any_of(n.begin(), n.end(), [&](const Chart::Curve& c) {
            return c.points.size() == 2 && c.points[0].y() == core->Ncrit && c.points[1].y() == core->Ncrit;
        }));

        // "Export stations…" writes what orvek-batch boundary-layer prints for the same case.
        d.asker.answer = FileNameAsker::Choice{d.path("stations.csv"), 0};
        QTest::mouseClick(w->findChild<QPushButton*>("layerExport"), Qt::LeftButton);
        QFile saved(d.path("stations.csv"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QProcess batch;
        batch.start(ORVEK_BATCH, QStringList{"boundary-layer", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--alpha",
                                             "4", "--format", "csv"} + options);
        QVERIFY(batch.waitForFinished(20000));
        QCOMPARE(batch.exitCode(), 0);
        QCOMPARE(saved.readAll(), batch.readAllStandardOutput());
        if (QTest::currentDataTag() == QString("lower trip, Mach")) {
            QApplication::processEvents();  // the labels laid out for their new texts
            d.snapshotIfAsked("boundary-layer.png", w);
            const QString folder = qEnvironmentVariable("ORVEK_SCREENSHOT_DIR");
            QTest::mouseClick(w->findChild<QPushButton*>("layerPicture"), Qt::LeftButton);
            if (!folder.isEmpty()) QApplication::clipboard()->image().save(folder + "/boundary-layer-picture.png");
        }

        // The numbers copied as text, and the five charts as one picture.
        QTest::mouseClick(w->findChild<QPushButton*>("layerCopy"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), w->numbersText());
        d.asker.answer = FileNameAsker::Choice{d.path("layer.svg"), 1};
        QTest::mouseClick(w->findChild<QPushButton*>("layerSave"), Qt::LeftButton);
        QFile svg(d.path("layer.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray picture = svg.readAll();
        for (const char* title : {"Ue/V", "Cf", "x/c"}) QVERIFY(picture.contains(title));

        // The next calculation of the main window is followed.
        d.calculate(2, "51", "2");
        QCOMPARE(w->input().airfoil, orvek::Airfoil({0.1, 0, 2}));
        QCOMPARE(w->input().alphaDegrees, 2.0);
    }

    void savingToAnUnwritablePlaceSaysWhy() {
        d.open();
        d.calculate(0);
        d.asker.answer = FileNameAsker::Choice{d.path("no/such/folder/a.dat"), 0};
        d.tools()->exportCoordinatesAction()->trigger();
        QCOMPARE(d.messages.messages.size(), 1);
        QVERIFY(d.messages.messages[0].contains("a.dat"));
        d.asker.answer.reset();  // cancelled: nothing happens
        d.tools()->exportCoordinatesAction()->trigger();
        QCOMPARE(d.messages.messages.size(), 1);
    }

    // A calculated shape that is no simple airfoil gets no picture and no coordinate file: the
    // measurement's sentence says why.
    void shapesThatAreNoAirfoilAreRefused_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("F below 0") << "0,0,0,0,-0.3,0,2"
                                   << "F is -0.3";
        QTest::newRow("m beyond 2") << "0,0,0,0,0.1,0,2.5"
                                    << "the exponent m is 2.5";
    }
    void shapesThatAreNoAirfoilAreRefused() {
        QFETCH(QString, line);
        QFETCH(QString, reason);
        d.open("Odd shapes\r\n" + line.toUtf8() + "\r\n");
        d.calculate(0);
        QVERIFY2(d.messages.messages.isEmpty(), qPrintable(d.messages.messages.join('\n')));
        d.asker.answer = FileNameAsker::Choice{d.path("odd.dat"), 0};
        d.tools()->exportCoordinatesAction()->trigger();
        d.asker.answer = FileNameAsker::Choice{d.path("odd.png"), 0};
        d.tools()->savePictureAction()->trigger();
        d.tools()->copyPictureAction()->trigger();
        QCOMPARE(d.messages.messages.size(), 3);
        for (const QString& m : d.messages.messages) QVERIFY2(m.contains(reason), qPrintable(m));
        QCOMPARE(d.asker.asked, 0);
        QVERIFY(!QFile::exists(d.path("odd.dat")) && !QFile::exists(d.path("odd.png")));
    }
};

QTEST_MAIN(TestPlotMenu)
#include "test_plotmenu.moc"
