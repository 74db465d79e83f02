#include "core/BlockWords.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "machines/NumberText.h"

namespace cuttrace {

namespace {

// A coordinate without a decimal point is in thousandths of a unit (X1000 is X1.).
double RealValue(std::string_view text) {
    double value = ParseDouble(text);
    return text.find('.') == std::string_view::npos ? value * 0.001 : value;
}

// The coordinate-stage bit of a whole G code (0: not one of them).
uint32_t CoordinateCodeOf(int g) {
    switch (g) {
        case 4:
            return kCodeDwell;
        case 10:
            return kCodeSetData;
        case 15:
            return kCodePolarOff;
        case 16:
            return kCodePolar;
        case 20:
            return kCodeInch;
        case 21:
            return kCodeMetric;
        case 31:
            return kCodeSkip;
        case 40:
            return kCodeCompOff;
        case 41:
            return kCodeCompLeft;
        case 42:
            return kCodeCompRight;
        case 43:
            return kCodeLengthPlus;
        case 44:
            return kCodeLengthMinus;
        case 49:
            return kCodeLengthOff;
        case 50:
            return kCodeScaleOff;
        case 51:
            return kCodeScale;
        case 52:
            return kCodeLocal;
        case 53:
            return kCodeMachine;
        case 68:
            return kCodeRotate;
        case 69:
            return kCodeRotateOff;
        case 92:
            return kCodeSetPosition;
        default:
            return 0;
    }
}

void ApplyG(std::string_view text, ModalState& modal) {
    double value = ParseDouble(text);
    if (text.find('.') != std::string_view::npos) {
        // The G codes with a fraction; others written with a point (G1.0) are ignored.
        if (value == 66.1) modal.OneShotG = 66.1;
        if (value == 54.1) modal.coordinateCodes |= kCodeWorkExtra;
        if (value == 51.1) modal.coordinateCodes |= kCodeMirror;
        if (value == 50.1) modal.coordinateCodes |= kCodeMirrorOff;
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
        case 54:
        case 55:
        case 56:
        case 57:
        case 58:
        case 59:
            modal.coordinateCodes |= kCodeWork;
            modal.workSelect = g;
            break;
        default:
            if (const uint32_t code = CoordinateCodeOf(g); code != 0) {
                modal.coordinateCodes |= code;
                break;
            }
            if (g > 70 && g < 90) modal.CannedCycle = g;
            break;
    }
}

// What each address letter writes: a coordinate (thousandths without a decimal point), a
// whole number, or the G code.
enum class AddressKind : uint8_t { None, G, Real, Integer };

struct AddressField {
    AddressKind kind = AddressKind::None;
    double ModalState::*real = nullptr;
    int32_t ModalState::*integer = nullptr;
    bool ModalState::*given = nullptr;  // set when the word occurs (X, Y, Z, I, J, K, R)
};

constexpr std::array<AddressField, 256> MakeAddressFields() {
    std::array<AddressField, 256> table{};
    auto real = [&](char letter, double ModalState::*field, bool ModalState::*given = nullptr) {
        table[static_cast<unsigned char>(letter)] = {AddressKind::Real, field, nullptr, given};
    };
    auto integer = [&](char letter, int32_t ModalState::*field) {
        table[static_cast<unsigned char>(letter)] = {AddressKind::Integer, nullptr, field, nullptr};
    };
    table['G'] = {AddressKind::G, nullptr, nullptr, nullptr};
    real('X', &ModalState::X, &ModalState::hasX);
    real('Y', &ModalState::Y, &ModalState::hasY);
    real('Z', &ModalState::Z, &ModalState::hasZ);
    real('I', &ModalState::I, &ModalState::hasI);
    real('J', &ModalState::J, &ModalState::hasJ);
    real('K', &ModalState::K, &ModalState::hasK);
    real('R', &ModalState::R, &ModalState::hasR);
    real('A', &ModalState::abcqWord);  // one field for A, B, C and Q: the last one wins
    real('B', &ModalState::abcqWord);
    real('C', &ModalState::abcqWord);
    real('Q', &ModalState::abcqWord);
    real('U', &ModalState::U);
    real('V', &ModalState::V);
    real('W', &ModalState::W);
    integer('D', &ModalState::D);
    integer('E', &ModalState::E);
    integer('F', &ModalState::F);
    integer('H', &ModalState::H);
    integer('L', &ModalState::L);
    integer('M', &ModalState::M);
    integer('N', &ModalState::N);
    integer('O', &ModalState::O);
    integer('$', &ModalState::O);
    integer('P', &ModalState::P);
    integer('S', &ModalState::S);
    integer('T', &ModalState::T);
    return table;
}

constexpr std::array<AddressField, 256> kAddressFields = MakeAddressFields();

}  // namespace

void ApplyWords(const WordList& words, ModalState& modal) {
    modal.ClearBlockFields();
    for (const std::string& word : words) {
        if (word.empty()) break;
        std::string_view text(word);
        text.remove_prefix(1);
        const AddressField& field = kAddressFields[static_cast<unsigned char>(word[0])];
        switch (field.kind) {
            case AddressKind::G:
                ApplyG(text, modal);
                break;
            case AddressKind::Real:
                modal.*field.real = RealValue(text);
                if (field.given) modal.*field.given = true;
                break;
            case AddressKind::Integer:
                modal.*field.integer = ParseInt(text);
                if (word[0] == 'P') {  // also a dwell time or a scale factor
                    modal.hasP = true;
                    modal.PReal = RealValue(text);
                }
                if (word[0] == 'L') modal.hasL = true;
                break;
            case AddressKind::None:
                break;
        }
    }
}

}  // namespace cuttrace
