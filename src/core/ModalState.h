// The modal G-code state and the words of the current block.
#pragma once

#include <cstdint>

namespace cuttrace {

// G codes of a block that the coordinate stage acts on (bits of ModalState::coordinateCodes).
enum CoordinateCode : uint32_t {
    kCodeDwell = 1u << 0,         // G04
    kCodeSetData = 1u << 1,       // G10
    kCodeSkip = 1u << 2,          // G31
    kCodeLocal = 1u << 3,         // G52
    kCodeMachine = 1u << 4,       // G53
    kCodeSetPosition = 1u << 5,   // G92
    kCodeInch = 1u << 6,          // G20
    kCodeMetric = 1u << 7,        // G21
    kCodeWork = 1u << 8,          // G54..G59 (ModalState::workSelect)
    kCodeWorkExtra = 1u << 9,     // G54.1
    kCodeRotate = 1u << 10,       // G68
    kCodeRotateOff = 1u << 11,    // G69
    kCodeScale = 1u << 12,        // G51
    kCodeScaleOff = 1u << 13,     // G50
    kCodeMirror = 1u << 14,       // G51.1
    kCodeMirrorOff = 1u << 15,    // G50.1
    kCodePolar = 1u << 16,        // G16
    kCodePolarOff = 1u << 17,     // G15
    kCodeCompLeft = 1u << 18,     // G41
    kCodeCompRight = 1u << 19,    // G42
    kCodeCompOff = 1u << 20,      // G40
    kCodeLengthPlus = 1u << 21,   // G43
    kCodeLengthMinus = 1u << 22,  // G44
    kCodeLengthOff = 1u << 23,    // G49
};

struct ModalState {
    // Cleared before each ordinary block.
    double X = 0, Y = 0, Z = 0;
    bool hasX = false, hasY = false, hasZ = false;  // the word occurs in the block
    double I = 0, J = 0, K = 0;
    double R = 0;
    bool hasI = false, hasJ = false, hasK = false, hasR = false, hasP = false, hasL = false;
    double PReal = 0;     // the P word as a coordinate (thousandths without a decimal point)
    double abcqWord = 0;  // shared by A, B, C and Q; the last of them in the block wins
    double U = 0, V = 0, W = 0;
    double OneShotG = 0;  // G22, G23, G65, G66, G67, 66.1
    int32_t M = -1;
    uint32_t coordinateCodes = 0;  // CoordinateCode bits of the block's G words
    int32_t workSelect = 0;        // 54..59 with kCodeWork
    int32_t blockMotion = -1;      // set by the coordinate stage: this block's motion mode

    // Kept from block to block until a reset.
    int32_t D = 0, L = 0, H = 0, T = 0, P = 0;
    int32_t O = 0;  // also the $ word
    int32_t N = 0, S = 0, E = 0, F = 0;
    int32_t MotionMode = 0;       // G00..G03
    int32_t DistanceMode = 90;    // G90, G91
    int32_t ReferenceReturn = 0;  // G28, G30; only a reset clears it
    int32_t CannedCycle = 80;     // G71..G89; G80 cancels
    int32_t Plane = 17;           // G17, G18, G19

    void ClearBlockFields() {
        X = Y = Z = 0;
        hasX = hasY = hasZ = false;
        I = J = K = R = abcqWord = U = V = W = 0;
        hasI = hasJ = hasK = hasR = hasP = hasL = false;
        PReal = 0;
        OneShotG = 0;
        M = -1;
        coordinateCodes = 0;
        workSelect = 0;
        blockMotion = -1;
    }
};

}  // namespace cuttrace
