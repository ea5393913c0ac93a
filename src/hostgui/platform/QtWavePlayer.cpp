#include "platform/QtWavePlayer.h"

#include "platform/AppError.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

namespace tov::platform {

namespace {
// The device cannot be used: no output, or a kind of device this player does not drive.
constexpr int kDeviceUnavailable = 68;
} // namespace

QtWavePlayer::QtWavePlayer() = default;
QtWavePlayer::~QtWavePlayer() = default;

void QtWavePlayer::setDeviceType(const QString& type) {
    close();
    player_.reset();
    output_.reset();
    usable_ = false;
    if (type.compare(QLatin1String("WaveAudio"), Qt::CaseInsensitive) != 0 ||
        QMediaDevices::audioOutputs().isEmpty()) {
        error_ = kDeviceUnavailable;
        return;
    }
    error_ = 0;
    usable_ = true;
}

void QtWavePlayer::open(const QString& path) {
    close();
    if (!usable_) {
        throw AppError(kDeviceUnavailable, QStringLiteral("Device unavailable"));
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        throw AppError(err::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    }
    if (!info.isFile() || !info.isReadable()) {
        throw AppError(err::PathFileAccess, QStringLiteral("Path/File access error: %1").arg(path));
    }
    // A new player for every prompt: one that has played a prompt now and then (Qt 6.4 with
    // GStreamer) pauses itself for good as soon as it starts the next, which then never sounds.
    player_.reset();
    output_ = std::make_unique<QAudioOutput>(QMediaDevices::defaultAudioOutput());
    player_ = std::make_unique<QMediaPlayer>();
    player_->setAudioOutput(output_.get());
    // A file that turns out not to play is given up like a missing one: the presentation goes on
    // silently.
    QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, player_.get(),
                     [p = player_.get()] { p->stop(); });
    player_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
}

void QtWavePlayer::play() {
    if (!player_ || player_->source().isEmpty()) {
        throw AppError(err::DeviceIo, QStringLiteral("No prompt is open"));
    }
    player_->play();
}

qint64 QtWavePlayer::position() const {
    return player_ && !player_->source().isEmpty() ? player_->position() : 0;
}

bool QtWavePlayer::isPlaying() const {
    return player_ && player_->playbackState() == QMediaPlayer::PlayingState;
}

void QtWavePlayer::close() {
    if (player_) {
        player_->stop();
        player_->setSource(QUrl());
    }
}

} // namespace tov::platform
