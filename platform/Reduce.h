#pragma once
// Making a picture smaller by averaging, as the old halftone stretch did:
// each pixel of the result is the mean of the source area it covers, each
// source pixel counted by the part of it that falls inside. The sizes asked
// are made together, in bands of rows that the pool's idle threads share with
// the caller (a capture's thumbnail and enlarged copy of a whole screen).
#include <QImage>
#include <QSize>

#include <vector>

namespace platform {

// The reductions of `source` (any format; alpha ignored) to each size, as
// opaque RGB32 pictures, in the order asked. A size larger than the source
// along either side, or empty, gives a null picture in its place.
std::vector<QImage> reduceByAveraging(const QImage& source, const std::vector<QSize>& sizes);

}  // namespace platform
