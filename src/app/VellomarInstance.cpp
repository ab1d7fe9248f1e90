#include "app/Vellomar.h"

#include <QLocalSocket>

#include <unistd.h>

namespace {

// How long a start waits for the running instance to accept it; a live one answers at once.
constexpr int ConnectTimeout = 1000;

}  // namespace

String InstanceServerName(const String& WindowClass)
{
    return WindowClass + u'-' + String::number(getuid());
}

bool ActivateRunningInstance(const String& WindowClass)
{
    QLocalSocket socket;
    socket.connectToServer(InstanceServerName(WindowClass));
    if (!socket.waitForConnected(ConnectTimeout))
        return false;
    socket.disconnectFromServer();
    return true;
}

std::unique_ptr<QLocalServer> ListenForLaterStarts(const String& WindowClass, std::function<void()> Activate)
{
    const String name = InstanceServerName(WindowClass);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        QLocalServer::removeServer(name);
        server->listen(name);
    }
    QLocalServer* const listening = server.get();
    QObject::connect(listening, &QLocalServer::newConnection, listening, [listening, Activate = std::move(Activate)] {
        while (QLocalSocket* socket = listening->nextPendingConnection()) {
            socket->disconnectFromServer();
            socket->deleteLater();
            Activate();
        }
    });
    return server;
}
