#include "shell/SingleInstance.h"

#include "shell/StartupTexts.h"
#include "ui/UserSeam.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <memory>

namespace {

// One line each: "raise", then "open <absolute path>" when a case file was named.
constexpr char kRaiseMessage[] = "raise\n";
constexpr char kOpenPrefix[] = "open ";

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
                // The message is complete when the other copy hangs up.
                auto received = std::make_shared<QByteArray>();
                connect(socket, &QLocalSocket::readyRead, this,
                        [socket, received] { received->append(socket->readAll()); });
                connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
                    received->append(socket->readAll());
                    socket->deleteLater();
                    handleMessage(*received);
                });
                received->append(socket->readAll());
            }
        });
    }
    return true;
}

void SingleInstance::handleMessage(const QByteArray& message) {
    if (!message.startsWith(kRaiseMessage)) return;
    emit raiseRequested();
    for (const QByteArray& line : message.split('\n'))
        if (line.startsWith(kOpenPrefix)) emit openRequested(QString::fromUtf8(line.mid(sizeof kOpenPrefix - 1)));
}

bool SingleInstance::raiseOther(int timeoutMs, const QString& caseFile) {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    QByteArray message = kRaiseMessage;
    // The other copy runs in a folder of its own: the path must not depend on this one's.
    if (!caseFile.isEmpty()) message += kOpenPrefix + QFileInfo(caseFile).absoluteFilePath().toUtf8() + '\n';
    socket.write(message);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

bool ContinueAfterInstanceCheck(SingleInstance& instance, tallex::UserSeam& user, const QString& caseFile) {
    if (instance.tryBecomePrimary()) return true;
    if (user.show(tallex::SecondInstanceQuestion(), tallex::kStyleYesNoCritical) == tallex::kAnswerYesButton)
        return true;
    instance.raiseOther(2000, caseFile);
    return false;
}
