// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LocalSocketLink.h"

#include <unistd.h>

#include <filesystem>

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QList>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>

namespace tesmera {

namespace {

Q_LOGGING_CATEGORY(SessionLog, "tesmera.session", QtWarningMsg)

// A message is the protocol's version and the list of native names; the
// window answers with one byte once it has taken them.
constexpr quint32 ProtocolVersion = 1;
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_0;
constexpr char Taken = '\x06';
// A running window answers within milliseconds; one that does not within
// these is hung, and the start opens a window of its own.
constexpr int ConnectMs = 1000;
constexpr int AnswerMs = 5000;

// Names relative to this process's working folder mean nothing to the
// window, which runs in another; the bytes stay as they are.
QList<QByteArray> AbsoluteNames(const std::vector<std::string>& files) {
    QList<QByteArray> names;
    for (const std::string& file : files) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(file, error);
        names.append(QByteArray::fromStdString(error ? file : absolute.string()));
    }
    return names;
}

QByteArray Message(const std::vector<std::string>& files) {
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << ProtocolVersion << AbsoluteNames(files);
    return message;
}

// A socket someone else made under our name is not talked to: in a shared
// temporary folder another user could have placed it to read the names.
bool OursOrAbsent(const QString& path) {
    const QFileInfo socket(path);
    return !socket.exists() || socket.ownerId() == getuid();
}

bool Answers(const QString& path) {
    QLocalSocket probe;
    probe.connectToServer(path);
    return probe.waitForConnected(ConnectMs);
}

}  // namespace

LocalSocketLink::LocalSocketLink(QString socketPath) : path_(std::move(socketPath)) {}

LocalSocketLink::~LocalSocketLink() = default;

bool LocalSocketLink::HandOver(const std::vector<std::string>& files) {
    if (!OursOrAbsent(path_)) {
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(ConnectMs)) {
        return false;  // no window, or one that ended without closing its socket
    }
    socket.write(Message(files));
    const QDeadlineTimer deadline(AnswerMs);
    while (socket.bytesAvailable() == 0) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    return socket.read(1) == QByteArray(1, Taken);
}

void LocalSocketLink::Serve(Receiver receive) {
    if (!OursOrAbsent(path_) || Answers(path_)) {
        return;  // the session has its window
    }
    receive_ = std::move(receive);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                     [this] { Accept(); });
    // Nobody answers: a socket file left by a window that did not end
    // cleanly is taken over.
    QLocalServer::removeServer(path_);
    if (!server_->listen(path_)) {
        qCWarning(SessionLog) << "cannot serve the session at" << path_ << server_->errorString();
        server_.reset();
    }
}

bool LocalSocketLink::Serving() const {
    return server_ != nullptr && server_->isListening();
}

void LocalSocketLink::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket,
                         [this, socket] { Read(*socket); });
    }
}

void LocalSocketLink::Read(QLocalSocket& socket) {
    QDataStream in(&socket);
    in.setVersion(StreamVersion);
    in.startTransaction();
    quint32 version = 0;
    in >> version;
    if (in.status() == QDataStream::Ok && version != ProtocolVersion) {
        in.abortTransaction();
        socket.abort();
        return;
    }
    QList<QByteArray> names;
    in >> names;
    if (!in.commitTransaction()) {
        return;  // the rest is on its way
    }
    std::vector<std::string> files;
    for (const QByteArray& name : names) {
        files.push_back(name.toStdString());
    }
    qCInfo(SessionLog) << "opening" << files.size() << "file(s) from another start";
    receive_(files);
    socket.write(QByteArray(1, Taken));
    socket.flush();
}

QString SessionSocketPath() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::tempPath();
    }
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        display = qEnvironmentVariable("DISPLAY");
    }
    QString session = QGuiApplication::platformName() + u'-' + display;
    for (QChar& c : session) {
        if (!c.isLetterOrNumber() && c != u'.' && c != u'-') {
            c = u'_';
        }
    }
    return folder + QStringLiteral("/tesmera-%1-%2.socket").arg(getuid()).arg(session);
}

}  // namespace tesmera
