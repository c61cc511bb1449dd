#pragma once
// One running copy per user: the first copy holds a lock file and listens on a local socket;
// a later copy that is told not to start asks the first one, through that socket, to bring its
// window to the front, and to open the case file the later copy was given. A lock left by a copy
// that died is taken over.

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace tallex {
class UserSeam;
}

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names the lock and the socket; the default is one per user. Tests pass their own.
    explicit SingleInstance(const QString& key = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock and starts listening; false when another copy holds it.
    bool tryBecomePrimary();
    // Asks the copy that holds the lock to raise its window (and to open `caseFile`, when given);
    // false when it cannot be reached.
    bool raiseOther(int timeoutMs = 2000, const QString& caseFile = {});

signals:
    // Another copy asked this one to come to the front.
    void raiseRequested();
    // Another copy was started with this case file (an absolute path).
    void openRequested(const QString& caseFile);

private:
    void handleMessage(const QByteArray& message);

    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

// The start-up question when another copy is running (style 20). Returns true when this copy
// goes on: it is the only one, or the user said Yes. On No the first copy is asked to come to
// the front (and to open `caseFile`, when given) and this one must end.
bool ContinueAfterInstanceCheck(SingleInstance& instance, tallex::UserSeam& user, const QString& caseFile = {});
