#include "app/RunStats.h"

#include "app/JsonLine.h"

namespace cuttrace::app {

namespace {

void AppendPoint(std::string& out, const Point3& p) {
    out += '[';
    JsonLine::AppendNumber(out, p.x, 3);
    out += ',';
    JsonLine::AppendNumber(out, p.y, 3);
    out += ',';
    JsonLine::AppendNumber(out, p.z, 3);
    out += ']';
}

}  // namespace

std::string RunStats::Line(const std::string& program, std::optional<StepResult> result) const {
    const PathSummary& s = surveyor_.Summary();
    const char* status = !result                           ? "step-limit"
                         : *result == StepResult::Finished ? "finished"
                                                           : "failed";
    JsonLine line;
    line.Text("file", program).Text("status", status).Integer("motions", s.motions);
    if (s.Empty()) {
        line.Null("extent");
    } else {
        std::string extent = "{\"min\":";
        AppendPoint(extent, s.min);
        extent += ",\"max\":";
        AppendPoint(extent, s.max);
        line.Raw("extent", extent + "}");
    }
    return line.Number("feed_length", s.feedLength, 3)
        .Number("rapid_length", s.rapidLength, 3)
        .Number("time", s.seconds, 3)
        .Finish();
}

}  // namespace cuttrace::app
