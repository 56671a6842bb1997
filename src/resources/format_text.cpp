#include "resources/format_text.h"

#include <cassert>
#include <cstdio>
#include <cstring>
#include <vector>

namespace strings {
namespace {

// One directive of a format: the bytes from its '%' up to the conversion.
struct Directive {
    std::size_t start = 0;
    std::size_t end = 0;    // one past the conversion character
    char conversion = 0;    // d i u x X s, or % for "%%"
    std::string_view spec;  // flags, width and precision, without length modifiers
};

constexpr std::string_view kFlagsAndWidth = "-+ #0123456789.";

// The directives of `format` in order; a '%' that starts no known
// directive is an unknown one (conversion 0) running to the end.
std::vector<Directive> Directives(std::string_view format)
{
    std::vector<Directive> found;
    for (std::size_t i = format.find('%'); i != std::string_view::npos; i = format.find('%', i)) {
        Directive directive;
        directive.start = i;
        std::size_t at = i + 1;
        while (at < format.size() && kFlagsAndWidth.find(format[at]) != std::string_view::npos) ++at;
        directive.spec = format.substr(i + 1, at - i - 1);
        while (at < format.size() && format[at] == 'l') ++at;
        const char conversion = at < format.size() ? format[at] : 0;
        directive.conversion = std::strchr("diuxXs%", conversion) && conversion ? conversion : 0;
        directive.end = directive.conversion ? at + 1 : format.size();
        found.push_back(directive);
        i = directive.end;
    }
    return found;
}

bool TakesText(char conversion) { return conversion == 's'; }
bool TakesNumber(char conversion) { return conversion && !TakesText(conversion) && conversion != '%'; }

bool Fits(const Directive& directive, const FormatArgument& argument)
{
    const bool text = argument.ArgumentKind() == FormatArgument::Kind::kText;
    return TakesText(directive.conversion) ? text : TakesNumber(directive.conversion) && !text;
}

// One directive with its argument, through the C library with the widest
// type of its kind, so flags, width and precision mean what printf says.
void Append(std::string& out, const Directive& directive, const FormatArgument& argument)
{
    std::string spec = "%" + std::string(directive.spec);
    char buffer[128];
    int size = 0;
    if (TakesText(directive.conversion)) {
        const std::string text(argument.Text());
        spec += 's';
        size = std::snprintf(nullptr, 0, spec.c_str(), text.c_str());
        std::string piece(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
        if (size > 0) std::snprintf(piece.data(), piece.size() + 1, spec.c_str(), text.c_str());
        out += piece;
        return;
    }
    spec += "ll";
    spec += directive.conversion;
    if (directive.conversion == 'd' || directive.conversion == 'i')
        size = std::snprintf(buffer, sizeof buffer, spec.c_str(), argument.Signed());
    else
        size = std::snprintf(buffer, sizeof buffer, spec.c_str(), argument.Unsigned());
    if (size > 0) out.append(buffer, std::min(static_cast<std::size_t>(size), sizeof buffer - 1));
}

} // namespace

std::optional<std::string> FormatFault(std::string_view format, std::initializer_list<FormatArgument> arguments)
{
    std::size_t used = 0;
    for (const Directive& directive : Directives(format)) {
        if (directive.conversion == '%') continue;
        if (!directive.conversion) return "an unknown directive at byte " + std::to_string(directive.start);
        if (used == arguments.size()) return "too few arguments";
        if (!Fits(directive, arguments.begin()[used]))
            return "argument " + std::to_string(used + 1) + " does not fit its directive";
        ++used;
    }
    if (used != arguments.size()) return "too many arguments";
    return std::nullopt;
}

std::string FormatWith(std::string_view format, std::initializer_list<FormatArgument> arguments)
{
    assert(!FormatFault(format, arguments) && "the arguments do not fit the directives of the text");
    std::string out;
    std::size_t copied = 0, used = 0;
    for (const Directive& directive : Directives(format)) {
        out.append(format.substr(copied, directive.start - copied));
        copied = directive.end;
        if (directive.conversion == '%') {
            out += '%';
        } else if (used < arguments.size() && Fits(directive, arguments.begin()[used])) {
            Append(out, directive, arguments.begin()[used++]);
        } else {
            out += "%?";
            if (directive.conversion && used < arguments.size()) ++used;
        }
    }
    out.append(format.substr(copied));
    return out;
}

} // namespace strings
