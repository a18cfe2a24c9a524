#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include "base/Settings.h"

namespace celvane {

SingleInstance::SingleInstance()
{
    // Named after the settings file, so that tests with settings of their own never meet the
    // program a person is using.
    const QByteArray key = QByteArray::fromStdString(Settings::instance().path().string());
    name_ = "celvane-" + QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::becomePrimary(const std::string& path)
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(500)) {
        socket.write(QByteArray::fromStdString(path) + '\n');
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
        return false;
    }
    QLocalServer::removeServer(name_); // left behind by a program that crashed
    server_ = new QLocalServer(this);
    server_->listen(name_);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, client, [this, client] {
                // Opening may ask a question, whose box runs the event loop; the socket can go
                // in that loop, so nothing is opened while its slot is still running.
                while (client->canReadLine()) {
                    const QString path = QString::fromUtf8(client->readLine()).trimmed();
                    QMetaObject::invokeMethod(this, [this, path] { emit fileRequested(path); }, Qt::QueuedConnection);
                }
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    return true;
}

} // namespace celvane
