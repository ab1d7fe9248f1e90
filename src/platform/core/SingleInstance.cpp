// The single-instance claim: a lock for simultaneous starts, then a local server or a call to it.
#include "platform/core/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <unistd.h>

namespace {

// How long a start waits for the running instance to accept it; a live one answers at once.
constexpr int ConnectTimeout = 1000;

}  // namespace

TRunningInstance::TRunningInstance(std::unique_ptr<QLocalServer> Server) : FServer(std::move(Server)) {}

TRunningInstance::~TRunningInstance() = default;

bool TRunningInstance::Listening() const { return FServer->isListening(); }

String RunningInstanceName(const String& Program) { return Program + u'-' + String::number(getuid()); }

bool ActivateRunningInstance(const String& Program)
{
    QLocalSocket socket;
    socket.connectToServer(RunningInstanceName(Program));
    if (!socket.waitForConnected(ConnectTimeout))
        return false;
    socket.disconnectFromServer();
    return true;
}

std::unique_ptr<TRunningInstance> ClaimSingleInstance(const String& Program, std::function<void()> OnLaterStart)
{
    const String name = RunningInstanceName(Program);
    // Starts of the same moment take turns here, so that only one of them finds the name free;
    // the lock of an instance that crashed holding it is taken over.
    QLockFile turn(QDir(QDir::tempPath()).filePath(name + QStringLiteral(".lock")));
    turn.lock();
    if (ActivateRunningInstance(Program))
        return nullptr;
    // Nobody answers: a name still there was left by an instance that crashed.
    QLocalServer::removeServer(name);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    server->listen(name);
    QLocalServer* const listening = server.get();
    QObject::connect(listening, &QLocalServer::newConnection, listening,
                     [listening, OnLaterStart = std::move(OnLaterStart)] {
                         while (QLocalSocket* socket = listening->nextPendingConnection()) {
                             socket->disconnectFromServer();
                             socket->deleteLater();
                             OnLaterStart();
                         }
                     });
    return std::make_unique<TRunningInstance>(std::move(server));
}
