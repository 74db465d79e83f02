// Cutter radius compensation (G41/G42 Dn, G40) in the XY plane: turns the programmed
// contour, in machine coordinates, into the path of the tool centre.
//
// A block's compensated end depends on the next block that moves in XY, so each such block
// is held until that one arrives (blocks between them that move only along Z, or do not
// move, wait with it). Start-up and cancel are of type A: the block that starts
// compensation ends offset perpendicular to the start of the next block; the block that
// cancels starts offset perpendicular to the end of the block before. Inner corners meet at
// the intersection of the offset elements; outer corners turning by at most 90 degrees meet
// where the offset elements' tangents cross, sharper ones go round by two straight moves
// that stand off by the radius along both elements.
#pragma once

#include <deque>
#include <vector>

#include "core/ModalState.h"
#include "core/MotionRecord.h"
#include "core/Point3.h"

namespace cuttrace {

class CutterCompensation {
  public:
    void Reset();
    // Whether the programmed contour of compensated blocks goes out as well (contour kinds,
    // each before the tool-centre motions of its block).
    void SetContour(bool on) { contour_ = on; }
    // Whether blocks must pass through Take (compensation on, or a block held).
    bool Engaged() const { return side_ != 0 || pendingSide_ != 0 || held_; }

    // One block: `motion` is its motion in machine coordinates (null: no motion), `from`
    // the machine point it starts at; `radius` the cutter radius of the block's D number;
    // `mirrored` whether the map to machine coordinates mirrors the XY plane. Records
    // ready to be drawn are appended to `out`. False (logged) on an alarm.
    bool Take(const ModalState& modal, const MotionRecord* motion, const Point3& from,
              double radius, bool mirrored, std::deque<MotionRecord>& out);
    // The program ends: whatever is held is written, ending offset as a cancel would.
    void Flush(std::deque<MotionRecord>& out);

  private:
    struct Element {
        MotionRecord record;  // programmed, machine coordinates
        Point3 start;
        bool arc = false;
        bool ccw = false;
    };
    struct Vec {
        double x = 0, y = 0;
    };

    bool Corner(const Element& a, const Element& b, std::deque<MotionRecord>& out, Point3& bStart);
    bool Emit(const Element& e, const Point3& start, const Point3& end,
              std::deque<MotionRecord>& out) const;
    void EmitWaiting(const Point3& at, std::deque<MotionRecord>& out);
    void EmitContour(const MotionRecord& programmed, const Point3& from,
                     std::deque<MotionRecord>& out) const;
    Vec Tangent(const Element& e, bool atEnd) const;
    Point3 OffsetPoint(const Element& e, bool atEnd) const;

    bool contour_ = false;
    int side_ = 0;         // +1 left (G41), -1 right (G42), 0 off
    int pendingSide_ = 0;  // set by a G41/G42 block without XY motion
    double radius_ = 0.0;
    bool held_ = false;     // element_ is held
    bool startUp_ = false;  // element_ is the start-up block
    Element element_;
    Point3 heldStart_;                   // where the tool starts the held element (compensated)
    std::vector<MotionRecord> waiting_;  // non-XY moves after the held element
};

}  // namespace cuttrace
