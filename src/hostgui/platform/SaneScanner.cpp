#include "platform/SaneScanner.h"

#include "platform/ScanErrors.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <QByteArray>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace tov::platform {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kTwipsPerInch = 1440.0;
constexpr double kInchesPerMetre = 1.0 / 0.0254;
// More than a legal page in colour at 1200 dots per inch with 16 bits a sample: no answer sheet.
constexpr qsizetype kMaxFrameBytes = qsizetype(1) << 30;

[[noreturn]] void fail(int number, const QString& detail = {}) {
    QString text = ErrorText(number);
    if (!detail.isEmpty()) {
        text += QStringLiteral(" (") + detail + QLatin1Char(')');
    }
    throw AppError(number, text);
}

[[noreturn]] void failStatus(SANE_Status status) {
    fail(SaneScanner::errorNumberFor(status), QString::fromUtf8(sane_strstatus(status)));
}

using Clock = std::chrono::steady_clock;

// One use of the library on a thread of its own, shared with the caller waiting for it.
struct Run {
    std::atomic<Clock::rep> lastAnswer{Clock::now().time_since_epoch().count()};
    std::mutex m;
    std::condition_variable ended;
    bool done = false; // the caller may go on
    std::exception_ptr error;

    // Only the first counts: once the caller has gone on, it reads nothing more.
    void finish(std::exception_ptr why = nullptr) {
        {
            const std::lock_guard lock(m);
            if (done) {
                return;
            }
            error = std::move(why);
            done = true;
        }
        ended.notify_all();
    }
};

thread_local Run* thisRun = nullptr;

// Every answer of the library restarts the silence its caller waits through.
SANE_Status heard(SANE_Status status) {
    if (thisRun != nullptr) {
        thisRun->lastAnswer = Clock::now().time_since_epoch().count();
    }
    return status;
}

// The page is in: the caller need not wait for the device and the library to close.
void handOver() {
    if (thisRun != nullptr) {
        thisRun->finish();
    }
}

// The library serves one run at a time, and a run left behind keeps it until it ends.
struct Library {
    std::mutex m;
    std::condition_variable released;
    bool busy = false;
};

Library& library() {
    // Never destroyed: a run left behind may end after the program's statics are gone.
    static Library* const shared = new Library;
    return *shared;
}

void release() {
    Library& lib = library();
    {
        const std::lock_guard lock(lib.m);
        lib.busy = false;
    }
    lib.released.notify_all();
}

// Runs `work`, which uses the library from sane_init to sane_exit, on a thread of its own, and
// waits for it while the library keeps answering.
void runBounded(std::chrono::milliseconds silence, std::function<void()> work) {
    {
        Library& lib = library();
        std::unique_lock lock(lib.m);
        if (!lib.released.wait_for(lock, silence, [&lib] { return !lib.busy; })) {
            failStatus(SANE_STATUS_DEVICE_BUSY);
        }
        lib.busy = true;
    }
    auto run = std::make_shared<Run>();
    try {
        std::thread([run, work = std::move(work)] {
            thisRun = run.get();
            std::exception_ptr why;
            try {
                work();
            } catch (...) {
                why = std::current_exception();
            }
            release();
            run->finish(why);
        }).detach();
    } catch (const std::system_error&) {
        release();
        fail(scanerr::NotEnoughMemory);
    }
    std::unique_lock lock(run->m);
    for (;;) {
        const Clock::rep last = run->lastAnswer;
        const Clock::time_point until = Clock::time_point(Clock::duration(last)) + silence;
        if (run->ended.wait_until(lock, until, [&run] { return run->done; })) {
            break;
        }
        if (run->lastAnswer == last) {
            // The device stopped answering: given up as a failed transfer; the thread is left.
            failStatus(SANE_STATUS_IO_ERROR);
        }
    }
    if (run->error) {
        std::rethrow_exception(run->error);
    }
}

