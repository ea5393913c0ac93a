#pragma once

#include <QString>

namespace tov::platform {

// A sections-and-keys settings file read and written with the classic profile-string rules:
// names match without regard to case, a value is read into a buffer of a given size (so it is at
// most one character shorter), surrounding blanks and one pair of matching quotes are dropped,
// and a missing key gives the default. Writing keeps every other line of the file as it was.
class ProfileFile {
public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }

    QString read(const QString& section, const QString& key, const QString& defaultValue,
                 int bufferSize) const;
    // Throws AppError when the file cannot be written, or cannot be read to keep its other lines.
    void write(const QString& section, const QString& key, const QString& value) const;

private:
    QString path_;
};

} // namespace tov::platform
