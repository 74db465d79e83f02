// The modal G-code state and the words of the current block.
#pragma once

#include <cstdint>

namespace cuttrace {

struct ModalState {
    // Cleared before each ordinary block.
    double X = 0, Y = 0, Z = 0;
    bool hasX = false, hasY = false, hasZ = false;  // the word occurs in the block
    double I = 0, J = 0, K = 0;
    double R = 0;
    double abcqWord = 0;  // shared by A, B, C and Q; the last of them in the block wins
    double U = 0, V = 0, W = 0;
    double OneShotG = 0;  // G22, G23, G65, G66, G67, 66.1
    int32_t M = -1;

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
        OneShotG = 0;
        M = -1;
    }
};

}  // namespace cuttrace
