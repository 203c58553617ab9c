#pragma once
// Decoding a JPEG file at full size into greyscale. libjpeg's errors come
// back as a result; they never end the program.
#include <string>

#include "photo/work_bitmap.h"

namespace tagmora {

// Larger pictures are refused rather than allocated.
inline constexpr long long kMaxPixels = 100'000'000;

enum class JpegResult {
    Ok,
    CannotOpen,   // the file cannot be opened or is not a JPEG (header unreadable)
    TooLarge,     // the header announces more than kMaxPixels
    CorruptData,  // the header was fine but the image data failed to decode
};

// Decodes path into bitmap, reusing its storage.
JpegResult LoadJpegGrey(const std::string& path, WorkBitmap& bitmap);

}  // namespace tagmora
