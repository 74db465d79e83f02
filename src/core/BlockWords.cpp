#include "core/BlockWords.h"

#include <string_view>

#include "machines/NumberText.h"

namespace cuttrace {

namespace {

// A coordinate without a decimal point is in thousandths of a unit (X1000 is X1.).
double RealValue(std::string_view text) {
    double value = ParseDouble(text);
    return text.find('.') == std::string_view::npos ? value * 0.001 : value;
}

void ApplyG(std::string_view text, ModalState& modal) {
    double value = ParseDouble(text);
    if (text.find('.') != std::string_view::npos) {
        if (value == 66.1) modal.OneShotG = 66.1;  // the only G with a fraction we know
        return;
    }
    if (!(value > -1e9 && value < 1e9)) return;
    int g = static_cast<int>(value);
    switch (g) {
        case 0:
        case 1:
        case 2:
        case 3:
            modal.MotionMode = g;
            break;
        case 17:
        case 18:
        case 19:
            modal.Plane = g;
            break;
        case 22:
        case 23:
        case 65:
        case 66:
        case 67:
            modal.OneShotG = g;
            break;
        case 28:
        case 30:
            modal.ReferenceReturn = g;
            break;
        case 90:
        case 91:
            modal.DistanceMode = g;
            break;
        default:
            if (g > 70 && g < 90) modal.CannedCycle = g;
            break;
    }
}

}  // namespace

void ApplyWords(const WordList& words, ModalState& modal) {
    modal.ClearBlockFields();
    for (const std::string& word : words) {
        if (word.empty()) break;
        std::string_view text(word);
        text.remove_prefix(1);
        switch (word[0]) {
            case 'G':
                ApplyG(text, modal);
                break;
            case 'X':
                modal.X = RealValue(text);
                modal.hasX = true;
                break;
            case 'Y':
                modal.Y = RealValue(text);
                modal.hasY = true;
                break;
            case 'Z':
                modal.Z = RealValue(text);
                modal.hasZ = true;
                break;
            case 'I':
                modal.I = RealValue(text);
                break;
            case 'J':
                modal.J = RealValue(text);
                break;
            case 'K':
                modal.K = RealValue(text);
                break;
            case 'R':
                modal.R = RealValue(text);
                break;
            case 'A':
            case 'B':
            case 'C':
            case 'Q':
                modal.abcqWord = RealValue(text);
                break;
            case 'U':
                modal.U = RealValue(text);
                break;
            case 'V':
                modal.V = RealValue(text);
                break;
            case 'W':
                modal.W = RealValue(text);
                break;
            case 'D':
                modal.D = ParseInt(text);
                break;
            case 'E':
                modal.E = ParseInt(text);
                break;
            case 'F':
                modal.F = ParseInt(text);
                break;
            case 'H':
                modal.H = ParseInt(text);
                break;
            case 'L':
                modal.L = ParseInt(text);
                break;
            case 'M':
                modal.M = ParseInt(text);
                break;
            case 'N':
                modal.N = ParseInt(text);
                break;
            case '$':
            case 'O':
                modal.O = ParseInt(text);
                break;
            case 'P':
                modal.P = ParseInt(text);
                break;
            case 'S':
                modal.S = ParseInt(text);
                break;
            case 'T':
                modal.T = ParseInt(text);
                break;
            default:
                break;
        }
    }
}

}  // namespace cuttrace
