#include "cutting/CutSimulator.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "core/VectorRegisters.h"
#include "cutting/ToolSweep.h"

namespace cuttrace::cutting {

namespace {

// Bits of a motion's outcome.
constexpr uint8_t kRapidRemoved = 1;
constexpr uint8_t kFeedBelow = 2;

// Rows the motion may touch (a superset); false when none.
bool RowsOf(const HeightField& field, const CutMotion& m, double radius, int* r0, int* r1) {
    double lo = std::min(m.start.y, m.end.y), hi = std::max(m.start.y, m.end.y);
    // An arc across Y (in XY or YZ) reaches its centre's Y plus or minus its radius.
    if (m.kind == MoveKind::Arc && m.plane != ArcPlane::ZX) {
        const bool xy = m.plane == ArcPlane::XY;
        const double centreY = xy ? m.centreSecond : m.centreFirst;
        const double a = xy ? m.start.x - m.centreFirst : m.start.y - m.centreFirst;
        const double b = xy ? m.start.y - m.centreSecond : m.start.z - m.centreSecond;
        const double reach = std::hypot(a, b);
        lo = std::min(lo, centreY - reach), hi = std::max(hi, centreY + reach);
    }
    lo -= radius, hi += radius;
    if (!(lo <= hi)) return false;
    const double origin = field.Box().low.y, step = field.CellHeight();
    const double first = std::max(std::floor((lo - origin) / step - 0.5), 0.0);
    const double last = std::min(std::ceil((hi - origin) / step - 0.5), field.Rows() - 1.0);
    if (!(first <= last)) return false;
    *r0 = static_cast<int>(first);
    *r1 = static_cast<int>(last);
    return true;
}

// Cuts one motion within a band of rows; returns its outcome bits.
uint8_t CutMotionIn(HeightField& field, RowBand band, const CutMotion& m, const CutTool& tool,
                    uint8_t slot, uint64_t* cells) {
    uint8_t outcome = 0;
    const auto feed = [&](SweepResult r) {
        *cells += r.cells;
        if (r.flags & kBelowBottom) outcome |= kFeedBelow;
    };
    const auto rapid = [&](SweepResult r) {
        *cells += r.cells;
        if (r.flags & kRemoved) outcome |= kRapidRemoved;
    };
    switch (m.kind) {
        case MoveKind::Rapid:
            rapid(SweepLine(field, band, tool, slot, m.start, m.end));
            break;
        case MoveKind::Feed:
            feed(SweepLine(field, band, tool, slot, m.start, m.end));
            break;
        case MoveKind::Arc:
            feed(SweepArc(field, band, tool, slot, m.start, m.end, m.plane, m.clockwise,
                          m.centreFirst, m.centreSecond));
            break;
        case MoveKind::Cycle: {
            // Over the hole at the initial level, down to R, then the feed to the bottom;
            // the retract goes back along the same line.
            const Point3 above{m.end.x, m.end.y, m.start.z};
            const Point3 r{m.end.x, m.end.y, m.rLevel};
            rapid(SweepLine(field, band, tool, slot, m.start, above));
            rapid(SweepLine(field, band, tool, slot, above, r));
            feed(SweepLine(field, band, tool, slot, r, m.end));
            break;
        }
    }
    return outcome;
}

}  // namespace

bool CutSimulator::Reset(const StockBox& box, int resolution, std::string* error,
                         std::string* note) {
    findings_.clear();
    counts_[0] = counts_[1] = 0;
    motions_ = 0;
    cellsVisited_ = 0;
    slotTools_.assign(1, 0);
    return field_.Reset(box, resolution, error, note);
}

void CutSimulator::SetTools(const ToolTable& table, const CutTool& fallback) {
    table_ = table;
    fallback_ = fallback;
}

uint8_t CutSimulator::SlotOf(int32_t tool) {
    // Few tools in a program: a linear search over the slots is enough.
    for (std::size_t i = 1; i < slotTools_.size(); ++i)
        if (slotTools_[i] == tool) return static_cast<uint8_t>(i);
    if (slotTools_.size() <= static_cast<std::size_t>(kMaxToolSlots)) {
        slotTools_.push_back(tool);
        return static_cast<uint8_t>(slotTools_.size() - 1);
    }
    return static_cast<uint8_t>(kMaxToolSlots);
}

void CutSimulator::CutBands(std::span<const CutMotion> motions, int thread, int threads,
                            uint8_t* flags, uint64_t* cells) {
    CleanVectorUppers();  // a band may be cut on a thread started from the window's
    for (std::size_t i = 0; i < motions.size(); ++i) {
        const CutMotion& m = motions[i];
        const CutTool& tool = *tools_[i];
        int r0 = 0, r1 = 0;
        if (!RowsOf(field_, m, tool.Radius(), &r0, &r1)) continue;
        uint8_t outcome = 0;
        for (int strip = r0 / kStripRows; strip <= r1 / kStripRows; ++strip) {
            if (strip % threads != thread) continue;
            const RowBand band{strip * kStripRows,
                               std::min((strip + 1) * kStripRows, field_.Rows())};
            outcome |= CutMotionIn(field_, band, m, tool, slots_[i], cells);
        }
        flags[i] |= outcome;
    }
}

void CutSimulator::Cut(std::span<const CutMotion> motions) {
    if (field_.Rows() == 0 || motions.empty()) return;
    slots_.resize(motions.size());
    tools_.resize(motions.size());
    for (std::size_t i = 0; i < motions.size(); ++i) {
        slots_[i] = SlotOf(motions[i].tool);
        tools_[i] = &table_.Find(motions[i].tool, fallback_);
    }
    const int strips = (field_.Rows() + kStripRows - 1) / kStripRows;
    const int threads = std::min(threads_, strips);
    std::vector<std::vector<uint8_t>> flags(static_cast<std::size_t>(threads),
                                            std::vector<uint8_t>(motions.size(), 0));
    std::vector<uint64_t> cells(static_cast<std::size_t>(threads), 0);
    {
        std::vector<std::jthread> workers;
        for (int t = 1; t < threads; ++t) {
            const auto k = static_cast<std::size_t>(t);
            workers.emplace_back([this, motions, t, threads, &flags, &cells, k] {
                CutBands(motions, t, threads, flags[k].data(), &cells[k]);
            });
        }
        CutBands(motions, 0, threads, flags[0].data(), &cells[0]);
        workers.clear();  // joins
    }
    for (std::size_t i = 0; i < motions.size(); ++i) {
        uint8_t outcome = 0;
        for (const auto& f : flags)
            outcome |= f[i];
        const auto note = [&](FindingKind kind) {
            ++counts_[static_cast<int>(kind)];
            if (findings_.size() >= kMaxListedFindings) return;
            const CutMotion& m = motions[i];
            findings_.push_back(
                {kind, motions_ + static_cast<int64_t>(i), m.tool, m.file, m.offset});
        };
        if (outcome & kRapidRemoved) note(FindingKind::RapidIntoStock);
        if (outcome & kFeedBelow) note(FindingKind::BelowBottom);
    }
    for (uint64_t c : cells)
        cellsVisited_ += c;
    motions_ += static_cast<int64_t>(motions.size());
}

}  // namespace cuttrace::cutting
