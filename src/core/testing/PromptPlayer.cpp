#include "testing/PromptPlayer.h"

#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/WavePlayer.h"

namespace tov::testing {

using platform::MessageBoxes;

PromptPlayer::PromptPlayer(platform::WavePlayer* player, platform::FileSystem& fs,
                           platform::MessageBoxes& boxes)
    : player_(player), fs_(fs), boxes_(boxes) {}

QString PromptPlayer::soundFolder(const QString& soundPath, const QString& language) {
    QString base = soundPath;
    while (base.endsWith(QLatin1Char('/'))) {
        base.chop(1);
    }
    return base + QStringLiteral("/TOV2SF/Sound/") + language + QLatin1Char('/');
}

void PromptPlayer::InitSound() {
    soundOn_ = true;
    if (player_ == nullptr) {
        soundOn_ = false;
        return;
    }
    player_->setDeviceType(QStringLiteral("WaveAudio"));
    if (player_->error() > 0) {
        soundOn_ = false;
    }
}

void PromptPlayer::StopPrompt() {
    if (player_ != nullptr) {
        player_->close();
    }
}

bool PromptPlayer::givenUpSilently(int errorNumber) {
    switch (errorNumber) {
    case err::BadFileName:
    case err::FileNotFound:
    case err::DeviceIo:
    case 68: // device unavailable
    case err::PathFileAccess:
    case err::PathNotFound:
        return true;
    default:
        return false;
    }
}

void PromptPlayer::PlayPrompt(const QString& name) {
    if (!soundOn_ || player_ == nullptr) {
        return;
    }
    StopPrompt();
    if (name.isEmpty()) {
        return;
    }
    const QString path = (folder_ + name).trimmed();
    try {
        if (!fs_.exists(path)) {
            return;
        }
        player_->close();
        player_->open(path);
        player_->play();
    } catch (const AppError& e) {
        if (!givenUpSilently(e.number())) {
            platform::showAppError(boxes_, e, QStringLiteral("Sound Error"));
        }
    }
}

} // namespace tov::testing
