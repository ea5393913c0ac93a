#pragma once

#include <QByteArray>
#include <QString>

namespace tov::scoring {

// Error numbers of the scoring and report data files, beside the file errors of AppError.
namespace tableerr {
// A value the layout needs is missing: the file ends too soon.
inline constexpr int InputPastEnd = 62;
// A value that should be a whole number is not one.
inline constexpr int NotANumber = 13;
// A value is a number but outside what the tables allow.
inline constexpr int BadValue = 5;
} // namespace tableerr

// The whole of a data file. Throws AppError (file not found, permission denied) naming the file
// when it cannot be read.
QByteArray readDataFile(const QString& path);

// Reads a data file the way its layouts were written for: values separated by commas or line
// ends, strings quoted or not, whole numbers, and whole lines. The file is read at once and
// closed; every failure throws AppError naming the file and the value.
class TableReader {
public:
    // Throws AppError (file not found, permission denied) when the file cannot be read.
    explicit TableReader(const QString& path);
    // The content of a file already read; path only names it in messages.
    TableReader(const QString& path, const QByteArray& content);

    const QString& path() const { return path_; }
    // The file name alone, as messages name it.
    QString fileName() const;

    // One string value: leading blanks and empty lines are skipped; a quoted string runs to its
    // closing quote, an unquoted one to the next comma or line end (trailing blanks dropped).
    // `what` names the value in a message; it is called only when the value is missing or bad,
    // so building the name costs nothing on the way through a good file.
    template <typename What> QString inputString(const What& what) {
        if (!skipToValue()) {
            pastEnd(what());
        }
        return readString();
    }
    // One whole number in the range of a 16-bit signed integer; it ends at a blank, a comma or
    // a line end.
    template <typename What> int inputInteger(const What& what) {
        if (!skipToValue()) {
            pastEnd(what());
        }
        int value = 0;
        if (!readInteger(value)) {
            badInteger(what());
        }
        return value;
    }
    // The rest of the current line, without its line end.
    template <typename What> QString lineInput(const What& what) {
        if (atEnd()) {
            pastEnd(what());
        }
        return readLine();
    }
    QString inputString(const QString& what) {
        return inputString([&what] { return what; });
    }
    int inputInteger(const QString& what) {
        return inputInteger([&what] { return what; });
    }
    QString lineInput(const QString& what) {
        return lineInput([&what] { return what; });
    }

    // A failure at a value of this file, as an AppError to throw.
    [[noreturn]] void fail(int number, const QString& text) const;

private:
    bool atEnd() const { return pos_ >= text_.size(); }
    void skipBlanks();
    // Skips blanks and empty lines; false at the end of the file.
    bool skipToValue();
    // After a value: blanks, then one comma or one line end.
    void skipDelimiter();
    QString readString();
    // False when the token read is not a whole number in range; the token is kept for the
    // message.
    bool readInteger(int& value);
    QString readLine();
    [[noreturn]] void pastEnd(const QString& what) const;
    [[noreturn]] void badInteger(const QString& what) const;

    QString path_;
    QString text_;
    qsizetype pos_ = 0;
    QString token_;
    bool tokenIsNumber_ = false;
};

} // namespace tov::scoring
