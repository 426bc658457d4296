#include "tests/tools/jpeg_probe.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct Trap {
    jpeg_error_mgr mgr;
    jmp_buf back;
};

void trapExit(j_common_ptr cinfo) { longjmp(reinterpret_cast<Trap*>(cinfo->err)->back, 1); }
void quiet(j_common_ptr) {}

bool decode(const unsigned char* data, unsigned long size, int* w, int* h, int* comps,
            std::vector<unsigned char>* pixels) {
    jpeg_decompress_struct cinfo;
    Trap trap;
    cinfo.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = trapExit;
    trap.mgr.output_message = quiet;
    if (setjmp(trap.back)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    *w = int(cinfo.output_width);
    *h = int(cinfo.output_height);
    *comps = cinfo.output_components;
    pixels->assign(size_t(*w) * *h * *comps, 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels->data() + size_t(cinfo.output_scanline) * *w * *comps;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

bool probeJpeg(const std::vector<unsigned char>& bytes, ProbedImage& out) {
    out = ProbedImage{};
    if (bytes.empty()) return false;
    return decode(bytes.data(), (unsigned long)bytes.size(), &out.width, &out.height,
                  &out.components, &out.pixels);
}
