#include "ui/ProgramText.h"

#include <QFile>
#include <QStringDecoder>

namespace cuttrace::ui {

namespace {

bool IsAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::string_view WithoutLineEnd(std::string_view bytes) {
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
        bytes.remove_suffix(1);
    return bytes;
}

QByteArray Bytes(std::string_view bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Decodes with the named converter; false when the converter is missing or the bytes
// are not valid for it.
bool TryDecode(const char* codec, std::string_view bytes, QString& out) {
    QStringDecoder decoder(codec, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) return false;
    out = decoder.decode(Bytes(bytes));
    return !decoder.hasError();
}

}  // namespace

QString DecodeProgramLine(std::string_view bytes) {
    bytes = WithoutLineEnd(bytes);
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString text;
    if (TryDecode("Shift_JIS", bytes, text)) return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString DecodeLogLine(std::string_view bytes) {
    bytes = WithoutLineEnd(bytes);
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString text;
    if (TryDecode("UTF-8", bytes, text)) return text;
    return DecodeProgramLine(bytes);
}

QString PathToQString(const std::string& path) {
    return QFile::decodeName(Bytes(path));
}

std::string PathFromQString(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace cuttrace::ui
