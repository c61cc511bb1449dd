#include "shell/SingleInstance.h"

#include "shell/StartupTexts.h"
#include "ui/UserSeam.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr char kRaiseMessage[] = "raise\n";

QString DefaultKey() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = QStringLiteral("user");
    return QStringLiteral("tallex-") + user;
}

QString LockFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder;
}

}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), key_(key.isEmpty() ? DefaultKey() : key) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryBecomePrimary() {
    lock_ = std::make_unique<QLockFile>(QDir(LockFolder()).filePath(key_ + QStringLiteral(".lock")));
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    server_ = new QLocalServer(this);
    // A socket left by a copy that died would refuse the name; the lock says it is stale.
    QLocalServer::removeServer(key_);
    if (server_->listen(key_)) {
        connect(server_, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = server_->nextPendingConnection()) {
                const auto read = [this, socket] {
                    if (socket->bytesAvailable() == 0) return;
                    if (socket->readAll().startsWith("raise")) emit raiseRequested();
                    socket->disconnectFromServer();
                };
                connect(socket, &QLocalSocket::readyRead, this, read);
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                read();
            }
        });
    }
    return true;
}

bool SingleInstance::raiseOther(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kRaiseMessage);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

bool ContinueAfterInstanceCheck(SingleInstance& instance, tallex::UserSeam& user) {
    if (instance.tryBecomePrimary()) return true;
    if (user.show(tallex::SecondInstanceQuestion(), tallex::kStyleYesNoCritical) == tallex::kAnswerYesButton)
        return true;
    instance.raiseOther();
    return false;
}
