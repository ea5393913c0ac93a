#pragma once

#include <QImage>
#include <QString>

namespace tov::scan {

// The page as acquired (colour, 100 dpi) -> the black-and-white page the reader expects, 8 bits
// per pixel (Format_Grayscale8, 255 = white, 0 = black). The steps keep the meaning of the
// imaging operations the procedure names:
//  - colour separation, plane 2: the yellow plane, 255 - blue;
//  - contrast 800 on the scale -1000..1000: the plane is stretched around mid-grey (128) by
//    1000 / (1000 - 800) = 5 (a negative value would flatten it by (1000 + c) / 1000);
//  - the lookup table: values 0..75 become white (255), 76..255 black (0).
// Together: a pixel whose blue is 138 or more is white, one of 137 or less black. Blank paper
// (blue 255) and the sheet's drop-out blue ink (blue 235) are white, pencil and the black boxes
// black. A null image gives a null image.
QImage PrepareScan(const QImage& raw);

// The contrast step alone: value v stretched by contrast c (-1000..1000), held in 0..255.
int ContrastValue(int v, int c);

// Writes an image as a Windows bitmap with 8 bits per pixel and a grey palette (colour images
// are turned to grey first), owner-only, in place of whatever had the name. False when the file
// cannot be written.
bool SaveEightBitBmp(const QImage& image, const QString& path);

} // namespace tov::scan
