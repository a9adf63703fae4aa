// The page's road to the screen at the large layout's size (1434 x 990):
// a snapshot of the off-screen page, its conversion to the texture's rows,
// and the texture's upload. The floor beside them is cairo copying the same
// image (one pass over the pixels by the library that made them).
//
// The snapshot needs an X display: run under xvfb-run -a; without one it
// is skipped.

#include "platform/browser/OffscreenPage.h"
#include "platform/browser/PagePixels.h"
#include "platform/render/CCEGLView.h"

#include <GLES/gl.h>
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <webkit2/webkit2.h>

#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 1434;
constexpr int kHeight = 990;

// A page-sized ARGB32 image with some content.
cairo_surface_t* pageImage() {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.11, 0.13, 0.17);
    cairo_paint(cr);
    cairo_set_source_rgba(cr, 0.8, 0.6, 0.3, 0.9);
    cairo_rectangle(cr, 14, 54, 370, 922);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

void BM_CairoCopyFloor(benchmark::State& state) {
    cairo_surface_t* source = pageImage();
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(target);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source, 0, 0);
    for (auto _ : state) {
        cairo_paint(cr);
        cairo_surface_flush(target);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(target));
    }
    cairo_destroy(cr);
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 4);
}
BENCHMARK(BM_CairoCopyFloor)->Unit(benchmark::kMicrosecond);

void BM_ConvertPage(benchmark::State& state) {
    cairo_surface_t* source = pageImage();
    std::vector<uint8_t> rows;
    for (auto _ : state) {
        convertBgraToRgbaFlipped(cairo_image_surface_get_data(source), kWidth, kHeight,
                                 cairo_image_surface_get_stride(source), rows);
        benchmark::DoNotOptimize(rows.data());
    }
    cairo_surface_destroy(source);
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 4);
}
BENCHMARK(BM_ConvertPage)->Unit(benchmark::kMicrosecond);

// Whole-page upload into the page texture, finished each time.
void BM_UploadPage(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    auto view = std::make_unique<cocos2d::CCEGLView>();
    if (!view->Create("upload", kWidth, kHeight)) {
        state.SkipWithError("no OpenGL ES 1.1 context");
        return;
    }
    std::vector<uint8_t> rows(size_t(kWidth) * kHeight * 4, 128);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kWidth, kHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rows.data());
    for (auto _ : state) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                        rows.data());
        glFinish();
    }
    glDeleteTextures(1, &texture);
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 4);
}
BENCHMARK(BM_UploadPage)->Unit(benchmark::kMicrosecond);

// One snapshot of a page of the layout's size, asked for and received.
void BM_SnapshotPage(benchmark::State& state) {
    if (!OffscreenPage::initToolkit()) {
        state.SkipWithError("no X display (run under xvfb-run -a)");
        return;
    }
    OffscreenPage page(kWidth, kHeight);
    webkit_web_view_load_html(page.webView(),
                              "<body style='margin:0;background:#1c202c'>"
                              "<div style='position:absolute;left:14px;top:54px;width:370px;"
                              "height:922px;background:#c89a50;border-radius:10px'></div></body>",
                              nullptr);
    int paints = 0;
    page.setPaintHandler([&paints](const uint8_t*, int, int, int) { ++paints; });
    while (page.isLoading() || paints < 2)
        page.pump();
    for (auto _ : state) {
        const int target = paints + 1;
        while (paints < target)
            page.pump();
    }
}
BENCHMARK(BM_SnapshotPage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
