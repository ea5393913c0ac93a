#pragma once

#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QObject>

#include <memory>

namespace tov::platform {

// One running copy per program folder, through a local socket named after the folder. A later
// start connects and asks the running copy to restore its window.
class LocalSingleInstance final : public QObject, public SingleInstance {
    Q_OBJECT
public:
    explicit LocalSingleInstance(const QString& programFolder);

    bool otherCopyRunning() override;
    void restoreOtherCopy(const QString& title) override;
    void onRestoreRequested(std::function<void()> handler) override;

private:
    QString name_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> handler_;
};

} // namespace tov::platform
