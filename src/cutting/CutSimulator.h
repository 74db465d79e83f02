// Cuts a program's motions out of the stock, in program order, on one or more threads.
//
// Each thread owns interleaved bands of rows and applies every motion to its own bands
// only, so a cell sees the same motions in the same order whatever the thread count: the
// field, the tool that cut each cell and the findings are identical with one thread or two.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cutting/CutMotion.h"
#include "cutting/CutTool.h"
#include "cutting/HeightField.h"

namespace cuttrace::cutting {

enum class FindingKind : uint8_t {
    RapidIntoStock,  // a rapid move (or a cycle's rapid approach) removed material
    BelowBottom,     // a cutting move took the tool below the stock's bottom
};

struct Finding {
    FindingKind kind = FindingKind::RapidIntoStock;
    int64_t motion = 0;  // ordinal of the motion in the run, from 0
    int32_t tool = 0;    // T number
    int32_t file = -1;   // as in the motion
    int64_t offset = -1;
};

class CutSimulator {
  public:
    // Findings kept in the list; the counts go on past it.
    static constexpr std::size_t kMaxListedFindings = 1000;
    // Tools told apart in the colouring by tool; later ones share the last slot.
    static constexpr int kMaxToolSlots = 255;
    static constexpr int kStripRows = 32;

    // Sets up the stock (see HeightField::Reset) and forgets earlier cuts and findings.
    bool Reset(const StockBox& box, int resolution, std::string* error, std::string* note);
    // The tools by T number; T numbers not in the table get the fallback.
    void SetTools(const ToolTable& table, const CutTool& fallback);
    void SetThreads(int threads) { threads_ = threads < 1 ? 1 : threads; }

    // Cuts the next motions of the run.
    void Cut(std::span<const CutMotion> motions);

    const HeightField& Field() const { return field_; }
    const std::vector<Finding>& Findings() const { return findings_; }
    int64_t Count(FindingKind kind) const { return counts_[static_cast<int>(kind)]; }
    int64_t Motions() const { return motions_; }
    // Cells reached by the tool, summed over motions (a cell counts once per motion piece).
    uint64_t CellsVisited() const { return cellsVisited_; }
    // The T number of each colouring slot; slot 0 (uncut) has none.
    const std::vector<int32_t>& SlotTools() const { return slotTools_; }

  private:
    uint8_t SlotOf(int32_t tool);
    void CutBands(std::span<const CutMotion> motions, int thread, int threads, uint8_t* flags,
                  uint64_t* cells);

    HeightField field_;
    ToolTable table_;
    CutTool fallback_{ToolShape::Flat, 2.0, 0.0};
    int threads_ = 2;
    std::vector<Finding> findings_;
    int64_t counts_[2] = {0, 0};
    int64_t motions_ = 0;
    uint64_t cellsVisited_ = 0;
    std::vector<int32_t> slotTools_{0};
    std::vector<uint8_t> slots_;         // of the batch's motions
    std::vector<const CutTool*> tools_;  // of the batch's motions
};

}  // namespace cuttrace::cutting
