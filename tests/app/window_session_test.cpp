// SPDX-License-Identifier: GPL-3.0-or-later
// One window per desktop session: what a start does with the running
// window, the local socket between starts, and real starts of the program.
#include "app/window_session.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <future>
#include <optional>

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include "app/LocalSocketLink.h"
#include "app/RecordingWindow.h"
#include "app/WindowFixture.h"
#include "app/recording_files.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;
using testing::WindowFixture;

// Stands in for the other starts of the program: answers hand-overs from a
// script and keeps the receiver of the window that serves.
class ScriptedSession final : public SessionLink {
  public:
    explicit ScriptedSession(bool windowRuns) : windowRuns_(windowRuns) {}

    bool HandOver(const std::vector<std::string>& files) override {
        handedOver = files;
        return windowRuns_;
    }
    void Serve(Receiver receive) override { receiver = std::move(receive); }

    std::optional<std::vector<std::string>> handedOver;
    Receiver receiver;

  private:
    bool windowRuns_;
};

struct StartCase : test::NamedCase<StartCase> {
    std::vector<std::string> arguments;
    bool windowRuns;
    bool handedOver;  // this start ends at once
    bool serves;      // this start's window takes later files
};

class Start : public ::testing::TestWithParam<StartCase> {};

TEST_P(Start, HandsOverOrServes) {
    const StartCase& c = GetParam();
    const WindowCommandLine line = ParseWindowCommandLine(c.arguments);
    ScriptedSession session(c.windowRuns);
    EXPECT_EQ(HandToRunningWindow(line, session), c.handedOver);
    if (line.newWindow) {
        EXPECT_FALSE(session.handedOver) << "a new window does not ask the running one";
    } else {
        EXPECT_EQ(session.handedOver, line.files);
    }
    if (!c.handedOver) {
        AnalysisState state;
        testing::ShownMessages shown;
        TForm1 form(state, std::make_unique<testing::ScriptedDialogs>(shown));
        StartSessionWindow(form, line, session);
        EXPECT_EQ(static_cast<bool>(session.receiver), c.serves);
    }
}

const StartCase StartCases[] = {
    {"FileToTheRunningWindow", {"a3.wav"}, true, true, false},
    {"NoFileBringsTheRunningWindowForward", {}, true, true, false},
    {"FirstWindowServes", {"a3.wav"}, false, false, true},
    {"NewWindowWithAFile", {"--new-window", "a3.wav"}, true, false, false},
    {"NewWindowAlone", {"--new-window"}, true, false, false},
};
INSTANTIATE_TEST_SUITE_P(Session, Start, ::testing::ValuesIn(StartCases), test::CaseName());

// What another start hands over opens as if named on this window's command
// line.
class HandedOver : public WindowFixture {
  protected:
    HandedOver() { StartSessionWindow(*form, {}, session); }

    void Receive(const std::vector<std::string>& files) {
        session.receiver(files);
        QApplication::processEvents();
        EXPECT_TRUE(testing::AwaitRecording(*form));
    }

    ScriptedSession session{false};
    test::TempFolder folder;
};

TEST_F(HandedOver, APeriodFileLoadsInTheWindow) {
    // A Latin-2 name: the bytes are not UTF-8.
    Receive({testing::AddSamples(folder, "Dvo\xF8\xE1k_3.wav", testing::Period(441))});
    EXPECT_TRUE(state->FileLoaded);
    EXPECT_EQ(Field("Edit4"), "441");
    EXPECT_TRUE(shown.errors.empty());
}

TEST_F(HandedOver, ARecordingOpensItsWindow) {
    Receive({testing::AddVowel(folder, "vowel.wav")});
    EXPECT_EQ(form->findChildren<RecordingWindow*>().size(), 1);
    EXPECT_TRUE(shown.errors.empty());
}

// The real socket, in a folder of the test's own.
class Socket : public ::testing::Test {
  protected:
    // Runs the event loop, as the serving window does, while another thread
    // hands `files` over.
    static bool HandOverServed(const QString& path, const std::vector<std::string>& files) {
        auto handOver = std::async(std::launch::async, [&] {
            LocalSocketLink start(path);
            return start.HandOver(files);
        });
        while (handOver.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
            QTest::qWait(2);
        }
        return handOver.get();
    }

    // A socket file that nothing listens on, as a killed window leaves it.
    void LeaveStaleSocket() const {
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.toStdString().c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ::close(socket);
        ASSERT_TRUE(fs::exists(path.toStdString()));
    }

    test::TempFolder folder;
    QString path = QString::fromStdString((folder.Path() / "session.socket").string());
    std::vector<std::vector<std::string>> received;
    SessionLink::Receiver receive = [this](const auto& files) { received.push_back(files); };
};

TEST_F(Socket, NoWindowTakesNothing) {
    LocalSocketLink start(path);
    EXPECT_FALSE(start.HandOver({"/a3.wav"}));
}

