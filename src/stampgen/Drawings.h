#pragma once
// The pictures of the stamps the program ships, drawn in code: each a name, the folder it
// belongs to, its size and how to draw it.

#include <QPainter>
#include <vector>

namespace celvane {

struct StampDrawing {
    const char* folder;
    const char* name;
    int width;
    int height;
    void (*draw)(QPainter& p);
};

const std::vector<StampDrawing>& stampDrawings();

} // namespace celvane
