#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orv {

// Graphviz refused a chart; what() holds its messages.
class ChartLayoutError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Lays out a graph in the DOT language with Graphviz's "dot" layout and
// renders it as SVG; each node's group carries the node's id. Throws
// ChartLayoutError when Graphviz cannot read or lay it out.
std::string LayOutSvg(std::string_view dot);

} // namespace orv
