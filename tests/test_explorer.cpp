// The plots' context menus and shortcuts, pictures, coordinate files, the polar window and the
// airfoil explorer, driven headless as a user would drive them.

#include "AirfoilTools.h"
#include "plot/Chart.h"
#include "ExplorerWindow.h"
#include "FileNameAsker.h"
#include "FormORVEK.h"
#include "MessagePresenter.h"
#include "plot/PlotArea.h"
#include "PlotTools.h"
#include "PolarWindow.h"
#include "SolveCase.h"

#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

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
    std::optional<Choice> answer;
    QStringList offered;
    int asked = 0;
};

const QByteArray Catalogue =
    "Sample catalogue\r\n"
    "0.118,0.0227,0.2523,0,0.1,0.05,2\r\n"
    "0.1808,0.022,0.3423,18,0.1,0.05,1.9\r\n"
    "0.1179,0,0.2531,0,0.1,0,2\r\n";

struct Point {
    double x, y;
};

// A small reader of airfoil coordinate files: Selig (name, then x y rows) and Lednicer (name,
// the two counts, a blank line, the upper surface, a blank line, the lower surface).
struct CoordinateFile {
    QString name;
    std::vector<Point> upper, lower, all;
    bool ok = false;
};
bool parsePair(const QString& line, Point& p) {
    const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 2) return false;
    bool okX = false, okY = false;
    p = Point{parts[0].toDouble(&okX), parts[1].toDouble(&okY)};
    return okX && okY;
}
CoordinateFile readSelig(const QString& text) {
    CoordinateFile f;
    const QStringList lines = text.split('\n');
    f.name = lines.value(0);
    for (int k = 1; k < lines.size(); ++k) {
        if (lines[k].isEmpty() && k == lines.size() - 1) break;
        Point p;
        if (!parsePair(lines[k], p)) return f;
        f.all.push_back(p);
    }
    f.ok = !f.all.empty();
    return f;
}
CoordinateFile readLednicer(const QString& text) {
    CoordinateFile f;
    const QStringList lines = text.split('\n');
    if (lines.size() < 4) return f;
    f.name = lines[0];
    const QStringList counts = lines[1].split(' ', Qt::SkipEmptyParts);
    if (counts.size() != 2 || !lines[2].isEmpty()) return f;
    const int nu = static_cast<int>(counts[0].toDouble()), nl = static_cast<int>(counts[1].toDouble());
    int k = 3;
    for (int i = 0; i < nu; ++i, ++k) {
        Point p;
        if (!parsePair(lines.value(k), p)) return f;
        f.upper.push_back(p);
    }
    if (!lines.value(k++).isEmpty()) return f;
    for (int i = 0; i < nl; ++i, ++k) {
        Point p;
        if (!parsePair(lines.value(k), p)) return f;
        f.lower.push_back(p);
    }
    f.ok = k == lines.size() - 1 && lines[k].isEmpty();
    return f;
}

}  // namespace

