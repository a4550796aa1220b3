#include "HtmlEntities.h"

#include "Cp1250.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace kwizmar {

namespace {

struct TEntity {
    std::string_view name;
    char32_t cp;
};

// In the byte order of the names, for the binary search.
constexpr TEntity kEntities[] = {
    {"AElig", 0xC6},    {"Aacute", 0xC1},   {"Abreve", 0x102},   {"Acirc", 0xC2},
    {"Agrave", 0xC0},   {"Alpha", 0x391},   {"Amacr", 0x100},    {"Aogon", 0x104},
    {"Aring", 0xC5},    {"Atilde", 0xC3},   {"Auml", 0xC4},      {"Beta", 0x392},
    {"Cacute", 0x106},  {"Ccaron", 0x10C},  {"Ccedil", 0xC7},    {"Ccirc", 0x108},
    {"Cdot", 0x10A},    {"Chi", 0x3A7},     {"Dagger", 0x2021},  {"Dcaron", 0x10E},
    {"Delta", 0x394},   {"Dstrok", 0x110},  {"ENG", 0x14A},      {"ETH", 0xD0},
    {"Eacute", 0xC9},   {"Ecaron", 0x11A},  {"Ecirc", 0xCA},     {"Edot", 0x116},
    {"Egrave", 0xC8},   {"Emacr", 0x112},   {"Eogon", 0x118},    {"Epsilon", 0x395},
    {"Eta", 0x397},     {"Euml", 0xCB},     {"Gamma", 0x393},    {"Gbreve", 0x11E},
    {"Gcedil", 0x122},  {"Gcirc", 0x11C},   {"Gdot", 0x120},     {"Hcirc", 0x124},
    {"Hstrok", 0x126},  {"IJlig", 0x132},   {"Iacute", 0xCD},    {"Icirc", 0xCE},
    {"Idot", 0x130},    {"Igrave", 0xCC},   {"Imacr", 0x12A},    {"Iogon", 0x12E},
    {"Iota", 0x399},    {"Itilde", 0x128},  {"Iuml", 0xCF},      {"Jcirc", 0x134},
    {"Kappa", 0x39A},   {"Kcedil", 0x136},  {"Lacute", 0x139},   {"Lambda", 0x39B},
    {"Lcaron", 0x13D},  {"Lcedil", 0x13B},  {"Lmidot", 0x13F},   {"Lstrok", 0x141},
    {"Mu", 0x39C},      {"Nacute", 0x143},  {"Ncaron", 0x147},   {"Ncedil", 0x145},
    {"Ntilde", 0xD1},   {"Nu", 0x39D},      {"OElig", 0x152},    {"Oacute", 0xD3},
    {"Ocirc", 0xD4},    {"Odblac", 0x150},  {"Ograve", 0xD2},    {"Omacr", 0x14C},
    {"Omega", 0x3A9},   {"Omicron", 0x39F}, {"Oslash", 0xD8},    {"Otilde", 0xD5},
    {"Ouml", 0xD6},     {"Phi", 0x3A6},     {"Pi", 0x3A0},       {"Prime", 0x2033},
    {"Psi", 0x3A8},     {"Racute", 0x154},  {"Rcaron", 0x158},   {"Rcedil", 0x156},
    {"Rho", 0x3A1},     {"Sacute", 0x15A},  {"Scaron", 0x160},   {"Scedil", 0x15E},
    {"Scirc", 0x15C},   {"Sigma", 0x3A3},   {"THORN", 0xDE},     {"Tau", 0x3A4},
    {"Tcaron", 0x164},  {"Tcedil", 0x162},  {"Theta", 0x398},    {"Tstrok", 0x166},
    {"Uacute", 0xDA},   {"Ubreve", 0x16C},  {"Ucirc", 0xDB},     {"Udblac", 0x170},
    {"Ugrave", 0xD9},   {"Umacr", 0x16A},   {"Uogon", 0x172},    {"Upsilon", 0x3A5},
    {"Uring", 0x16E},   {"Utilde", 0x168},  {"Uuml", 0xDC},      {"Wcirc", 0x174},
    {"Xi", 0x39E},      {"Yacute", 0xDD},   {"Ycirc", 0x176},    {"Yuml", 0x178},
    {"Zacute", 0x179},  {"Zcaron", 0x17D},  {"Zdot", 0x17B},     {"Zeta", 0x396},
    {"aacute", 0xE1},   {"abreve", 0x103},  {"acirc", 0xE2},     {"acute", 0xB4},
    {"aelig", 0xE6},    {"agrave", 0xE0},   {"alefsym", 0x2135}, {"alpha", 0x3B1},
    {"amacr", 0x101},   {"amp", 0x26},      {"and", 0x2227},     {"ang", 0x2220},
    {"aogon", 0x105},   {"apos", 0x27},     {"aring", 0xE5},     {"asymp", 0x2248},
    {"atilde", 0xE3},   {"auml", 0xE4},     {"bdquo", 0x201E},   {"beta", 0x3B2},
    {"brvbar", 0xA6},   {"bull", 0x2022},   {"cacute", 0x107},   {"cap", 0x2229},
    {"ccaron", 0x10D},  {"ccedil", 0xE7},   {"ccirc", 0x109},    {"cdot", 0x10B},
    {"cedil", 0xB8},    {"cent", 0xA2},     {"chi", 0x3C7},      {"circ", 0x2C6},
    {"clubs", 0x2663},  {"cong", 0x2245},   {"copy", 0xA9},      {"crarr", 0x21B5},
    {"cup", 0x222A},    {"curren", 0xA4},   {"dArr", 0x21D3},    {"dagger", 0x2020},
    {"darr", 0x2193},   {"dcaron", 0x10F},  {"deg", 0xB0},       {"delta", 0x3B4},
    {"diams", 0x2666},  {"divide", 0xF7},   {"dstrok", 0x111},   {"eacute", 0xE9},
    {"ecaron", 0x11B},  {"ecirc", 0xEA},    {"edot", 0x117},     {"egrave", 0xE8},
    {"emacr", 0x113},   {"empty", 0x2205},  {"emsp", 0x2003},    {"eng", 0x14B},
    {"ensp", 0x2002},   {"eogon", 0x119},   {"epsilon", 0x3B5},  {"equiv", 0x2261},
    {"eta", 0x3B7},     {"eth", 0xF0},      {"euml", 0xEB},      {"euro", 0x20AC},
    {"exist", 0x2203},  {"fnof", 0x192},    {"forall", 0x2200},  {"frac12", 0xBD},
    {"frac14", 0xBC},   {"frac34", 0xBE},   {"frasl", 0x2044},   {"gamma", 0x3B3},
    {"gbreve", 0x11F},  {"gcirc", 0x11D},   {"gdot", 0x121},     {"ge", 0x2265},
    {"gt", 0x3E},       {"hArr", 0x21D4},   {"harr", 0x2194},    {"hcirc", 0x125},
    {"hearts", 0x2665}, {"hellip", 0x2026}, {"hstrok", 0x127},   {"iacute", 0xED},
    {"icirc", 0xEE},    {"iexcl", 0xA1},    {"igrave", 0xEC},    {"ijlig", 0x133},
    {"imacr", 0x12B},   {"image", 0x2111},  {"imath", 0x131},    {"infin", 0x221E},
    {"inodot", 0x131},  {"int", 0x222B},    {"iogon", 0x12F},    {"iota", 0x3B9},
    {"iquest", 0xBF},   {"isin", 0x2208},   {"itilde", 0x129},   {"iuml", 0xEF},
    {"jcirc", 0x135},   {"kappa", 0x3BA},   {"kcedil", 0x137},   {"kgreen", 0x138},
    {"lArr", 0x21D0},   {"lacute", 0x13A},  {"lambda", 0x3BB},   {"lang", 0x2329},
    {"laquo", 0xAB},    {"larr", 0x2190},   {"lcaron", 0x13E},   {"lcedil", 0x13C},
    {"lceil", 0x2308},  {"ldquo", 0x201C},  {"le", 0x2264},      {"lfloor", 0x230A},
    {"lmidot", 0x140},  {"lowast", 0x2217}, {"loz", 0x25CA},     {"lrm", 0x200E},
    {"lsaquo", 0x2039}, {"lsquo", 0x2018},  {"lstrok", 0x142},   {"lt", 0x3C},
    {"macr", 0xAF},     {"mdash", 0x2014},  {"micro", 0xB5},     {"middot", 0xB7},
    {"minus", 0x2212},  {"mu", 0x3BC},      {"nabla", 0x2207},   {"nacute", 0x144},
    {"napos", 0x149},   {"nbsp", 0xA0},     {"ncaron", 0x148},   {"ncedil", 0x146},
    {"ndash", 0x2013},  {"ne", 0x2260},     {"ni", 0x220B},      {"not", 0xAC},
    {"notin", 0x2209},  {"nsub", 0x2284},   {"ntilde", 0xF1},    {"nu", 0x3BD},
    {"oacute", 0xF3},   {"ocirc", 0xF4},    {"odblac", 0x151},   {"oelig", 0x153},
    {"ograve", 0xF2},   {"oline", 0x203E},  {"omacr", 0x14D},    {"omega", 0x3C9},
    {"omicron", 0x3BF}, {"oplus", 0x2295},  {"or", 0x2228},      {"ordf", 0xAA},
    {"ordm", 0xBA},     {"oslash", 0xF8},   {"otilde", 0xF5},    {"otimes", 0x2297},
    {"ouml", 0xF6},     {"para", 0xB6},     {"part", 0x2202},    {"permil", 0x2030},
    {"perp", 0x22A5},   {"phi", 0x3C6},     {"pi", 0x3C0},       {"piv", 0x3D6},
    {"plusmn", 0xB1},   {"pound", 0xA3},    {"prime", 0x2032},   {"prod", 0x220F},
    {"prop", 0x221D},   {"psi", 0x3C8},     {"quot", 0x22},      {"rArr", 0x21D2},
    {"racute", 0x155},  {"radic", 0x221A},  {"rang", 0x232A},    {"raquo", 0xBB},
    {"rarr", 0x2192},   {"rcaron", 0x159},  {"rcedil", 0x157},   {"rceil", 0x2309},
    {"rdquo", 0x201D},  {"real", 0x211C},   {"reg", 0xAE},       {"rfloor", 0x230B},
    {"rho", 0x3C1},     {"rlm", 0x200F},    {"rsaquo", 0x203A},  {"rsquo", 0x2019},
    {"sacute", 0x15B},  {"sbquo", 0x201A},  {"scaron", 0x161},   {"scedil", 0x15F},
    {"scirc", 0x15D},   {"sdot", 0x22C5},   {"sect", 0xA7},      {"shy", 0xAD},
    {"sigma", 0x3C3},   {"sigmaf", 0x3C2},  {"sim", 0x223C},     {"spades", 0x2660},
    {"sub", 0x2282},    {"sube", 0x2286},   {"sum", 0x2211},     {"sup", 0x2283},
    {"sup1", 0xB9},     {"sup2", 0xB2},     {"sup3", 0xB3},      {"supe", 0x2287},
    {"szlig", 0xDF},    {"tau", 0x3C4},     {"tcaron", 0x165},   {"tcedil", 0x163},
    {"there4", 0x2234}, {"theta", 0x3B8},   {"thetasym", 0x3D1}, {"thinsp", 0x2009},
    {"thorn", 0xFE},    {"tilde", 0x2DC},   {"times", 0xD7},     {"trade", 0x2122},
    {"tstrok", 0x167},  {"uArr", 0x21D1},   {"uacute", 0xFA},    {"uarr", 0x2191},
    {"ubreve", 0x16D},  {"ucirc", 0xFB},    {"udblac", 0x171},   {"ugrave", 0xF9},
    {"umacr", 0x16B},   {"uml", 0xA8},      {"uogon", 0x173},    {"upsih", 0x3D2},
    {"upsilon", 0x3C5}, {"uring", 0x16F},   {"utilde", 0x169},   {"uuml", 0xFC},
    {"wcirc", 0x175},   {"weierp", 0x2118}, {"xi", 0x3BE},       {"yacute", 0xFD},
    {"ycirc", 0x177},   {"yen", 0xA5},      {"yuml", 0xFF},      {"zacute", 0x17A},
    {"zcaron", 0x17E},  {"zdot", 0x17C},    {"zeta", 0x3B6},     {"zwj", 0x200D},
    {"zwnj", 0x200C},
};

// 128 … 159 of a numeric reference, as Windows-1252 has them; 0 where it has
// nothing (the number stands for itself).
constexpr std::array<char32_t, 32> kWindows1252{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// "&#243;" or "&#xF3;": its length and code point, or 0.
std::size_t ReadNumber(std::string_view text, char32_t& cp) {
    std::size_t i = 2;
    int base = 10;
    if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    }
    const std::size_t digits = i;
    std::uint32_t value = 0;
    for (; i < text.size() && DigitValue(text[i], base) >= 0; ++i)
        value = std::min<std::uint32_t>(value * static_cast<std::uint32_t>(base) +
                                            static_cast<std::uint32_t>(DigitValue(text[i], base)),
                                        0x110000);
    if (i == digits || i >= text.size() || text[i] != ';')
        return 0;
    if (value == 0 || value >= 0x110000 || (value >= 0xD800 && value <= 0xDFFF))
        cp = kReplacement;
    else if (value >= 0x80 && value <= 0x9F && kWindows1252[value - 0x80] != 0)
        cp = kWindows1252[value - 0x80];
    else
        cp = value;
    return i + 1;
}

} // namespace

std::size_t ReadCharacterReference(std::string_view text, std::string& out) {
    if (text.size() < 3 || text[0] != '&')
        return 0;
    char32_t cp = 0;
    std::size_t length = 0;
    if (text[1] == '#') {
        length = ReadNumber(text, cp);
    } else {
        std::size_t end = 1;
        while (end < text.size() && IsAsciiAlnum(text[end]))
            ++end;
        if (end == 1 || end >= text.size() || text[end] != ';')
            return 0;
        const std::string_view name = text.substr(1, end - 1);
        const auto* found =
            std::lower_bound(std::begin(kEntities), std::end(kEntities), name,
                             [](const TEntity& e, std::string_view n) { return e.name < n; });
        if (found == std::end(kEntities) || found->name != name)
            return 0;
        cp = found->cp;
        length = end + 1;
    }
    if (length > 0)
        AppendUtf8(out, cp);
    return length;
}

} // namespace kwizmar
