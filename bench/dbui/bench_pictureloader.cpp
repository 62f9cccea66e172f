// A 1000 x 1500 cover decoded by the loader against a plain libjpeg loop of
// the kind djpeg runs (RGB scanlines into one buffer). The loader must stay
// within 1.5 times of the plain loop.
#include "dbui/pictureloader.h"
#include "../../tests/dbui/jpegsample.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

const QByteArray &cover()
{
    static const QByteArray bytes = testdata::encodeJpeg(testdata::samplePicture(1000, 1500), 85);
    return bytes;
}

} // namespace

static void BM_PlainLibjpegDecode(benchmark::State &state)
{
    const QByteArray &bytes = cover();
    std::vector<unsigned char> pixels;
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr jerr;
        cinfo.err = jpeg_std_error(&jerr);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_RGB;
        jpeg_start_decompress(&cinfo);
        const size_t stride = size_t(cinfo.output_width) * cinfo.output_components;
        pixels.resize(stride * cinfo.output_height);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_PlainLibjpegDecode)->Unit(benchmark::kMillisecond);

static void BM_PictureLoaderJpeg(benchmark::State &state)
{
    const QByteArray &bytes = cover();
    for (auto _ : state) {
        auto r = dbui::PictureLoader::decode(bytes);
        if (!r.ok())
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(r.image.constBits());
    }
}
BENCHMARK(BM_PictureLoaderJpeg)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
