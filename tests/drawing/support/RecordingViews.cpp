#include "drawing/support/RecordingViews.h"

#include <algorithm>

#include "machines/NumberText.h"

namespace cuttrace::test {

namespace {

std::string Point(const Point3& p) {
    std::string text;
    AppendShortest(text, p.x);
    text += ',';
    AppendShortest(text, p.y);
    text += ',';
    AppendShortest(text, p.z);
    return text;
}

std::string Hex(uint32_t v) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[v & 0xF]);
        v >>= 4;
    } while (v != 0);
    return text;
}

}  // namespace

std::size_t RecordingViews::Count(Op op) const {
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [op](const ViewCall& c) { return c.op == op; }));
}

std::vector<ViewCall> RecordingViews::Only(Op op) const {
    std::vector<ViewCall> out;
    for (const ViewCall& c : calls) {
        if (c.op == op) out.push_back(c);
    }
    return out;
}

std::string RecordingViews::Text() const {
    std::string out;
    for (const ViewCall& c : calls) {
        switch (c.op) {
            case Op::Color:
                out += "C " + Hex(c.color);
                break;
            case Op::MoveTo:
                out += "M " + Point(c.a);
                break;
            case Op::LineTo:
                out += "L " + Point(c.a);
                break;
            case Op::ToolTo:
                out += "T " + Point(c.a);
                break;
            case Op::Line:
                out += "D " + Point(c.a) + " -> " + Point(c.b);
                break;
            case Op::Refresh:
                out += "R";
                break;
        }
        out += "\n";
    }
    return out;
}

}  // namespace cuttrace::test
