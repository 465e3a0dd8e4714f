#include "ui/shell/OpenRequests.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <unistd.h>

namespace {

// A path longer than this is no path a file system holds: the request is dropped.
const qint64 kMaxRequestBytes = 16 * 1024;
const int kConnectMs = 1000;
const int kAnswerMs = 5000;
const char kReceipt[] = "OK\n";

} // namespace

QString OpenRequestSocketName() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists()) return QDir(runtime).filePath("orvantis-open");
    return QDir(QDir::tempPath()).filePath(QString("orvantis-open-%1").arg(getuid()));
}

bool HandOverToRunningProgram(const std::string& projectFile) {
    QLocalSocket socket;
    socket.connectToServer(OpenRequestSocketName());
    if (!socket.waitForConnected(kConnectMs)) return false;
    socket.write(QByteArray::fromStdString(projectFile + "\n"));
    if (!socket.waitForBytesWritten(kAnswerMs)) return false;
    QByteArray answer;
    while (!answer.endsWith('\n') && answer.size() < 16) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(kAnswerMs)) break;
        answer += socket.read(16);
    }
    return answer == kReceipt;
}

COpenRequestServer::COpenRequestServer(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_pServer(new QLocalServer(this)) {
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &COpenRequestServer::Accept);
}

COpenRequestServer::~COpenRequestServer() = default;

bool COpenRequestServer::Listen(const QString& name) {
    // Asked first: with its access options, the server would otherwise put its socket over one
    // another program still answers at.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kConnectMs)) return false;
    // Nobody answers: a socket left by a program that was killed, or nothing.
    QLocalServer::removeServer(name);
    return m_pServer->listen(name);
}

bool COpenRequestServer::IsListening() const {
    return m_pServer->isListening();
}

void COpenRequestServer::Accept() {
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket]() {
            if (socket->property("answered").toBool()) return;
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequestBytes) socket->abort();
                return;
            }
            QByteArray line = socket->readLine(kMaxRequestBytes);
            if (!line.endsWith('\n')) {
                socket->abort();
                return;
            }
            line.chop(1);
            socket->setProperty("answered", true);
            socket->write(kReceipt);
            socket->flush();
            socket->disconnectFromServer();
            const std::string path = line.toStdString();
            // From the event loop: the sender is answered before any question is asked here.
            if (!path.empty() && path.find('\0') == std::string::npos)
                QTimer::singleShot(0, this, [this, path]() { m_handler(path); });
        });
    }
}