TEST_F(Socket, NamesArriveAbsoluteAndByteForByte) {
    LocalSocketLink window(path);
    window.Serve(receive);
    ASSERT_TRUE(window.Serving());
    const std::string latin2 = "/data/Dvo\xF8\xE1k_3.wav";
    ASSERT_TRUE(HandOverServed(path, {latin2, "rel/a3.wav"}));
    ASSERT_TRUE(HandOverServed(path, {}));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0],
              (std::vector<std::string>{latin2, (fs::current_path() / "rel/a3.wav").string()}));
    EXPECT_TRUE(received[1].empty());
}

TEST_F(Socket, AStaleSocketIsTakenOver) {
    LeaveStaleSocket();
    LocalSocketLink start(path);
    EXPECT_FALSE(start.HandOver({"/a3.wav"}));
    start.Serve(receive);
    ASSERT_TRUE(start.Serving());
    EXPECT_TRUE(HandOverServed(path, {"/a3.wav"}));
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(Socket, ARunningWindowIsNotDisplaced) {
    LocalSocketLink first(path);
    first.Serve(receive);
    LocalSocketLink second(path);
    std::vector<std::vector<std::string>> stolen;
    second.Serve([&](const auto& files) { stolen.push_back(files); });
    EXPECT_FALSE(second.Serving());
    EXPECT_TRUE(HandOverServed(path, {"/a3.wav"}));
    EXPECT_EQ(received.size(), 1u);
    EXPECT_TRUE(stolen.empty());
}

constexpr const char* HandedOverLog = "opening 1 file(s) from another start";

// Real starts of the program, headless, in a runtime folder of the test's
// own so no other window of the user is reached.
class Program : public WindowFixture {
  protected:
    QProcess* Run(QStringList arguments) {
        auto* process = new QProcess(form.get());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path().string()));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QT_LOGGING_RULES", "tesmera.session.info=true");
        process->setProcessEnvironment(environment);
        process->start(TESMERA_WINDOW_PROGRAM, arguments);
        EXPECT_TRUE(process->waitForStarted());
        return process;
    }
    // The socket of the session the started programs share.
    QString SessionSocket() {
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.Path().string()));
        const QString socket = SessionSocketPath();
        qputenv("XDG_RUNTIME_DIR", saved);
        return socket;
    }
    static bool ExitsWithin(QProcess& process, int seconds) {
        const QDeadlineTimer deadline(std::chrono::seconds{seconds});
        while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QTest::qWait(5);
        }
        return process.state() == QProcess::NotRunning;
    }
    // Whether the process writes `text` to its error output within `seconds`.
    static bool Says(QProcess& process, const char* text, int seconds) {
        QByteArray said;
        const QDeadlineTimer deadline(std::chrono::seconds{seconds});
        do {
            QTest::qWait(5);
            said += process.readAllStandardError();
        } while (!said.contains(text) && !deadline.hasExpired());
        return said.contains(text);
    }
    static void Stop(QProcess& process) {
        process.kill();
        process.waitForFinished();
    }

    test::TempFolder runtime;
    test::TempFolder folder;
};

TEST_F(Program, ASecondStartOpensItsFileInTheRunningWindowAndEnds) {
    LocalSocketLink session(SessionSocket());
    StartSessionWindow(*form, {}, session);
    ASSERT_TRUE(session.Serving());
    const std::string period = testing::AddSamples(folder, "sent4.wav", testing::Period(500));
    QProcess* second = Run({QString::fromStdString(period)});
    ASSERT_TRUE(ExitsWithin(*second, 30));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    QApplication::processEvents();
    EXPECT_TRUE(state->FileLoaded);
    EXPECT_EQ(Field("Edit1"), "sent4.wav");
}

TEST_F(Program, TwoStartsShareOneWindowUnlessANewOneIsAsked) {
    QProcess* first = Run({});
    const QString socket = SessionSocket();
    const QDeadlineTimer up(std::chrono::seconds{30});
    while (!QFileInfo::exists(socket) && !up.hasExpired()) {
        QTest::qWait(20);
    }
    ASSERT_TRUE(QFileInfo::exists(socket));

    QProcess* second = Run({QString::fromStdString(testing::AddVowel(folder, "vowel.wav"))});
    ASSERT_TRUE(ExitsWithin(*second, 30));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_TRUE(Says(*first, HandedOverLog, 10));

    QProcess* own =
        Run({"--new-window", QString::fromStdString(folder.Path().string() + "/x.wav")});
    EXPECT_FALSE(ExitsWithin(*own, 2)) << "a window of its own keeps running";
    EXPECT_FALSE(Says(*first, HandedOverLog, 0));
    Stop(*own);

    // A window killed leaves its socket; the next start takes it over.
    Stop(*first);
    ASSERT_TRUE(QFileInfo::exists(socket));
    QProcess* next = Run({});
    const QDeadlineTimer serving(std::chrono::seconds{30});
    while (!LocalSocketLink(socket).HandOver({}) && !serving.hasExpired()) {
        QTest::qWait(50);
    }
    EXPECT_FALSE(serving.hasExpired());
    Stop(*next);
}

}  // namespace
}  // namespace tesmera
