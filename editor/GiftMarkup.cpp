#include "GiftMarkup.h"

#include "Cp1250.h"
#include "HtmlEntities.h"
#include "Text.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

namespace kwizmar {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAsciiPunct(char c) {
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// ---- HTML ----

struct TTag {
    std::size_t length = 0; // from "<" to ">" inclusive
    std::string name;       // in lower case; empty for <!…> and <?…>
    bool end = false;       // </name>
};

// The tag `s` starts with, if it starts with one: "<" and a letter, "</"
// and a letter, "<!" or "<?", up to the ">" that no quoted attribute value
// holds.
std::optional<TTag> ReadTag(std::string_view s) {
    TTag tag;
    std::size_t i = 1;
    if (s.size() < 3 || s[0] != '<')
        return std::nullopt;
    if (s[1] == '!' || s[1] == '?') {
        const std::size_t close = s.find('>', 2);
        if (close == std::string_view::npos)
            return std::nullopt;
        tag.length = close + 1;
        return tag;
    }
    if (s[1] == '/') {
        tag.end = true;
        ++i;
    }
    if (i >= s.size() || !IsAsciiLetter(s[i]))
        return std::nullopt;
    for (; i < s.size() && !IsSpace(s[i]) && s[i] != '/' && s[i] != '>'; ++i)
        tag.name += static_cast<char>(s[i] >= 'A' && s[i] <= 'Z' ? s[i] - 'A' + 'a' : s[i]);
    for (; i < s.size(); ++i) {
        if (s[i] == '>') {
            tag.length = i + 1;
            return tag;
        }
        if (s[i] == '=') {
            std::size_t v = i + 1;
            while (v < s.size() && IsSpace(s[v]))
                ++v;
            if (v < s.size() && (s[v] == '"' || s[v] == '\'')) {
                const std::size_t close = s.find(s[v], v + 1);
                if (close == std::string_view::npos)
                    return std::nullopt;
                i = close;
            }
        }
    }
    return std::nullopt;
}

struct TRefusedElement {
    std::string_view name;
    const char* what;
};

constexpr TRefusedElement kRefusedElements[] = {
    {"img", "obraz (<img>)"},
    {"picture", "obraz (<picture>)"},
    {"svg", "rysunek (<svg>)"},
    {"canvas", "rysunek (<canvas>)"},
    {"table", "tabelę (<table>)"},
    {"video", "film (<video>)"},
    {"audio", "nagranie dźwiękowe (<audio>)"},
    {"iframe", "osadzoną stronę (<iframe>)"},
    {"object", "osadzony obiekt (<object>)"},
    {"embed", "osadzony obiekt (<embed>)"},
    {"applet", "osadzony program (<applet>)"},
    {"math", "wzór w MathML (<math>)"},
    {"input", "pole formularza (<input>)"},
    {"select", "pole formularza (<select>)"},
    {"textarea", "pole formularza (<textarea>)"},
};

// Elements that stand apart from the words around them.
constexpr std::string_view kBlocks[] = {
    "address", "article", "aside", "blockquote", "br",       "center",     "dd",     "details",
    "dialog",  "div",     "dl",    "dt",         "fieldset", "figcaption", "figure", "footer",
    "form",    "h1",      "h2",    "h3",         "h4",       "h5",         "h6",     "header",
    "hr",      "li",      "main",  "nav",        "ol",       "p",          "pre",    "section",
    "summary", "td",      "th",    "tr",         "ul"};

// Elements whose content is no text of the question.
constexpr std::string_view kDropped[] = {"script", "style", "template", "title", "head"};

template <class Range> bool Holds(const Range& names, std::string_view name) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// "2", "23", "n": as it is; anything longer in brackets.
std::string Superscript(std::string_view inner) {
    inner = Trim(inner);
    if (inner.empty())
        return {};
    const bool bare =
        std::all_of(inner.begin(), inner.end(), IsAsciiDigit) || CodePointCount(inner) == 1;
    std::string out(1, '^');
    if (!bare)
        out += '(';
    out.append(inner);
    if (!bare)
        out += ')';
    return out;
}

// The text of the HTML with its tags and references read, not yet collapsed.
TPlainText ReadHtml(std::string_view html) {
    TPlainText result;
    std::string& out = result.text;
    std::vector<std::size_t> superscripts; // where each open <sup> started in `out`
    for (std::size_t i = 0; i < html.size();) {
        const std::string_view rest = html.substr(i);
        if (rest.starts_with("<!--")) {
            const std::size_t close = html.find("-->", i + 4);
            i = close == std::string_view::npos ? html.size() : close + 3;
            continue;
        }
        if (const auto tag = ReadTag(rest)) {
            i += tag->length;
            for (const TRefusedElement& element : kRefusedElements)
                if (element.name == tag->name) {
                    result.refused = element.what;
                    return result;
                }
            if (Holds(kBlocks, tag->name)) {
                out += ' ';
            } else if (!tag->end && Holds(kDropped, tag->name)) {
                const std::string close = "</" + tag->name;
                std::size_t at = i;
                while (at < html.size() &&
                       !SameTextIgnoringCase(html.substr(at, close.size()), close))
                    ++at;
                const std::size_t end = html.find('>', at);
                i = end == std::string_view::npos ? html.size() : end + 1;
            } else if (tag->name == "sup") {
                if (!tag->end) {
                    superscripts.push_back(out.size());
                } else if (!superscripts.empty()) {
                    const std::string inner = out.substr(superscripts.back());
                    out.resize(superscripts.back());
                    superscripts.pop_back();
                    out += Superscript(inner);
                }
            }
            continue;
        }
        if (const std::size_t length = ReadCharacterReference(rest, out)) {
            i += length;
            continue;
        }
        out += html[i++];
    }
    return result;
}

// Whitespace as one space, none at the ends, the invisible characters gone.
std::string Collapsed(std::string_view text) {
    std::string out;
    bool gap = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        char32_t cp = 0;
        if (!NextCodePoint(text, pos, cp))
            cp = static_cast<unsigned char>(text[pos++]);
        const bool space = cp < 0x20 || cp == 0x7F || cp == 0xA0 ||
                           (cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F || cp == 0x205F ||
                           cp == 0x3000 || cp == ' ';
        const bool invisible =
            cp == 0xAD || (cp >= 0x200B && cp <= 0x200F) || cp == 0x2060 || cp == 0xFEFF;
        if (space) {
            gap = !out.empty();
            continue;
        }
        if (invisible)
            continue;
        if (gap)
            out += ' ';
        gap = false;
        out.append(text.substr(start, pos - start));
    }
    return out;
}

// ---- Markdown ----

// A piece of a line: text, or a run of emphasis marks.
struct TPiece {
    std::string text;
    char mark = 0;         // '*' or '_' for a run of them
    std::size_t marks = 0; // of the run, those not paired yet
    bool canOpen = false, canClose = false;
};

// Text that HTML would read otherwise than as it stands.
std::string LiteralForHtml(std::string_view text) {
    std::string out;
    for (const char c : text)
        out += c == '<' ? "&lt;" : c == '&' ? "&amp;" : std::string(1, c);
    return out;
}

// The line without its heading, quote or bullet marks.
std::string_view WithoutBlockMarks(std::string_view line) {
    for (;;) {
        line = TrimLeft(line);
        if (line.starts_with('>')) {
            line.remove_prefix(1);
            continue;
        }
        if (line.size() >= 2 && (line[0] == '-' || line[0] == '+' || line[0] == '*') &&
            IsSpace(line[1])) {
            line.remove_prefix(2);
            continue;
        }
        std::size_t hashes = 0;
        while (hashes < line.size() && line[hashes] == '#')
            ++hashes;
        if (hashes >= 1 && hashes <= 6 && (hashes == line.size() || IsSpace(line[hashes]))) {
            // "## Title ##": the closing hashes stand apart ("# C#" keeps its own).
            line = Trim(line.substr(hashes));
            const std::size_t last = line.find_last_not_of('#');
            if (last == std::string_view::npos)
                return {};
            if (last + 1 < line.size() && IsSpace(line[last]))
                line = TrimRight(line.substr(0, last + 1));
        }
        return line;
    }
}

// "---", "***", "___" alone, a thematic break or a heading's underline; and
// "| --- | :-: |", the row under a table's head.
bool IsRule(std::string_view line, bool& table) {
    line = Trim(line);
    table = line.find('|') != std::string_view::npos && line.find("---") != std::string_view::npos;
    if (table)
        return line.find_first_not_of("|-: \t") == std::string_view::npos;
    return line.size() >= 3 &&
           line.find_first_not_of(std::string(1, line[0]) + " \t") == std::string_view::npos &&
           (line[0] == '-' || line[0] == '*' || line[0] == '_' || line[0] == '=');
}

// The pieces of a line's inline Markdown; `refused` names an image.
std::vector<TPiece> ReadInline(std::string_view line, std::string& refused) {
    std::vector<TPiece> pieces(1);
    auto text = [&](std::string_view t) {
        if (pieces.back().mark)
            pieces.emplace_back();
        pieces.back().text += t;
    };
    std::size_t linkText = std::string_view::npos, linkEnd = 0; // "]" of a link, its ")"
    for (std::size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (linkText != std::string_view::npos && i >= linkText) {
            i = std::max(i, linkEnd + 1);
            linkText = std::string_view::npos;
        } else if (c == '\\' && i + 1 < line.size() && IsAsciiPunct(line[i + 1])) {
            text(LiteralForHtml(line.substr(i + 1, 1)));
            i += 2;
        } else if (c == '`') {
            const std::size_t ticks = line.find_first_not_of('`', i) == std::string_view::npos
                                          ? line.size() - i
                                          : line.find_first_not_of('`', i) - i;
            const std::string fence(ticks, '`');
            const std::size_t close = line.find(fence, i + ticks);
            if (close == std::string_view::npos) {
                text(fence);
                i += ticks;
            } else {
                text(LiteralForHtml(Trim(line.substr(i + ticks, close - i - ticks), " ")));
                i = close + ticks;
            }
        } else if (c == '[' || (c == '!' && i + 1 < line.size() && line[i + 1] == '[')) {
            const std::size_t open = c == '!' ? i + 1 : i;
            const std::size_t close = line.find("](", open);
            const std::size_t end =
                close == std::string_view::npos ? close : line.find(')', close + 2);
            if (end != std::string_view::npos && c == '!') {
                refused = "obraz (![…](…))";
                return pieces;
            }
            if (end != std::string_view::npos && linkText == std::string_view::npos) {
                linkText = close;
                linkEnd = end;
                ++i;
            } else {
                text(line.substr(i, 1));
                ++i;
            }
        } else if (c == '<') {
            const std::size_t close = line.find('>', i);
            const std::string_view inside =
                close == std::string_view::npos ? "" : line.substr(i + 1, close - i - 1);
            if (!inside.empty() && inside.find_first_of(" \t") == std::string_view::npos &&
                (inside.find("://") != std::string_view::npos || inside.starts_with("mailto:"))) {
                text(LiteralForHtml(inside)); // an address written as a link
                i = close + 1;
            } else if (const auto tag = ReadTag(line.substr(i))) {
                text(line.substr(i, tag->length));
                i += tag->length;
            } else {
                text("<");
                ++i;
            }
        } else if (c == '*' || c == '_') {
            std::size_t end = i;
            while (end < line.size() && line[end] == c)
                ++end;
            const char before = i == 0 ? ' ' : line[i - 1];
            const char after = end == line.size() ? ' ' : line[end];
            const bool left = !IsSpace(after) &&
                              (!IsAsciiPunct(after) || IsSpace(before) || IsAsciiPunct(before));
            const bool right = !IsSpace(before) &&
                               (!IsAsciiPunct(before) || IsSpace(after) || IsAsciiPunct(after));
            TPiece run;
            run.mark = c;
            run.marks = end - i;
            run.canOpen = c == '*' ? left : left && (!right || IsAsciiPunct(before));
            run.canClose = c == '*' ? right : right && (!left || IsAsciiPunct(after));
            pieces.push_back(std::move(run));
            i = end;
        } else {
            text(line.substr(i, 1));
            ++i;
        }
    }
    return pieces;
}

// The pieces with their paired emphasis marks left out: a closing run pairs
// with the nearest open runs of the same mark before it, two marks at a time
// while both have two ("**"), else one ("*"); runs between them stay as
// they are written.
std::string WithoutEmphasis(std::vector<TPiece>& pieces) {
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        TPiece& run = pieces[i];
        if (!run.mark)
            continue;
        while (run.canClose && run.marks > 0) {
            const auto opener = std::find_if(open.rbegin(), open.rend(), [&](std::size_t k) {
                return pieces[k].mark == run.mark;
            });
            if (opener == open.rend())
                break;
            TPiece& start = pieces[*opener];
            const std::size_t paired = start.marks >= 2 && run.marks >= 2 ? 2 : 1;
            start.marks -= paired;
            run.marks -= paired;
            open.erase(start.marks == 0 ? std::prev(opener.base()) : opener.base(), open.end());
        }
        if (run.canOpen && run.marks > 0)
            open.push_back(i);
    }
    std::string out;
    for (const TPiece& piece : pieces)
        out += piece.mark ? std::string(piece.marks, piece.mark) : piece.text;
    return out;
}

// The Markdown as HTML for ReadHtml, or what it holds that a test can't show.
TPlainText ReadMarkdown(std::string_view markdown) {
    TPlainText result;
    for (std::string_view line : SplitLines(markdown)) {
        bool table = false;
        if (IsRule(line, table)) {
            if (table) {
                result.refused = "tabelę (| --- |)";
                return result;
            }
            continue;
        }
        std::vector<TPiece> pieces = ReadInline(WithoutBlockMarks(line), result.refused);
        if (!result.refused.empty())
            return result;
        result.text += WithoutEmphasis(pieces) + '\n';
    }
    return result;
}

} // namespace

TPlainText ToPlainText(std::string_view text, TTextFormat format) {
    if (format == TTextFormat::Plain)
        return {std::string(text), {}};
    std::string html;
    if (format == TTextFormat::Markdown) {
        TPlainText read = ReadMarkdown(text);
        if (!read.refused.empty())
            return {{}, std::move(read.refused)};
        html = std::move(read.text);
        text = html;
    }
    TPlainText read = ReadHtml(text);
    if (!read.refused.empty())
        return {{}, std::move(read.refused)};
    return {Collapsed(read.text), {}};
}

} // namespace kwizmar
