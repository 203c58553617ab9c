// Any bytes as a photograph: the intake must return, never crash, hang or
// allocate for a picture it then refuses.
#include <sys/mman.h>
#include <unistd.h>

#include "photo/jpeg_intake.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static tagmora::WorkBitmap bitmap;  // reused, as the program does
    int fd = memfd_create("photo.jpg", 0);
    if (fd < 0) return 0;
    if (write(fd, data, size) == static_cast<ssize_t>(size)) {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        if (tagmora::LoadJpegGrey(path, bitmap) == tagmora::JpegResult::Ok &&
            bitmap.Pixels.size() != static_cast<std::size_t>(bitmap.Width) * static_cast<std::size_t>(bitmap.Height))
            __builtin_trap();
    }
    close(fd);
    return 0;
}
