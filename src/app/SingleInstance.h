#pragma once
// One program per user and settings file: a second start hands the file it was asked to open
// to the program already running, which opens it, and ends.

#include <QObject>
#include <string>

class QLocalServer;

namespace celvane {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    SingleInstance();
    ~SingleInstance() override;

    // True when this is the first program: it then listens for later starts. False after the
    // path (possibly empty) was handed to the running program.
    bool becomePrimary(const std::string& path);

signals:
    void fileRequested(const QString& path);

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

} // namespace celvane
