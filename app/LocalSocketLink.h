// SPDX-License-Identifier: GPL-3.0-or-later
// The session link over a local socket that only its user can reach.
#pragma once

#include <memory>

#include <QString>

#include "app/SessionLink.h"

class QLocalServer;
class QLocalSocket;

namespace tesmera {

class LocalSocketLink final : public SessionLink {
  public:
    explicit LocalSocketLink(QString socketPath);
    // Stops serving; the socket file goes with the server.
    ~LocalSocketLink() override;
    LocalSocketLink(const LocalSocketLink&) = delete;
    LocalSocketLink& operator=(const LocalSocketLink&) = delete;

    bool HandOver(const std::vector<std::string>& files) override;
    void Serve(Receiver receive) override;
    // Whether this process answers for the session.
    bool Serving() const;

  private:
    void Accept();
    void Read(QLocalSocket& socket);

    QString path_;
    Receiver receive_;
    std::unique_ptr<QLocalServer> server_;
};

// The socket of the user's desktop session: in the user's runtime folder
// (the temporary folder when there is none), named after the user id and
// the display the windows show on, so a headless run or a second display
// does not reach the desktop's window. Needs the QGuiApplication.
QString SessionSocketPath();

}  // namespace tesmera