class TestExplorer : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    RecordingPresenter messages;
    ScriptedAsker asker;
    std::unique_ptr<Form_ORVEK> window;

    PlotTools* tools() { return window->findChild<PlotTools*>(); }
    PlotArea* plot(const QString& name) { return window->findChild<PlotArea*>(name); }

    void open() {
        QFile f(dir->filePath("ORVEK_Input.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Catalogue);
        f.close();
        window = std::make_unique<Form_ORVEK>(messages);
        tools()->setFileNameAsker(asker);
        window->show();
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
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    QString path(const QString& name) { return dir->filePath(name); }
    void snapshotIfAsked(const QString& name, QWidget* w) {
        const QString folder = qEnvironmentVariable("ORVEK_SCREENSHOT_DIR");
        if (!folder.isEmpty()) w->grab().save(folder + "/" + name);
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir->path());
        messages.messages.clear();
        asker = ScriptedAsker{};
    }
    void cleanup() {
        window.reset();
        QDir::setCurrent(previousDir);
        dir.reset();
    }

    void niceTicks_data() {
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<double>("step");
        QTest::addColumn<QString>("firstLabel");
        QTest::newRow("angles") << -10.0 << 15.0 << 5.0 << "-10";
        QTest::newRow("coefficients") << -0.2 << 1.7 << 0.5 << "-0.5";
        QTest::newRow("chord") << -0.05 << 1.05 << 0.2 << "-0.2";
        QTest::newRow("small") << 0.0012 << 0.0047 << 0.0005 << "0.0010";
        QTest::newRow("one value") << 2.0 << 2.0 << 0.1 << "1.8";
    }
    void niceTicks() {
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(double, step);
        QFETCH(QString, firstLabel);
        const axes::Range r = axes::niceRange(lo, hi, 5);
        QCOMPARE(r.step, step);
        QVERIFY(r.lo <= lo && r.hi >= hi);
        const std::vector<double> t = axes::ticks(r.lo, r.hi, r.step);
        QVERIFY(t.size() >= 3 && t.size() <= 12);
        QCOMPARE(axes::tickLabel(t.front(), r.step, QLocale::c()), firstLabel);
    }
    void tickLabelsFollowTheLocale() {
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(axes::tickLabel(0.25, 0.05, german), QString("0,25"));
        QCOMPARE(axes::tickLabel(-1e-17, 0.5, german), QString("0,0"));
        QCOMPARE(axes::tickLabel(1500, 500, german), QString("1500"));
        QCOMPARE(axes::tickLabel(0.25, 0.25, QLocale::c()), QString("0.25"));
    }

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
        open();
        QMenu* menu = tools()->menu();
        PlotArea* area = plot(plotName);
        const QStringList items = {"Copy picture", QString::fromUtf8("Save picture as…"),
                                   QString::fromUtf8("Export coordinates…"), QString::fromUtf8("Polar…"),
                                   QString::fromUtf8("Explore airfoil…")};
        for (bool calculated : {false, true}) {
            if (calculated) calculate(0);
            if (way == "right button") {
                // Through the window system, as a real click arrives.
                QTest::mouseClick(window->windowHandle(), Qt::RightButton, {},
                                  area->mapTo(window.get(), area->rect().center()));
            } else {
                area->setFocus();
                if (way == "Menu key") press(Qt::Key_Menu);
                else press(Qt::Key_F10, Qt::ShiftModifier);
            }
            QTRY_VERIFY(menu->isVisible());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(area));
            QStringList shown;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator()) continue;
                shown << a->text();
                QCOMPARE(a->isEnabled(), calculated || a->text() == items.last());
            }
            QCOMPARE(shown, items);
            QTest::keyClick(menu, Qt::Key_Escape);
            QTRY_VERIFY(!menu->isVisible());
        }
        QVERIFY(messages.messages.isEmpty());
    }

    void shortcutsAreWindowShortcuts() {
        open();
        const QStringList keys = {"Ctrl+Shift+C", "Ctrl+Shift+S", "Ctrl+Shift+E", "Ctrl+Shift+P", "Ctrl+Shift+A"};
        QStringList found;
        for (QAction* a : tools()->menu()->actions()) {
            if (a->isSeparator()) continue;
            found << a->shortcut().toString();
            QVERIFY(window->actions().contains(a));
            QCOMPARE(a->shortcutContext(), Qt::WindowShortcut);
        }
        QCOMPARE(found, keys);
        // The menu bar keeps its one item.
        QCOMPARE(window->findChild<QAction*>("Mn_About")->text(), QString("About"));
    }

    void copyPictureFillsTheClipboard_data() {
        QTest::addColumn<QString>("plotName");
        QTest::newRow("1-Cp") << "pressure";
        QTest::newRow("profile") << "profil";
    }
    void copyPictureFillsTheClipboard() {
        QFETCH(QString, plotName);
        open();
        calculate(1);
        QApplication::clipboard()->clear();
        plot(plotName)->setFocus();
        press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QImage image = QApplication::clipboard()->image();
        const double ratio = 2.0 * plot(plotName)->devicePixelRatioF();
        QCOMPARE(image.size(), plot(plotName)->size() * ratio);
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

    void savePicture_data() {
        QTest::addColumn<QString>("plotName");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("filter");
        QTest::newRow("1-Cp as PNG") << "pressure"
                                     << "p.png" << 0;
        QTest::newRow("profile as PNG") << "profil"
                                        << "q.png" << 0;
        QTest::newRow("1-Cp as SVG") << "pressure"
                                     << "p.svg" << 1;
        QTest::newRow("profile as SVG, by filter") << "profil"
                                                   << "q.picture" << 1;
    }
    void savePicture() {
        QFETCH(QString, plotName);
        QFETCH(QString, file);
        QFETCH(int, filter);
        open();
        calculate(1);
        asker.answer = FileNameAsker::Choice{path(file), filter};
        plot(plotName)->setFocus();
        press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(asker.asked, 1);
        QCOMPARE(asker.offered.size(), 2);
        QFile saved(path(file));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        if (filter == 0) {
            QImage image;
            QVERIFY(image.loadFromData(bytes, "PNG"));
            QCOMPARE(image.size(), plot(plotName)->size() * (2.0 * plot(plotName)->devicePixelRatioF()));
        } else {
            QXmlStreamReader xml(bytes);
            int paths = 0;
            while (!xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("path") &&
                    !xml.attributes().value("d").isEmpty()) {
                    ++paths;
                }
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QVERIFY(paths >= 3);  // two axes and the curve
        }
        QVERIFY(messages.messages.isEmpty());
    }

    // A case of 200,001 points gives a vector picture of the thinned curve, not 200,000 segments.
    void svgOfALargeCaseIsThinned() {
        open();
        calculate(1, "200001");
        asker.answer = FileNameAsker::Choice{path("big.svg"), 1};
        tools()->savePictureAction()->trigger();
        QFile saved(path("big.svg"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        // Every vertex costs at least a few bytes; four per half-pixel column at most survive.
        QVERIFY2(bytes.size() < 200000, qPrintable(QString::number(bytes.size())));
        QVERIFY(bytes.contains("<path"));
    }

    void exportCoordinates_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("filter");
        QTest::newRow("Selig") << "a.dat" << 0;
        QTest::newRow("Lednicer") << "b.dat" << 1;
        QTest::newRow("CSV") << "c.csv" << 2;
    }
    void exportCoordinates() {
        QFETCH(QString, file);
        QFETCH(int, filter);
        open();
        calculate(1, "81", "4");
        asker.answer = FileNameAsker::Choice{path(file), filter};
        press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QFile saved(path(file));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(saved.readAll());
        QVERIFY(!text.contains('\r'));
        const orvek::SolverResult expected = solveCase(0.1, 0.05, 1.9, 4, 81);
        const auto& p = expected.points;
        auto near = [](Point a, double x, double y) { return std::fabs(a.x - x) < 1e-8 && std::fabs(a.y - y) < 1e-8; };
        if (filter == 0) {
            const CoordinateFile f = readSelig(text);
            QVERIFY(f.ok);
            QCOMPARE(f.name, QString("Karman-Trefftz F=0.1 G=0.05 m=1.9"));
            QCOMPARE(f.all.size(), std::size_t(81));
            // From the trailing edge over the upper surface to the leading edge and back below.
            for (std::size_t k = 0; k < 81; ++k) QVERIFY(near(f.all[k], p.x[81 - k], p.y[81 - k]));
            QVERIFY(f.all[1].y >= 0);
            QVERIFY(f.all[79].y < f.all[1].y);
        } else if (filter == 1) {
            const CoordinateFile f = readLednicer(text);
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
        QVERIFY(messages.messages.isEmpty());
    }

    void savingToAnUnwritablePlaceSaysWhy() {
        open();
        calculate(0);
        asker.answer = FileNameAsker::Choice{path("no/such/folder/a.dat"), 0};
        tools()->exportCoordinatesAction()->trigger();
        QCOMPARE(messages.messages.size(), 1);
        QVERIFY(messages.messages[0].contains("a.dat"));
        asker.answer.reset();  // cancelled: nothing happens
        tools()->exportCoordinatesAction()->trigger();
        QCOMPARE(messages.messages.size(), 1);
    }

    // The polar shows the solver's coefficients at every angle and follows the main window.
    void polarWindow() {
        open();
        calculate(1);
        press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        PolarWindow* polar = tools()->polarWindow();
        QVERIFY(polar && polar->isVisible());
        auto* table = polar->findChild<QTableWidget*>("polarTable");
        QCOMPARE(table->rowCount(), 51);
        const QLocale locale;
        for (int row = 0; row < 51; ++row) {
            const double alpha = -10 + 0.5 * row;
            const orvek::SolverResult r = solveCase(0.1, 0.05, 1.9, alpha, 201);
            QCOMPARE(polar->rows()[static_cast<std::size_t>(row)].coefficients.CL, r.coefficients.CL);
            QCOMPARE(polar->rows()[static_cast<std::size_t>(row)].coefficients.CMc4, r.coefficients.CMc4);
            QCOMPARE(table->item(row, 1)->text(), locale.toString(r.coefficients.CL, 'f', 4));
            QCOMPARE(polar->rows()[static_cast<std::size_t>(row)].CpMin,
                     1.0 - *std::max_element(r.points.Cu.begin() + 1, r.points.Cu.end()));
        }
        // Row for row what the core's sweep gives.
        orvek::SweepInput sweep;
        sweep.airfoil = {0.1, 0.05, 1.9};
        sweep.from = -10;
        sweep.to = 15;
        sweep.step = 0.5;
        const orvek::Expected<std::vector<orvek::SweepRow>> core = orvek::sweep(sweep);
        QVERIFY(core);
        QCOMPARE(polar->rows().size(), core->size());
        for (std::size_t k = 0; k < core->size(); ++k) {
            QCOMPARE(polar->rows()[k].alpha, (*core)[k].alpha);
            QCOMPARE(polar->rows()[k].xCpMin, (*core)[k].xCpMin);
            QCOMPARE(table->item(static_cast<int>(k), 5)->text(), QString(orvek::surfaceName((*core)[k].surface)));
        }
        auto* chart = polar->findChild<Chart*>("polarChart");
        QCOMPARE(chart->curves().size(), 2);
        QCOMPARE(chart->marks().size(), 1);
        QCOMPARE(chart->marks()[0].x, solveCase(0.1, 0.05, 1.9, 0, 51).coefficients.Alfa0);
        snapshotIfAsked("polar.png", polar);

        // Range and step typed by the user.
        auto* step = polar->findChild<QDoubleSpinBox*>("polarStep");
        step->setValue(2.5);
        QCOMPARE(table->rowCount(), 11);
        step->setValue(-1);
        QVERIFY(!polar->problem().isEmpty());
        QCOMPARE(table->rowCount(), 0);
        step->setValue(0.5);

        // The next calculation in the main window shows its airfoil.
        calculate(2);
        QCOMPARE(polar->rows().front().coefficients.CL, solveCase(0.1, 0, 2, -10, 51).coefficients.CL);

        // "Save as CSV…" and "Copy".
        asker.answer = FileNameAsker::Choice{path("polar.csv"), 0};
        QTest::mouseClick(polar->findChild<QPushButton*>("polarSaveCsv"), Qt::LeftButton);
        QFile csv(path("polar.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().split('\n');
        QCOMPARE(lines[0], QByteArray("alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin"));
        QCOMPARE(lines[1].split(',')[0], QByteArray("-10"));
        QCOMPARE(lines[1].split(',')[1].toDouble(), polar->rows().front().coefficients.CL);
        // The same file as orvek-batch writes for this polar.
        QProcess batch;
        batch.start(ORVEK_BATCH, {"sweep", "--F", "0.1", "--G", "0", "--m", "2", "--from", "-10", "--to", "15",
                                  "--step", "0.5", "--format", "csv"});
        QVERIFY(batch.waitForFinished(10000));
        QCOMPARE(batch.exitCode(), 0);
        csv.seek(0);
        QCOMPARE(csv.readAll(), batch.readAllStandardOutput());
        QTest::mouseClick(polar->findChild<QPushButton*>("polarCopy"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text().count('\n'), 52);

        // One instance: asking again shows the same window.
        press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(tools()->polarWindow(), polar);
    }

    void explorerStartsFromTheLastCase() {
        open();
        tools()->exploreAction()->trigger();  // before any calculation: the default airfoil
        ExplorerWindow* explorer = tools()->explorerWindow();
        QVERIFY(explorer && explorer->isVisible());
        QVERIFY(explorer->plotsShown());
        explorer->close();
        window.reset();
        open();
        calculate(1, "51", "3");
        press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        explorer = tools()->explorerWindow();
        QCOMPARE(explorer->airfoil(), orvek::Airfoil({0.1, 0.05, 1.9}));
        QCOMPARE(explorer->spinBox(ExplorerWindow::Alpha)->value(), 3.0);
        const orvek::SolverResult r = solveCase(0.1, 0.05, 1.9, 3, 201);
        QCOMPARE(explorer->findChild<QLabel*>("explorerCL")->text(), QLocale().toString(r.coefficients.CL, 'f', 4));
        QCOMPARE(explorer->profileChart()->curves()[0].points.size(), 201);
        snapshotIfAsked("explorer.png", explorer);
    }

    // Moving the thickness slider thickens the drawn profile and the shown thickness follows.
    void thicknessSlider() {
        ExplorerWindow explorer;
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.setAirfoil({0.1, 0.05, 1.95}, 2);
        explorer.findChild<QRadioButton*>("explorerByTargets")->click();
        QSlider* slider = explorer.slider(ExplorerWindow::Thickness);
        QVERIFY(slider->isVisible());
        auto drawnThickness = [&] {
            double lo = 1, hi = -1;
            for (const QPointF& p : explorer.profileChart()->curves()[0].points) {
                lo = std::min(lo, p.y());
                hi = std::max(hi, p.y());
            }
            return hi - lo;
        };
        const double before = drawnThickness();
        const QString shownBefore = explorer.findChild<QLabel*>("explorerDelta")->text();
        slider->setFocus();
        for (int k = 0; k < 3; ++k) QTest::keyClick(slider, Qt::Key_PageUp);
        QVERIFY(explorer.plotsShown());
        const double target = explorer.spinBox(ExplorerWindow::Thickness)->value();
        QVERIFY(drawnThickness() > before + 0.02);
        const QString shown = explorer.findChild<QLabel*>("explorerDelta")->text();
        QVERIFY(shown != shownBefore);
        QCOMPARE(shown.section(' ', 0, 0), QLocale().toString(target, 'f', 4));
        QVERIFY(std::fabs(explorer.geometry().Delta - target) < 1e-5);
        // The mapping parameters follow the targets: m from the angle.
        QCOMPARE(explorer.airfoil().m, 2.0 - explorer.spinBox(ExplorerWindow::TeAngle)->value() / 180.0);
    }

    void impossibleTargetShowsAReason_data() {
        QTest::addColumn<double>("thickness");
        QTest::addColumn<double>("camber");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QString>("named");
        QTest::newRow("too thin for the angle") << 0.05 << 0.02 << 25.0 << "the thickness 0.05 is below";
        QTest::newRow("too thin for 30 degrees") << 0.12 << 0.0 << 30.0 << "the thickness 0.12 is below";
    }
    void impossibleTargetShowsAReason() {
        QFETCH(double, thickness);
        QFETCH(double, camber);
        QFETCH(double, angle);
        QFETCH(QString, named);
        ExplorerWindow explorer;
        explorer.show();
        explorer.setTargetMode(true);
        QVERIFY(explorer.plotsShown());
        explorer.spinBox(ExplorerWindow::TeAngle)->setValue(angle);
        explorer.spinBox(ExplorerWindow::Camber)->setValue(camber);
        explorer.spinBox(ExplorerWindow::Thickness)->setValue(thickness);
        QVERIFY2(explorer.problem().contains(named), qPrintable(explorer.problem()));
        QVERIFY(explorer.profileChart()->curves().isEmpty());
        QVERIFY(!explorer.profileChart()->isVisible());
        QVERIFY(explorer.findChild<QLabel*>("explorerProblem")->isVisible());
        QVERIFY(!explorer.findChild<QPushButton*>("explorerCopyLine")->isEnabled());
        // Back inside the range, the plots return.
        explorer.spinBox(ExplorerWindow::Camber)->setValue(0.02);
        explorer.spinBox(ExplorerWindow::Thickness)->setValue(0.15);
        QVERIFY2(explorer.plotsShown(), qPrintable(explorer.problem()));
    }

    // Mapping parameters the solver refuses: the reason replaces the plots, no message box.
    void unsolvableParametersShowAReason() {
        ExplorerWindow explorer;
        explorer.show();
        explorer.setAirfoil({0.1, 0.05, 1.9}, 0);
        explorer.spinBox(ExplorerWindow::F)->setFocus();
        explorer.spinBox(ExplorerWindow::F)->selectAll();
        QTest::keyClicks(explorer.spinBox(ExplorerWindow::F), "-0.2");
        QTest::keyClick(explorer.spinBox(ExplorerWindow::F), Qt::Key_Return);
        QCOMPARE(explorer.airfoil().F, -0.2);
        QVERIFY(!explorer.plotsShown());
        const orvek::Expected<orvek::SolverResult> refused = orvek::ORVEK(caseInput(-0.2, 0.05, 1.9, 0, 201));
        QVERIFY(!refused);
        QCOMPARE(explorer.problem(), QString::fromStdString(refused.error()));
        QVERIFY(explorer.findChild<QLabel*>("explorerCL")->text().isEmpty());
        QVERIFY(!explorer.profileChart()->isVisible());
        explorer.spinBox(ExplorerWindow::F)->setValue(0.1);
        QVERIFY(explorer.plotsShown());
    }

    void copyCatalogueLine() {
        ExplorerWindow explorer;
        explorer.setAirfoil({0.1, 0.05, 2}, 0);
        QTest::mouseClick(explorer.findChild<QPushButton*>("explorerCopyLine"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), QString("0.118,0.0227,0.2523,0,0.1,0.05,2"));
    }
};

QTEST_MAIN(TestExplorer)
#include "test_explorer.moc"
