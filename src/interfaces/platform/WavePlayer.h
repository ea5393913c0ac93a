#pragma once

#include <QString>

namespace tov::platform {

// The wave-audio device the spoken prompts play through. A prompt is opened, started without
// waiting for its end, and closed again; closing stops a prompt that is still playing.
// Failures of open and play throw AppError with the program's error numbers (53 file not found,
// 57 device error, 68 device unavailable, 75 path/file access error, ...).
class WavePlayer {
public:
    virtual ~WavePlayer() = default;

    // Sets the player up for a kind of device ("WaveAudio"); error() then tells whether it can
    // be used.
    virtual void setDeviceType(const QString& type) = 0;
    // 0 when the device set up last can be used, otherwise an error number.
    virtual int error() const = 0;
    virtual void open(const QString& path) = 0;
    // Starts the open file and returns at once.
    virtual void play() = 0;
    virtual void close() = 0;
};

} // namespace tov::platform
