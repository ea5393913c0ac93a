#pragma once

#include "platform/MessageBoxes.h"

namespace tov::platform {

class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QString appTitle) : appTitle_(std::move(appTitle)) {}
    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    void beep() override;

private:
    QString appTitle_;
};

} // namespace tov::platform