// The library from sane_init to sane_exit.
class Session {
public:
    Session() {
        SANE_Int version = 0;
        const SANE_Status status = heard(sane_init(&version, nullptr));
        if (status != SANE_STATUS_GOOD) {
            fail(scanerr::NoSourceManager, QString::fromUtf8(sane_strstatus(status)));
        }
    }
    ~Session() { sane_exit(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The device named, or the first one the library finds.
    static QByteArray deviceName(const QString& wanted) {
        if (!wanted.isEmpty()) {
            return wanted.toUtf8();
        }
        const SANE_Device** list = nullptr;
        const SANE_Status status = heard(sane_get_devices(&list, SANE_FALSE));
        if (status != SANE_STATUS_GOOD) {
            failStatus(status);
        }
        if (list == nullptr || list[0] == nullptr || list[0]->name == nullptr) {
            fail(scanerr::NoDataSource);
        }
        return QByteArray(list[0]->name);
    }
};

// One open device, closed (and any scan stopped) when it goes.
class Device {
public:
    explicit Device(const QByteArray& name) {
        const SANE_Status status = heard(sane_open(name.constData(), &handle_));
        if (status == SANE_STATUS_INVAL) {
            fail(scanerr::NoDataSource, QString::fromUtf8(name));
        }
        if (status != SANE_STATUS_GOOD) {
            failStatus(status);
        }
    }
    ~Device() {
        sane_cancel(handle_);
        sane_close(handle_);
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    SANE_Handle handle() const { return handle_; }

private:
    SANE_Handle handle_ = nullptr;
};

struct Option {
    SANE_Int index;
    const SANE_Option_Descriptor* d;
};

// Descriptors may change after any option is set, so each lookup asks the device again.
std::optional<Option> findOption(SANE_Handle h, const char* name) {
    SANE_Int count = 0;
    if (heard(sane_control_option(h, 0, SANE_ACTION_GET_VALUE, &count, nullptr)) !=
        SANE_STATUS_GOOD) {
        return std::nullopt;
    }
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
        if (d != nullptr && d->name != nullptr && std::strcmp(d->name, name) == 0 &&
            SANE_OPTION_IS_ACTIVE(d->cap)) {
            return Option{i, d};
        }
    }
    return std::nullopt;
}

// Sets a one-word number option (integer or fixed point) as near the value as its constraint
// allows and returns what the device then holds; nothing when the device has no such option.
std::optional<double> setNumber(SANE_Handle h, const char* name, double value) {
    const std::optional<Option> o = findOption(h, name);
    if (!o || o->d->size != static_cast<SANE_Int>(sizeof(SANE_Word)) ||
        (o->d->type != SANE_TYPE_INT && o->d->type != SANE_TYPE_FIXED)) {
        return std::nullopt;
    }
    const bool fixed = o->d->type == SANE_TYPE_FIXED;
    const auto toWord = [fixed](double v) {
        return fixed ? static_cast<SANE_Word>(SANE_FIX(v)) : static_cast<SANE_Word>(std::lround(v));
    };
    const auto fromWord = [fixed](SANE_Word w) {
        return fixed ? SANE_UNFIX(w) : static_cast<double>(w);
    };
    SANE_Word word = toWord(value);
    if (o->d->constraint_type == SANE_CONSTRAINT_RANGE && o->d->constraint.range != nullptr) {
        word = std::clamp(word, o->d->constraint.range->min, o->d->constraint.range->max);
    } else if (o->d->constraint_type == SANE_CONSTRAINT_WORD_LIST &&
               o->d->constraint.word_list != nullptr && o->d->constraint.word_list[0] > 0) {
        const SANE_Word* list = o->d->constraint.word_list;
        word = list[1];
        for (SANE_Int i = 2; i <= list[0]; ++i) {
            if (std::abs(fromWord(list[i]) - value) < std::abs(fromWord(word) - value)) {
                word = list[i];
            }
        }
    }
    if (SANE_OPTION_IS_SETTABLE(o->d->cap)) {
        SANE_Int info = 0;
        const SANE_Status status =
            heard(sane_control_option(h, o->index, SANE_ACTION_SET_VALUE, &word, &info));
        if (status != SANE_STATUS_GOOD) {
            failStatus(status);
        }
    }
    SANE_Word now = word;
    if (sane_control_option(h, o->index, SANE_ACTION_GET_VALUE, &now, nullptr) !=
        SANE_STATUS_GOOD) {
        return fromWord(word);
    }
    return fromWord(now);
}

// Colour (or grey) by whichever name the device lists for it; a device without the choice keeps
// its own mode, and the page is converted after reading.
void setMode(SANE_Handle h, bool colour) {
    const std::optional<Option> o = findOption(h, SANE_NAME_SCAN_MODE);
    if (!o || o->d->type != SANE_TYPE_STRING || !SANE_OPTION_IS_SETTABLE(o->d->cap) ||
        o->d->constraint_type != SANE_CONSTRAINT_STRING_LIST ||
        o->d->constraint.string_list == nullptr) {
        return;
    }
    const QStringList wanted =
        colour ? QStringList{QStringLiteral(SANE_VALUE_SCAN_MODE_COLOR), QStringLiteral("Colour"),
                             QStringLiteral("RGB")}
               : QStringList{QStringLiteral(SANE_VALUE_SCAN_MODE_GRAY), QStringLiteral("Grey")};
    for (const QString& w : wanted) {
        for (const SANE_String_Const* s = o->d->constraint.string_list; *s != nullptr; ++s) {
            if (w.compare(QString::fromUtf8(*s), Qt::CaseInsensitive) != 0) {
                continue;
            }
            std::vector<char> value(static_cast<std::size_t>(
                std::max<SANE_Int>(o->d->size, static_cast<SANE_Int>(std::strlen(*s)) + 1)));
            std::strcpy(value.data(), *s);
            SANE_Int info = 0;
            const SANE_Status status =
                heard(sane_control_option(h, o->index, SANE_ACTION_SET_VALUE, value.data(), &info));
            if (status != SANE_STATUS_GOOD) {
                failStatus(status);
            }
            return;
        }
    }
}

// A scan-area edge given in twips, in the option's own unit.
void setEdge(SANE_Handle h, const char* name, int twips, double resolution) {
    const std::optional<Option> o = findOption(h, name);
    if (!o) {
        return;
    }
    const double inches = twips / kTwipsPerInch;
    setNumber(h, name, o->d->unit == SANE_UNIT_PIXEL ? inches * resolution : inches * kMmPerInch);
}

struct Frame {
    SANE_Parameters p{};
    QByteArray data;
};

// One sample of a line, 0..255. SANE sends 16-bit samples in the host's byte order; a set bit
// of a one-bit grey line is black.
int sample(const uchar* line, int index, int depth, bool grey) {
    switch (depth) {
    case 1: {
        const bool set = ((line[index / 8] >> (7 - index % 8)) & 1) != 0;
        return set == grey ? 0 : 255;
    }
    case 16: {
        quint16 v = 0;
        std::memcpy(&v, line + 2 * static_cast<std::ptrdiff_t>(index), sizeof v);
        return v >> 8;
    }
    default:
        return line[index];
    }
}

int linesOf(const Frame& f) {
    const qsizetype whole = f.data.size() / f.p.bytes_per_line;
    return static_cast<int>(f.p.lines > 0 ? std::min<qsizetype>(f.p.lines, whole) : whole);
}

QImage toImage(const std::vector<Frame>& frames) {
    const SANE_Parameters& first = frames.front().p;
    const int width = first.pixels_per_line;
    int height = linesOf(frames.front());
    for (const Frame& f : frames) {
        height = std::min(height, linesOf(f));
        if (f.p.pixels_per_line != width || f.p.depth != first.depth) {
            fail(scanerr::SubTypeNotSupported);
        }
    }
    if (height <= 0) {
        fail(scanerr::PrematureEof);
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        fail(scanerr::NotEnoughMemory);
    }
    image.fill(Qt::white);
    const int depth = first.depth;
    for (const Frame& f : frames) {
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const uchar*>(f.data.constData()) +
                               qsizetype(y) * f.p.bytes_per_line;
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                QRgb& px = out[x];
                switch (f.p.format) {
                case SANE_FRAME_GRAY: {
                    const int v = sample(line, x, depth, true);
                    px = qRgb(v, v, v);
                    break;
                }
                case SANE_FRAME_RGB:
                    px = qRgb(sample(line, 3 * x, depth, false),
                              sample(line, 3 * x + 1, depth, false),
                              sample(line, 3 * x + 2, depth, false));
                    break;
                case SANE_FRAME_RED:
                    px = qRgb(sample(line, x, depth, false), qGreen(px), qBlue(px));
                    break;
                case SANE_FRAME_GREEN:
                    px = qRgb(qRed(px), sample(line, x, depth, false), qBlue(px));
                    break;
                case SANE_FRAME_BLUE:
                    px = qRgb(qRed(px), qGreen(px), sample(line, x, depth, false));
                    break;
                default:
                    fail(scanerr::SubTypeNotSupported);
                }
            }
        }
    }
    return image;
}

