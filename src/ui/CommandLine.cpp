#include "ui/CommandLine.h"

#include <charconv>
#include <limits>

namespace cuttrace::ui {

namespace {

// A whole decimal integer (optional sign), nothing else.
bool ReadWholeNumber(const QString& text, int64_t& value) {
    const QByteArray bytes = text.toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    if (first != last && *first == '+') ++first;
    if (first == last) return false;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

CommandOption Numbered(CommandOption::Kind kind, const QString& text, int64_t low, int64_t high) {
    CommandOption option;
    int64_t value = 0;
    if (!ReadWholeNumber(text, value) || value < low || value > high) {
        option.kind = CommandOption::Kind::NotAnInteger;
        return option;
    }
    option.kind = kind;
    option.value = value;
    return option;
}

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

}  // namespace

CommandOption ReadCommandOption(const QString& argument) {
    using Kind = CommandOption::Kind;
    if (argument.isEmpty()) return {};
    const QChar first = argument.front();
    if (first >= u'0' && first <= u'9') return Numbered(Kind::Offset, argument, 0, kInt64Max);
    switch (first.toUpper().unicode()) {
        case u'D':
            return {Kind::DryRun, 0};
        case u'L':
            return Numbered(Kind::Line, argument.mid(1), kInt64Min, kInt64Max);
        case u'N':
            return Numbered(Kind::Sequence, argument.mid(1), kInt32Min, kInt32Max);
        case u'S':
            return {Kind::Start, 0};
        case u'Q':
            return {Kind::Quick, 0};
        default:
            return {};
    }
}

ViewerOptions TakeViewerOptions(QStringList& arguments) {
    ViewerOptions options;
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == QLatin1String("--grab")) {
            if (hasValue) options.grabPath = arguments[++i];
        } else if (argument == QLatin1String("--layout")) {
            if (hasValue) {
                bool ok = false;
                const int layout = arguments[++i].toInt(&ok);
                if (ok && layout >= 0 && layout <= 3) options.layout = layout;
            }
        } else {
            rest << argument;
        }
    }
    arguments = rest;
    return options;
}

}  // namespace cuttrace::ui
