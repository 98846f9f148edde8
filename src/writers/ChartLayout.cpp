#include "writers/ChartLayout.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>
#include <memory>

namespace orv {

namespace {

// Graphviz reports through one process-wide handler; its messages are kept
// for the error a failed layout throws.
std::string& messages() {
    static std::string text;
    return text;
}

int keepMessage(char* message) {
    messages() += message;
    return 0;
}

// One context for the life of the program: the text layout plugin keeps the
// last font's name between layouts, pointing into the context's font table,
// so freeing a context and making another would have it read freed memory.
GVC_t* context() {
    static GVC_t* const gvc = gvContext();
    return gvc;
}

} // namespace

std::string LayOutSvg(std::string_view dot) {
    messages().clear();
    const agusererrf previous = agseterrf(keepMessage);
    struct Restore {
        agusererrf handler;
        ~Restore() { agseterrf(handler); }
    } restore{previous};

    GVC_t* const gvc = context();
    if (!gvc)
        throw ChartLayoutError("Graphviz could not start");
    const std::string text(dot);
    const std::unique_ptr<Agraph_t, int (*)(Agraph_t*)> graph(agmemread(text.c_str()), agclose);
    if (!graph)
        throw ChartLayoutError("Graphviz could not read the chart: " + messages());
    if (gvLayout(gvc, graph.get(), "dot") != 0)
        throw ChartLayoutError("Graphviz could not lay out the chart: " + messages());
    char* data = nullptr;
    unsigned int length = 0;
    const int rendered = gvRenderData(gvc, graph.get(), "svg", &data, &length);
    std::string svg = rendered == 0 && data ? std::string(data, length) : std::string();
    if (data)
        gvFreeRenderData(data);
    gvFreeLayout(gvc, graph.get());
    if (rendered != 0)
        throw ChartLayoutError("Graphviz could not draw the chart as SVG: " + messages());
    return svg;
}

} // namespace orv
