// Windows metafiles through libwmf's SVG layer: the user may put any metafile
// in place of the shipped stalk picture.
#include "printing/pagepicture.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <mutex>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace corpo {

namespace {
// libwmf keeps some global state of its own; one conversion at a time.
std::mutex wmfMutex;

// libwmf prints its coordinates with printf: under a locale with a decimal
// comma they come out as "21,5" and the drawing lands far off its frame.
// This thread uses the C locale while it converts: the whole of it, which the
// C library hands out without loading anything (a copy of the current locale
// with C numbers would be built afresh, and leaks when LOCPATH is set). Made
// once and never changed; should it fail, uselocale(0) changes nothing.
class CNumbers {
public:
    CNumbers() : previous_(uselocale(C())) {}
    ~CNumbers() { uselocale(previous_); }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    static locale_t C() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return c;
    }
    locale_t previous_;
};

// Whether the drawing leaves any mark inside its own frame: on a clear page
// that is white, not black, so that a page not cleared shows.
bool DrawsInsideFrame(const QByteArray& svg) {
    QSvgRenderer renderer(svg);
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(RGB_MASK);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return std::any_of(pixels, pixels + image.width() * image.height(),
                       [](QRgb p) { return p != RGB_MASK; });
}

// Destroying the handle frees whatever the library allocated through it: the
// memory source and the stream's text too, so no early return leaks them.
struct ApiGuard {
    wmfAPI* api = nullptr;
    ~ApiGuard() {
        if (api)
            wmf_api_destroy(api);
    }
};
} // namespace

std::optional<QByteArray> MetafileToSvg(const QByteArray& wmf) {
    // The smallest metafile is its 18-byte header.
    if (wmf.size() < 18)
        return std::nullopt;
    const std::lock_guard<std::mutex> lock(wmfMutex);
    const CNumbers cNumbers;

    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    ApiGuard g;
    if (wmf_api_create(&g.api, flags, &options) != wmf_E_None)
        return std::nullopt;

    // libwmf reads but does not change the bytes; it wants them non-const.
    QByteArray data = wmf;
    if (wmf_mem_open(g.api, reinterpret_cast<unsigned char*>(data.data()), data.size()) !=
        wmf_E_None)
        return std::nullopt;

    wmfD_Rect bbox;
    if (wmf_scan(g.api, 0, &bbox) != wmf_E_None)
        return std::nullopt;
    unsigned int width, height; // an empty frame draws nothing inside, below
    if (wmf_display_size(g.api, &width, &height, 72, 72) != wmf_E_None)
        return std::nullopt;

    wmf_svg_t* svg = WMF_SVG_GetData(g.api);
    svg->out = wmf_stream_create(g.api, nullptr);
    svg->Description = const_cast<char*>("picture");
    svg->bbox = bbox;
    svg->width = width;
    svg->height = height;
    svg->flags |= WMF_SVG_INLINE_IMAGES;

    const wmf_error_t played = wmf_play(g.api, 0, &bbox);
    char* text = nullptr;
    unsigned long length; // set with the text
    wmf_stream_destroy(g.api, svg->out, &text, &length);
    svg->out = nullptr;
    if (played != wmf_E_None || !text)
        return std::nullopt;
    QByteArray out(text, qsizetype(length));
    if (!out.contains("<svg"))
        return std::nullopt;
    // libwmf's SVG layer paints filled shapes half transparent and leaves
    // open lines to SVG's default black fill; a metafile means neither.
    out.replace("fill-opacity:0.5;", "fill-opacity:1;");
    out.replace("style=\"stroke-width:", "style=\"fill:none; stroke-width:");
    // An empty or off-frame drawing is as good as no picture.
    if (!DrawsInsideFrame(out))
        return std::nullopt;
    return out;
}

} // namespace corpo
