#include "photo/jpeg_intake.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace tagmora {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return:
// it jumps back to LoadJpegGrey instead of ending the process.
struct ErrorManager {
    jpeg_error_mgr base{};
    std::jmp_buf escape{};
    bool dataEndedEarly = false;
};

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(manager->escape, 1);
}

// Warnings are not errors (cameras often leave stray bytes before a marker),
// but data that stop before the picture is complete mean a damaged file:
// libjpeg would quietly fill the rest with grey.
void NoteWarning(j_common_ptr cinfo, int msgLevel) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (msgLevel < 0 && manager->base.msg_code == JWRN_JPEG_EOF) manager->dataEndedEarly = true;
}

void Silence(j_common_ptr) {}

class FileHandle {
public:
    explicit FileHandle(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}
    ~FileHandle() {
        if (file_) std::fclose(file_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    std::FILE* get() const { return file_; }

private:
    std::FILE* file_;
};

// Owns the decompressor so that every way out, the jump included, frees it.
class Decompressor {
public:
    Decompressor() {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = JumpBack;
        errors.base.emit_message = NoteWarning;
        errors.base.output_message = Silence;
        jpeg_create_decompress(&info);
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct info{};
    ErrorManager errors;
};

enum class Stage { Header, Data };

// Everything that may jump lives in here; the caller's objects stay outside,
// so the jump skips no destructor. Only trivially destructible locals between
// setjmp and the jumps, and the stage that changes after setjmp is volatile.
JpegResult Decode(Decompressor& jpeg, std::FILE* file, WorkBitmap& bitmap) {
    volatile Stage stage = Stage::Header;
    if (setjmp(jpeg.errors.escape) != 0)
        return stage == Stage::Header ? JpegResult::CannotOpen : JpegResult::CorruptData;

    jpeg_decompress_struct& info = jpeg.info;
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    // A stream that ended inside the header is not a picture at all.
    if (jpeg.errors.dataEndedEarly) return JpegResult::CannotOpen;
    if (static_cast<long long>(info.image_width) * static_cast<long long>(info.image_height) > kMaxPixels)
        return JpegResult::TooLarge;

    stage = Stage::Data;
    info.out_color_space = JCS_GRAYSCALE;
    info.scale_num = 1;
    info.scale_denom = 1;
    jpeg_start_decompress(&info);
    if (info.output_components != 1) return JpegResult::CorruptData;

    bitmap.Resize(static_cast<std::int32_t>(info.output_width), static_cast<std::int32_t>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bitmap.Row(static_cast<std::int32_t>(info.output_scanline)).data();
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return jpeg.errors.dataEndedEarly ? JpegResult::CorruptData : JpegResult::Ok;
}

}  // namespace

JpegResult LoadJpegGrey(const std::string& path, WorkBitmap& bitmap) {
    const FileHandle file(path);
    JpegResult result = JpegResult::CannotOpen;
    if (file.get()) {
        Decompressor jpeg;
        result = Decode(jpeg, file.get(), bitmap);
    }
    // A failed picture must not pass for the previous one; the storage stays.
    if (result != JpegResult::Ok) bitmap.Resize(0, 0);
    return result;
}

}  // namespace tagmora