Frame readFrame(SANE_Handle h) {
    Frame f;
    SANE_Status status = heard(sane_start(h));
    if (status != SANE_STATUS_GOOD) {
        failStatus(status);
    }
    status = heard(sane_get_parameters(h, &f.p));
    if (status != SANE_STATUS_GOOD) {
        failStatus(status);
    }
    if (f.p.depth != 1 && f.p.depth != 8 && f.p.depth != 16) {
        fail(scanerr::InvalidBitsPerPixel);
    }
    const int samples = f.p.format == SANE_FRAME_RGB ? 3 : 1;
    if (f.p.pixels_per_line <= 0 ||
        qint64(f.p.bytes_per_line) * 8 < qint64(f.p.pixels_per_line) * samples * f.p.depth) {
        fail(scanerr::InvalidWidthHeight);
    }
    std::array<SANE_Byte, 65536> buffer{};
    for (;;) {
        SANE_Int length = 0;
        status = heard(sane_read(h, buffer.data(), static_cast<SANE_Int>(buffer.size()), &length));
        if (status == SANE_STATUS_EOF) {
            break;
        }
        if (status != SANE_STATUS_GOOD) {
            failStatus(status);
        }
        if (f.data.size() + length > kMaxFrameBytes) {
            fail(scanerr::ScannerOutOfMemory);
        }
        f.data.append(reinterpret_cast<const char*>(buffer.data()), length);
    }
    return f;
}

