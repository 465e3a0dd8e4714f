// Random input on the desktop program: clicks, drags, wheel turns, keys, menu commands, and
// dialogs, message boxes and file dialogs answered at random. Runs only when
// ORVANTIS_MONKEY_SECONDS is set (the sanitizer run and `make monkey-long`); the seed
// (ORVANTIS_MONKEY_SEED) makes a run replayable. It fails on a hang of more than
// ORVANTIS_MONKEY_HANG_SECONDS (10 by default), on a crash or sanitizer report (the process
// dies), and on a project saved during the run that `orvantis report` cannot read.
#include "app/LENIBApp.h"
#include "app/LENIBDoc.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/print/ReportPrinter.h"
#include "ui/shell/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/wait.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

// Aborts the process when the input loop makes no step for the given time: a hang.
class Watchdog {
  public:
    Watchdog(long seconds, unsigned seed) : m_seconds(seconds), m_seed(seed) {
        Beat();
        m_thread = std::thread([this] {
            while (!m_stop) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                const auto last = Clock::time_point(Clock::duration(m_last.load()));
                if (Clock::now() - last > std::chrono::seconds(m_seconds)) {
                    std::fprintf(stderr, "monkey: no input handled for %ld s after step %ld (seed %u)\n",
                                 m_seconds, m_step.load(), m_seed);
                    std::abort();
                }
            }
        });
    }
    ~Watchdog() {
        m_stop = true;
        m_thread.join();
    }
    void Beat() { m_last = Clock::now().time_since_epoch().count(); }
    std::atomic<long> m_step{0};

  private:
    long m_seconds;
    unsigned m_seed;
    std::atomic<bool> m_stop{false};
    std::atomic<Clock::rep> m_last{0};
    std::thread m_thread;
};

class MonkeyTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        // Nothing outside the test's folder: home, configuration, cache, and the program that
        // opens folders and pages (a stand-in that does nothing).
        fs::create_directories(dir / "home");
        fs::create_directories(dir / "bin");
        WriteFileText(dir / "bin" / "xdg-open", "#!/bin/sh\nexit 0\n");
        fs::permissions(dir / "bin" / "xdg-open", fs::perms::owner_all);
        setenv("HOME", (dir / "home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir / "home" / ".config").c_str(), 1);
        setenv("XDG_CACHE_HOME", (dir / "home" / ".cache").c_str(), 1);
        const char* path = std::getenv("PATH");
        setenv("PATH", ((dir / "bin").string() + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
        // Printing goes into a PDF in the folder, never to a printer.
        GetReportPrinter().setOutputFormat(QPrinter::PdfFormat);
        GetReportPrinter().setOutputFileName(QString::fromStdString((dir / "printed.pdf").string()));
    }

    int Pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool Chance(int percent) { return Pick(100) < percent; }

    QString RandomPath() {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            if (entry.is_regular_file() && entry.path().parent_path().filename() != "bin")
                files.push_back(entry.path());
        switch (Pick(5)) {
        case 0:
            return QString();
        case 1:
            if (!files.empty()) return QString::fromStdString(files[size_t(Pick(int(files.size())))].string());
            [[fallthrough]];
        case 2:
            return QString::fromStdString((ProjectsDir() / ("m" + std::to_string(Pick(4)) + ".LENI1XML")).string());
        case 3:
            return QString::fromStdString((ProjectsDir() / ("f" + std::to_string(Pick(4)))).string());
        default:
            return QString::fromStdString((dir / "missing" / "x.dxf").string());
        }
    }

    QString RandomText() {
        static const char* const texts[] = {"", "0", "-1", "3.5", "1e308", "nan", "abc", "12,5",
                                            "100000", "Città", "a/b\\c", "2010"};
        return QString::fromUtf8(texts[Pick(int(std::size(texts)))]);
    }

    void AnswerDialog(QDialog& dialog) {
        for (QLineEdit* field : dialog.findChildren<QLineEdit*>())
            if (Chance(20)) field->setText(RandomText());
        for (QComboBox* list : dialog.findChildren<QComboBox*>())
            if (Chance(20) && list->count() > 0) list->setCurrentIndex(Pick(list->count()));
        if (Chance(60))
            dialog.accept();
        else
            dialog.reject();
    }

    // A random event on a random visible widget of the window in front.
    void Poke(QWidget& top) {
        std::vector<QWidget*> widgets{&top};
        for (QWidget* child : top.findChildren<QWidget*>())
            if (child->isVisible() && child->width() > 0 && child->height() > 0) widgets.push_back(child);
        QWidget* target = widgets[size_t(Pick(int(widgets.size())))];
        const QPoint at(Pick(target->width()), Pick(target->height()));
        const Qt::KeyboardModifiers mods = Chance(20) ? Qt::ControlModifier
                                           : Chance(10) ? Qt::ShiftModifier
                                                        : Qt::NoModifier;
        static const Qt::Key keys[] = {Qt::Key_Delete, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Left,
                                       Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Tab,
                                       Qt::Key_F3,     Qt::Key_Z,      Qt::Key_Y,      Qt::Key_A,
                                       Qt::Key_1,      Qt::Key_Space,  Qt::Key_Backspace};
        switch (Pick(6)) {
        case 0:
            QTest::mouseClick(target, Chance(80) ? Qt::LeftButton : Qt::RightButton, mods, at);
            break;
        case 1:
            QTest::mouseDClick(target, Qt::LeftButton, mods, at);
            break;
        case 2: {
            QTest::mousePress(target, Qt::LeftButton, mods, at);
            QTest::mouseMove(target, QPoint(Pick(target->width()), Pick(target->height())));
            QTest::mouseRelease(target, Qt::LeftButton, mods,
                                QPoint(Pick(target->width()), Pick(target->height())));
            break;
        }
        case 3: {
            QWheelEvent wheel(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(),
                              QPoint(0, Chance(50) ? 120 : -120), Qt::NoButton, mods, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
            break;
        }
        default:
            QTest::keyClick(target, keys[Pick(int(std::size(keys)))], mods);
            break;
        }
    }

    void Step() {
        m_watchdog->Beat();
        if (Clock::now() >= m_end) {
            // Time is up: close what an unfinished step still waits in, then stop.
            if (m_depth == 0) {
                m_loop.quit();
                return;
            }
            QTimer::singleShot(1, [this] { Step(); });
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
            else if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
            return;
        }
        // The next step is due even while this one waits in a menu or other modal loop.
        QTimer::singleShot(1, [this] { Step(); });
        ++m_watchdog->m_step;
        if (++m_depth > 4) {
            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            --m_depth;
            return;
        }
        if (QWidget* popup = QApplication::activePopupWidget()) {
            if (Chance(30))
                popup->close();
            else
                Poke(*popup);
        } else if (QWidget* modal = QApplication::activeModalWidget()) {
            if (Chance(10) && qobject_cast<QDialog*>(modal))
                static_cast<QDialog*>(modal)->reject();
            else
                Poke(*modal);
        } else {
            CMainFrame& f = Frame();
            if (!f.isVisible()) f.show();
            boxes.answers.assign(1, Chance(50) ? IDYES : Chance(50) ? IDNO : IDCANCEL);
            if (Chance(25)) {
                const QList<QAction*> actions = f.findChildren<QAction*>();
                QAction* action = actions.isEmpty() ? nullptr : actions[Pick(int(actions.size()))];
                if (action && action->data().toInt() != ID_APP_EXIT && !action->text().contains("E&xit"))
                    action->trigger();
            } else {
                Poke(f);
            }
        }
        --m_depth;
    }

    std::mt19937 rng;
    std::unique_ptr<Watchdog> m_watchdog;
    Clock::time_point m_end;
    QEventLoop m_loop;
    int m_depth = 0;
};

TEST_F(MonkeyTest, RandomInputNeitherHangsNorCrashesAndLeavesReadableProjects) {
    const long seconds = EnvNumber("ORVANTIS_MONKEY_SECONDS", 0);
    if (seconds <= 0) GTEST_SKIP() << "set ORVANTIS_MONKEY_SECONDS (and ORVANTIS_MONKEY_SEED) to run";
    const unsigned seed = unsigned(EnvNumber("ORVANTIS_MONKEY_SEED", 1));
    std::printf("monkey: seed %u for %ld s (replay: ORVANTIS_MONKEY_SEED=%u)\n", seed, seconds, seed);
    rng.seed(seed);

    // A project with a floor to work on, then everything at random.
    NewProject("Monkey");
    AddSimpleFloor("Ground", 10, 8, 3, true);
    SetDialogHook([this](QDialog& dialog) { AnswerDialog(dialog); });
    SetFileDialogHook([this](int, const QString&, const QString&) { return RandomPath(); });
    Frame().show();

    m_watchdog = std::make_unique<Watchdog>(EnvNumber("ORVANTIS_MONKEY_HANG_SECONDS", 10), seed);
    m_end = Clock::now() + std::chrono::seconds(seconds);
    QTimer::singleShot(0, [this] { Step(); });
    m_loop.exec();
    // Leave through the program's own close, answering its questions with No.
    SetDialogHook([](QDialog& dialog) { dialog.reject(); });
    SetFileDialogHook([](int, const QString&, const QString&) { return QString(); });
    boxes.answers.clear();
    boxes.defaultAnswer = IDNO;
    QApplication::processEvents();
    const long steps = m_watchdog->m_step;
    m_watchdog.reset();
    std::printf("monkey: %ld steps, %zu message boxes\n", steps, boxes.boxes.size());

    // Every project file written during the run is read by the batch tool (which must be there,
    // or the check would pass on the shell's "not found").
    ASSERT_TRUE(fs::is_regular_file(ORVANTIS_EXE)) << ORVANTIS_EXE << ": build the orvantis target too";
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
        if (!entry.is_regular_file() || entry.path().extension() != ".LENI1XML") continue;
        // Only projects: a PDF or product list the monkey saved under such a name is no project.
        if (ReadFileText(entry.path()).find("<NUVA_LENI_V3") == std::string::npos) continue;
        const fs::path out = dir / ("check" + std::to_string(checked));
        const std::string command = std::string("'") + ORVANTIS_EXE + "' report '" + entry.path().string() +
                                    "' '" + out.string() + ".xml' '" + out.string() + ".log' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << entry.path() << " made report die";
        const std::string log = ReadFileText(out.string() + ".log");
        // A project without floors has nothing to calculate: report refuses it on purpose.
        if (log.find("No floors defined in the project") != std::string::npos) continue;
        ++checked;
        EXPECT_NE(WEXITSTATUS(status), 3) << entry.path() << " cannot be read back:\n"
                                          << log << "\n"
                                          << ReadFileText(entry.path());
    }
    std::printf("monkey: %d saved projects read back\n", checked);
}

} // namespace
