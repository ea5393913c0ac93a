#pragma once

#include <QImage>

#include <array>

namespace tov::scan {

// The prepared page as the mark reader sees it: which pixels are pure white. A pixel outside the
// page is not white.
class PixelSource {
public:
    virtual ~PixelSource() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual bool isWhite(int x, int y) const = 0;
    // The pixels of the w x h rectangle at (x, y) that are not white. The default asks
    // isWhite for each; sources that can do better override it.
    virtual int countNotWhite(int x, int y, int w, int h) const;
};

// A QImage as a pixel source. Eight-bit images are read in place through their scanlines;
// others are converted once. White is the colour FFFFFF (alpha ignored).
class ImagePixels final : public PixelSource {
public:
    explicit ImagePixels(const QImage& image);
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    bool isWhite(int x, int y) const override;
    int countNotWhite(int x, int y, int w, int h) const override;

private:
    bool whiteAt(int x, int y) const;

    QImage image_;
    bool eightBit_ = false;
    std::array<bool, 256> whiteValue_{}; // for eight-bit images: which byte values are white
};

} // namespace tov::scan
