#include "demo/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace rw {
namespace {

// libjpeg's default error handler exits the process; this one jumps back to the decoder.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Kept apart from any C++ object with a destructor, so the long jump skips none.
bool Decode(std::span<const uint8_t> bytes, Image& image) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ErrorExit;
  errors.base.output_message = IgnoreMessage;
  if (setjmp(errors.escape)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  const uint64_t pixels = static_cast<uint64_t>(info.image_width) * info.image_height;
  if (pixels == 0 || pixels > kMaxImagePixels) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_EXT_RGBA;
  jpeg_start_decompress(&info);
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  image.rgba.resize(pixels * 4);
  const size_t stride = static_cast<size_t>(image.width) * 4;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.rgba.data() + info.output_scanline * stride;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<Image> DecodeJpeg(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return std::nullopt;
  Image image;
  if (!Decode(bytes, image)) return std::nullopt;
  return image;
}

}  // namespace rw
