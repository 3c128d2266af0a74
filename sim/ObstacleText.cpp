#include "sim/ObstacleText.h"

#include <cctype>
#include <charconv>
#include <cstdint>

#include "platform/text/AsciiCase.h"
#include "sim/ObstacleLimits.h"

namespace {
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string_view> Tokens(std::string_view line)
{
    std::vector<std::string_view> tokens;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsSpace(line[at]))
            ++at;
        const size_t start = at;
        while (at < line.size() && !IsSpace(line[at]))
            ++at;
        if (at > start)
            tokens.push_back(line.substr(start, at - start));
    }
    return tokens;
}

// A token as a message shows it: a file's bytes reach a terminal or a
// message box only as visible text (no control sequences), and a token of
// any length only as its beginning.
std::string Shown(std::string_view token)
{
    constexpr size_t kMaxShown = 40;
    static const char kHex[] = "0123456789abcdef";
    std::string shown;
    for (size_t i = 0; i < token.size() && i < kMaxShown; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7f) {
            shown += static_cast<char>(c);
        } else {
            shown += "\\x";
            shown += kHex[c >> 4];
            shown += kHex[c & 15];
        }
    }
    if (token.size() > kMaxShown)
        shown += "...";
    return shown;
}

// A whole decimal integer, or an explanation; values too large for 64 bits
// are out of range like any other.
bool ParseField(std::string_view token, const char* what, bool extent, int32_t& value, std::string& why)
{
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    if (ec == std::errc::result_out_of_range && end == token.data() + token.size()) {
        v = token[0] == '-' ? INT64_MIN : INT64_MAX;
    } else if (ec != std::errc() || end != token.data() + token.size()) {
        why = std::string(what) + " \"" + Shown(token) + "\" is not a whole number";
        return false;
    }
    const bool inRange = extent ? IsObstacleExtent(v) : IsObstacleCoordinate(v);
    if (!inRange) {
        const int32_t low = extent ? 1 : -kMaxObstacleCoordinate;
        const int32_t high = extent ? kMaxObstacleExtent : kMaxObstacleCoordinate;
        why = std::string(what) + " " + Shown(token) + " is out of range " + std::to_string(low) + " to " +
              std::to_string(high);
        return false;
    }
    value = static_cast<int32_t>(v);
    return true;
}

bool ParseLine(const std::vector<std::string_view>& tokens, Obstacle& o, std::string& why)
{
    if (EqualNoCase(tokens[0], "rect")) {
        o.isEllipse = 0;
    } else if (EqualNoCase(tokens[0], "ellipse")) {
        o.isEllipse = 1;
    } else {
        why = "unknown shape \"" + Shown(tokens[0]) + "\" (expected rect or ellipse)";
        return false;
    }
    if (tokens.size() != 5) {
        why = "expected \"" + std::string(tokens[0]) + " x y width height\"";
        return false;
    }
    return ParseField(tokens[1], "x", false, o.x, why) && ParseField(tokens[2], "y", false, o.y, why) &&
           ParseField(tokens[3], "width", true, o.width, why) && ParseField(tokens[4], "height", true, o.height, why);
}
}  // namespace

bool ParseObstacleText(std::string_view text, std::vector<Obstacle>& obstacles, ObstacleTextError* error)
{
    std::vector<Obstacle> read;
    int number = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (const size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        const std::vector<std::string_view> tokens = Tokens(line);
        if (tokens.empty())
            continue;
        std::string why;
        Obstacle o{};
        if (read.size() == kMaxObstaclesInFile)
            why = "more than " + std::to_string(kMaxObstaclesInFile) + " obstacles";
        else
            ParseLine(tokens, o, why);
        if (!why.empty()) {
            if (error)
                *error = {number, why};
            return false;
        }
        read.push_back(o);
    }
    obstacles.insert(obstacles.end(), read.begin(), read.end());
    return true;
}

std::string FormatObstacleText(const std::vector<Obstacle>& obstacles)
{
    std::string text =
        "# obstacles, one a line: rect|ellipse x y width height (cells; x, y: lower-left cell, row 0 at the bottom)\n";
    for (const Obstacle& o : obstacles) {
        text += o.isEllipse != 0 ? "ellipse " : "rect ";
        text += std::to_string(o.x) + " " + std::to_string(o.y) + " " + std::to_string(o.width) + " " +
                std::to_string(o.height) + "\n";
    }
    return text;
}