std::vector<Frame> readPage(SANE_Handle h) {
    std::vector<Frame> frames;
    // A three-pass scanner sends red, green and blue one after the other.
    do {
        frames.push_back(readFrame(h));
    } while (!frames.back().p.last_frame && frames.size() < 3);
    sane_cancel(h);
    return frames;
}

} // namespace

SaneScanner::SaneScanner(QString deviceName, std::chrono::milliseconds silence)
    : deviceName_(std::move(deviceName)), silence_(silence) {}

int SaneScanner::errorNumberFor(int saneStatus) {
    switch (saneStatus) {
    case SANE_STATUS_UNSUPPORTED:
        return scanerr::UnknownCapability;
    case SANE_STATUS_CANCELLED:
        return scanerr::OperationCancelled;
    case SANE_STATUS_DEVICE_BUSY:
        return scanerr::SourceBusy;
    case SANE_STATUS_INVAL:
        return scanerr::ValueOutOfRange;
    case SANE_STATUS_EOF:
        return scanerr::PrematureEof;
    case SANE_STATUS_NO_MEM:
        return scanerr::ScannerOutOfMemory;
    case SANE_STATUS_JAMMED:
    case SANE_STATUS_NO_DOCS:
    case SANE_STATUS_COVER_OPEN:
    case SANE_STATUS_IO_ERROR:
    case SANE_STATUS_ACCESS_DENIED:
        return scanerr::SourceReportedError;
    default:
        return scanerr::GeneralFailure;
    }
}

void SaneScanner::CheckAvailable() {
    runBounded(silence_, [wanted = deviceName_] {
        Session session;
        const QByteArray name = Session::deviceName(wanted);
        if (!wanted.isEmpty()) {
            Device device(name);
        }
    });
}

void SaneScanner::AcquirePages(const ScanSettings& settings, const TakePage& take) {
    // Filled by the library's thread; kept alive by whichever of the two ends last.
    struct Scan {
        std::vector<Frame> frames;
        double resolution = 0;
    };
    const auto scan = std::make_shared<Scan>();
    runBounded(silence_, [scan, wanted = deviceName_, settings] {
        Session session;
        Device device(Session::deviceName(wanted));
        SANE_Handle h = device.handle();
        setMode(h, settings.Colour);
        setNumber(h, SANE_NAME_BIT_DEPTH, settings.Bits);
        const double resolution = setNumber(h, SANE_NAME_SCAN_RESOLUTION, settings.Resolution)
                                      .value_or(settings.Resolution);
        const QRect& area = settings.FrameTwips;
        setEdge(h, SANE_NAME_SCAN_TL_X, area.left(), resolution);
        setEdge(h, SANE_NAME_SCAN_TL_Y, area.top(), resolution);
        setEdge(h, SANE_NAME_SCAN_BR_X, area.left() + area.width(), resolution);
        setEdge(h, SANE_NAME_SCAN_BR_Y, area.top() + area.height(), resolution);
        scan->frames = readPage(h);
        scan->resolution = resolution;
        handOver();
    });
    QImage page = toImage(scan->frames);
    // A device that cannot scan at the resolution asked for gives its nearest; the page says
    // which, and the reader brings it to its own.
    const double dpi = scan->resolution > 0 ? scan->resolution : settings.Resolution;
    const int dpm = static_cast<int>(std::lround(dpi * kInchesPerMetre));
    page.setDotsPerMeterX(dpm);
    page.setDotsPerMeterY(dpm);
    take(page);
}

} // namespace tov::platform
