#include "app/Vellomar.h"

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>

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
    // Starts of the same moment take turns here, so that only one of them finds the name free;
    // the lock of an instance that crashed holding it is taken over.
    QLockFile turn(QDir(QDir::tempPath()).filePath(name + QStringLiteral(".lock")));
    turn.lock();
    if (ActivateRunningInstance(WindowClass))
        return nullptr;
    // Nobody answers: a name still there was left by an instance that crashed.
    QLocalServer::removeServer(name);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    server->listen(name);
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
