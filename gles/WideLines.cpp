#include "gles/WideLines.h"

namespace {

WideLineVertex corner(const Vertex& end, const Vertex& other, float side)
{
    WideLineVertex v;
    v.vertex = end;
    for (int i = 0; i < 4; ++i)
        v.otherEnd[i] = other.position[i];
    v.side = side;
    return v;
}

}  // namespace

void expandWideLines(const Vertex* lines, std::size_t count, std::vector<WideLineVertex>& out)
{
    out.clear();
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        const Vertex& a = lines[i];
        const Vertex& b = lines[i + 1];
        const WideLineVertex aMinus = corner(a, b, -1.0f);
        const WideLineVertex aPlus = corner(a, b, 1.0f);
        const WideLineVertex bMinus = corner(b, a, -1.0f);
        const WideLineVertex bPlus = corner(b, a, 1.0f);
        out.insert(out.end(), {aPlus, aMinus, bMinus, aPlus, bMinus, bPlus});
    }
}
